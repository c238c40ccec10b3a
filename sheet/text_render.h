#pragma once
// The sheet as plain text, for the headless driver and the clipboard: tables in columns
// aligned by display width (a Chinese character takes two), a step of the working on one
// line as "Rx = formula = numbers = value unit".

#include <string>

#include "calc/common/working.h"
#include "sheet/document.h"

namespace tervalen::sheet {

std::string plainText(const Document& document);
// One step as plain text: "Rx = √(H×(2×Hr−H)) = √(20×(2×30−20)) = 28.28427 m".
std::string stepText(const Step& step);
// Columns a text takes in a monospaced terminal.
std::size_t displayWidth(const std::string& text);

}  // namespace tervalen::sheet
