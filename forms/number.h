#pragma once
#include <optional>
#include <string_view>

namespace tervalen::forms {

// Reads an input text as a decimal number: surrounding spaces are ignored; an optional
// leading "-" or "+", then digits with at most one "." and at least one digit. Anything
// else, or a value beyond the target precision's range, is not a number.
std::optional<float> toSingle(std::string_view text);
std::optional<double> toDouble(std::string_view text);

}  // namespace tervalen::forms
