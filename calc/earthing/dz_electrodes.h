#pragma once
// Power-frequency earthing resistance of artificial earth electrodes: the steel's
// equivalent diameter, driven (vertical) rods and a buried (horizontal) electrode.

#include <array>
#include <optional>
#include <string_view>

#include "calc/common/arith.h"

namespace tervalen {

// The utilisation factor of electrodes that screen each other: a group's resistance is
// its parallel resistance divided by it.
inline constexpr double kUtilisation = 0.75;

// 2π as the formulas write it.
inline constexpr double kTwoPi = 6.2831852;

// Equivalent diameter D of a section from its one typed dimension s (m): "圆钢" and "钢管"
// D = s, "扁钢" D = s / 2, "等边角钢" D = 0.84 × s. Any other type text has none.
std::optional<float> equivalentDiameter(std::string_view steelType, float s);

struct DzChuiZhi {
    float R;         // one electrode
    float Rn;        // N electrodes together
    double spread;   // ρ / (2π·L1)
    double logTerm;  // ln(4·L1 / D)
};

// N vertical electrodes of length L1 and equivalent diameter D in soil of resistivity ρ.
Outcome<DzChuiZhi> calcDZ_ChuiZhi(float D, float rho, float L1, float N);

// Shape coefficients of the seven horizontal-electrode layouts, in option order:
// straight line, L, three-armed star, cross, six-armed star, eight-armed star, square.
inline constexpr std::array<float, 7> kShapeCoefficients = {0.0f,  0.378f, 0.867f, 2.14f,
                                                            5.27f, 3.81f,  1.69f};

struct DzShuiPing {
    float R;
    double spread;   // ρ / (2π·L1)
    double logTerm;  // ln(L1² / (D·H))
};

// A horizontal electrode of length L1 buried at depth H, with shape coefficient A.
Outcome<DzShuiPing> calcDZ_ShuiPing(float D, float rho, float L1, float H, float A);

}  // namespace tervalen
