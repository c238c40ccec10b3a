#include "forms/display.h"

#include <cmath>

#include "calc/common/working.h"

namespace tervalen::forms {

std::string formatResult(float value) {
    const double v = value;
    return (std::signbit(v) && v != 0 ? "" : " ") + shown(v);
}

}  // namespace tervalen::forms
