#include "fuzz/display_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "forms/display.h"

namespace tervalen::fuzz {
namespace {

// The shape of the display format on its own: a space or "-", at most 7 significant
// digits, no trailing zeros after a point, and an exponent "E+dd" or "E-dd" (or longer).
bool hasDisplayShape(std::string_view text) {
    if (text.size() < 2 || (text[0] != ' ' && text[0] != '-')) return false;
    std::string_view mantissa = text.substr(1);
    if (const auto e = mantissa.find('E'); e != std::string_view::npos) {
        const std::string_view exponent = mantissa.substr(e + 1);
        mantissa = mantissa.substr(0, e);
        if (exponent.size() < 3 || (exponent[0] != '+' && exponent[0] != '-')) return false;
        for (char c : exponent.substr(1))
            if (c < '0' || c > '9') return false;
    }
    if (mantissa.empty() || mantissa.front() == '.') return false;
    if (mantissa.find('.') != std::string_view::npos &&
        (mantissa.back() == '0' || mantissa.back() == '.'))
        return false;
    int significant = 0;
    bool leadingZero = true;
    for (char c : mantissa) {
        if (c == '.') continue;
        if (c < '0' || c > '9') return false;
        leadingZero = leadingZero && c == '0';
        if (!leadingZero) ++significant;
    }
    return significant <= 7;
}

}  // namespace

bool mentionsNonFinite(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

bool isDisplayText(std::string_view text) {
    if (!hasDisplayShape(text) || mentionsNonFinite(text)) return false;
    // The text has at most 7 significant digits, so the value it came from is the float
    // nearest to it or one of that float's neighbours; one of them must print as the text.
    const std::string_view number = text[0] == ' ' ? text.substr(1) : text;
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return false;
    const float nearest = static_cast<float>(std::fmax(-FLT_MAX, std::fmin(FLT_MAX, value)));
    for (float candidate :
         {nearest, std::nextafter(nearest, INFINITY), std::nextafter(nearest, -INFINITY)})
        if (std::isfinite(candidate) && forms::formatResult(candidate) == text) return true;
    return false;
}

}  // namespace tervalen::fuzz
