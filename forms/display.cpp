#include "forms/display.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tervalen::forms {

std::string formatResult(float value) {
    if (value == 0) value = 0;  // negative zero is shown as zero
    std::array<char, 48> buf{};
    // to_chars with the general format and a precision is printf's %.7g, without the locale.
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<double>(value),
                                   std::chars_format::general, 7);
    std::string digits(buf.data(), res.ptr);
    for (char& c : digits)
        if (c == 'e') c = 'E';
    return (std::signbit(value) ? "" : " ") + digits;
}

}  // namespace tervalen::forms
