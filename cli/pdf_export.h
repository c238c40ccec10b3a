#pragma once
// The driver's PDF export, kept apart so that the driver builds without Qt too (then it
// says that it cannot write PDF).

#include <string>

#include "sheet/document.h"

// Writes the sheet as PDF without opening a window. Returns an empty text, or what went
// wrong (no file is left).
std::string writeSheetPdf(const std::string& path, const tervalen::sheet::Document& document);
