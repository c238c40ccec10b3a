#pragma once
#include <QFont>

namespace tervalen::view {

// The forms' font: SimSun 10.5 pt, falling back to another Song face where SimSun is missing.
QFont formFont();

}  // namespace tervalen::view
