#pragma once
// The rolling-sphere method: what every range and height calculator is built on.

#include <cmath>
#include <optional>
#include <string_view>

#include "calc/common/arith.h"

namespace tervalen {

// Horizontal distance from a rod or wire of height h at which the sphere of radius Hr
// touches the ground (or the plane taken as ground): sqrt(h * (2Hr - h)), in double
// precision. Outside 0 <= h <= 2Hr it has no real value: a failed step named `quantity`.
inline double reach(double h, double Hr, std::string_view quantity) {
    return root(h * (2.0 * Hr - h), quantity);
}

// Height of the lowest protection point midway between two rods (or wires) of height h
// standing a distance s apart, where the sphere rests on both tips:
// Hr - sqrt((Hr - h)^2 + (s/2)^2), in double precision.
inline double lowest(double h, double s, double Hr, std::string_view quantity) {
    return Hr - root((Hr - h) * (Hr - h) + (s / 2) * (s / 2), quantity);
}

// Height of the lowest protection point midway between two parallel wires hanging at
// height h a distance s apart, where the sphere rests on both wires:
// h + sqrt(Hr² − (s/2)²) − Hr, in double precision. Wires farther apart than 2Hr leave
// no real value: a failed step named `quantity`.
inline double wireLowest(double h, double s, double Hr, std::string_view quantity) {
    const double half = s / 2;
    return h + root(Hr * Hr - half * half, quantity) - Hr;
}

// Lowest point on the axis of tips of height h that all stand a horizontal distance R from
// that axis (the centre of three rods on a triangle, of four on a square), where the
// sphere rests on all of them: h + √(Hr² − R²) − Hr, in double precision. Nothing when
// R ≥ Hr: the sphere then passes between the tips down to the ground.
inline std::optional<double> restingOnTips(double h, double R, double Hr) {
    if (!(R < Hr)) return std::nullopt;
    return h + std::sqrt(Hr * Hr - R * R) - Hr;
}

// Diagonal of a square of side L, √(L² + L²), stored in single precision as `quantity`.
inline float diagonal(float L, std::string_view quantity) {
    const double L2 = static_cast<double>(L) * L;
    return single(root(L2 + L2, quantity), quantity);
}

// Sag of an overhead wire at mid-span from its support spacing D: 2 m below 120 m,
// 3 m from 120 m to 150 m inclusive, none above 150 m.
inline std::optional<int> sagFor(float D) {
    if (D < 120) return 2;
    if (D <= 150) return 3;
    return std::nullopt;
}

}  // namespace tervalen
