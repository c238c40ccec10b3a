#pragma once
#include <string>

namespace tervalen::forms {

// The text a result box shows for a single-precision value: up to 7 significant digits
// (C's %.7G), trailing zeros dropped, exponent form "1.234568E+07" for large and small
// magnitudes, one leading space for values of 0 or more (negative zero shows as " 0").
// Independent of the process locale.
std::string formatResult(float value);

}  // namespace tervalen::forms
