#pragma once
// What a result box may show: exactly the display format of some finite single-precision
// value. Used by the fuzzer to check every result box after every step.

#include <string_view>

namespace tervalen::fuzz {

// True when `text` equals formatResult(x) for a finite float x.
bool isDisplayText(std::string_view text);
// True when the text holds "nan" or "inf" in any letter case.
bool mentionsNonFinite(std::string_view text);

}  // namespace tervalen::fuzz
