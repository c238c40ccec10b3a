#pragma once
// The program's Song face, on the forms and on the calculation sheet: SimSun 10.5 pt,
// falling back to another Song face (AR PL UMing on Debian) where SimSun is missing.
// A translation unit of its own, so that the start-up yardstick can show the same face
// without linking the sheet.

#include <QFont>

namespace tervalen::sheet_qt {

QFont sheetFont();

}  // namespace tervalen::sheet_qt
