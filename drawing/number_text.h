#pragma once
// Numbers as the files the program writes carry them: C's "%.Ng" with a point for the
// decimal separator whatever locale the program runs in (a CAD program reading "0,5"
// from a DXF takes other geometry). std::to_chars never looks at the locale.

#include <string>

namespace tervalen::drawing {

// `significant` digits in the shortest of fixed and exponent form, as "%.*g" prints them
// in the "C" locale; values within `zero` of 0 as "0" (no "-0", no "1e-17" of rounding).
std::string numberText(double value, int significant, double zero = 0);

}  // namespace tervalen::drawing
