#pragma once
// The driver's PDF export, kept apart so that the driver builds without Qt too (then it
// says that it cannot write PDF).

#include <string>

#include "calc/common/result.h"
#include "sheet/document.h"

// Writes the sheet as PDF without opening a window; a failure says what went wrong (no
// file is left).
tervalen::Result<> writeSheetPdf(const std::string& path,
                                 const tervalen::sheet::Document& document);
