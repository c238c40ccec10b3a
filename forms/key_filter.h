#pragma once

namespace tervalen::forms {

// Per-character key filters of the input boxes, by character code.
enum class KeyFilter {
    None,        // every character reaches the box
    Numeric,     // backspace (8), "." (46) and the digits (48-57)
    DigitsOnly,  // backspace and the digits; "." is refused
};

constexpr bool passes(KeyFilter filter, char32_t code) {
    switch (filter) {
        case KeyFilter::None:
            return true;
        case KeyFilter::Numeric:
            return code == 8 || code == 46 || (code >= 48 && code <= 57);
        case KeyFilter::DigitsOnly:
            return code == 8 || (code >= 48 && code <= 57);
    }
    return false;
}

}  // namespace tervalen::forms
