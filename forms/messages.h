#pragma once
// The framework's own messages: an input that is not a number, an arithmetic step that
// cannot be carried out. Both are two-line messages shown with no icon.

#include <string>
#include <string_view>

#include "calc/common/arith.h"

namespace tervalen::forms {

std::string notANumberMessage(std::string_view symbol);
std::string arithmeticMessage(const ArithmeticFailure& failure);

}  // namespace tervalen::forms
