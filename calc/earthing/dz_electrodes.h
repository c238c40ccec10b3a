#pragma once
// Power-frequency earthing resistance of artificial earth electrodes: the steel's
// equivalent diameter, driven (vertical) rods and a buried (horizontal) electrode.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

// The utilisation factor of electrodes that screen each other: a group's resistance is
// its parallel resistance divided by it.
inline constexpr double kUtilisation = 0.75;

// 2π as the formulas write it.
inline constexpr double kTwoPi = 6.2831852;

// Equivalent diameter D of a section from its one typed dimension s (m): "圆钢" and "钢管"
// D = s, "扁钢" D = s / 2, "等边角钢" D = 0.84 × s. Any other type text has none.
std::optional<float> equivalentDiameter(std::string_view steelType, float s);

// What N vertical electrodes are computed from.
struct VerticalElectrodesInput {
    std::string steelType;  // "圆钢", "钢管", "扁钢", "等边角钢" or whatever was typed
    float s;                // the section's typed dimension (diameter or side), m
    float rho;              // soil resistivity ρ, Ω·m
    float L1;               // length of one electrode, m
    float N;                // number of electrodes
};

struct DzChuiZhi {
    float R;         // one electrode
    float Rn;        // N electrodes together
    double spread;   // ρ / (2π·L1)
    double logTerm;  // ln(4·L1 / D)
    // The equivalent diameter of the steel type; a type text that is none of the four
    // steels gives 0, on which the resistance formula's division fails.
    float D;
    Working working;
};

// N vertical electrodes of length L1 and equivalent diameter D in soil of resistivity ρ.
Outcome<DzChuiZhi> calcDZ_ChuiZhi(const VerticalElectrodesInput& in);

// Shape coefficients of the seven horizontal-electrode layouts, in option order:
// straight line, L, three-armed star, cross, six-armed star, eight-armed star, square.
inline constexpr std::array<float, 7> kShapeCoefficients = {0.0f,  0.378f, 0.867f, 2.14f,
                                                            5.27f, 3.81f,  1.69f};

// What a horizontal electrode is computed from.
struct HorizontalElectrodeInput {
    std::string steelType;  // as for vertical electrodes
    float s;                // the section's typed dimension, m
    float rho;              // soil resistivity ρ, Ω·m
    float L1;               // length of the electrode, m
    float H;                // depth at which it is buried, m
    // The layout chosen, an index into kShapeCoefficients; none chosen (-1) counts as a
    // straight line.
    int layout;
};

struct DzShuiPing {
    float R;
    double spread;   // ρ / (2π·L1)
    double logTerm;  // ln(L1² / (D·H))
    float A;         // shape coefficient of the layout
    float D;         // equivalent diameter (0 for a type text that is none of the four)
    Working working;
};

// A horizontal electrode of length L1 buried at depth H, with the layout's shape
// coefficient A.
Outcome<DzShuiPing> calcDZ_ShuiPing(const HorizontalElectrodeInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcDZ_ChuiZhi = "calcDZ_ChuiZhi";
inline constexpr const char* calcDZ_ShuiPing = "calcDZ_ShuiPing";
}  // namespace unit_id

}  // namespace tervalen
