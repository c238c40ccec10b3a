#include "drawing/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tervalen::drawing {

std::string numberText(double value, int significant, double zero) {
    if (std::abs(value) <= zero) value = 0;
    std::array<char, 64> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                 std::chars_format::general, significant);
    return {buf.data(), r.ptr};
}

}  // namespace tervalen::drawing
