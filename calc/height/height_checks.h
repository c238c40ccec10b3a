#pragma once
// What the height calculators share besides the search: the checks of a required value
// against the sphere radius, the message of an exhausted search, and the lowest
// protection point between two rods.

#include <optional>
#include <string>
#include <string_view>

#include "calc/common/arith.h"
#include "calc/common/rolling_sphere.h"
#include "calc/common/working.h"

namespace tervalen {

// "输入的 Hx 数值过大！" / "Hx 的数值不应大于滚球半径 Hr ！" for the symbol given.
std::string exceedsSphereRadius(std::string_view symbol);

// The checks every height calculator begins with: Hx, then the required value, each
// against the sphere radius (equality passes).
std::optional<Refusal> checkAgainstSphere(float Hr, float Hx, std::string_view requiredSymbol,
                                          float required);

// The same checks as passed, for the working: "Hx = 5 ≤ Hr = 30", "Rxo = 10 ≤ Hr = 30".
void noteSphereChecks(Recorder& rec, float Hr, float Hx, std::string_view requiredSymbol,
                      float required);

// An exhausted search: "被保护面高度 Hx 过高 或 所需的<what> 过大".
Refusal searchExhausted(std::string_view what);

// What the rod searches require, as their exhaustion message names it.
inline constexpr std::string_view kRequiredRadius = "保护半径 Rxo";

}  // namespace tervalen
