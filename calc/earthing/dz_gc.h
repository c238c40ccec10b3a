#pragma once
// Impulse earthing resistance from the power-frequency resistance, by the coefficient
// chart of A against L/Le with one line per soil resistivity.

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

// The chart's sloped lines, each carried as the angle whose tangent is its slope
// magnitude. Stored as written: the top line's angle is a little below the exact
// arc tangent of 2 / 0.9, so its start reads 2.999998 rather than 3.
inline constexpr double kAngle500 = 0.6202495;
inline constexpr double kAngle1000 = 0.8960554;
inline constexpr double kAngle2000 = 1.147942;

struct DzGc {
    float Ri;      // impulse earthing resistance R / A
    float Le;      // effective length 2·√ρ
    float A;       // conversion coefficient read from the chart
    float L;       // the length that counts: L, or Le when L is longer
    double theta;  // angle of the resistivity band (0 for ρ ≤ 100)
    bool flat;     // L/Le at or left of the line's start, where the line runs flat
    Working working;
};

// What the impulse resistance is computed from.
struct ImpulseInput {
    float R;    // power-frequency resistance, Ω
    float rho;  // soil resistivity ρ, Ω·m
    float L;    // length of the electrode's longest branch, m
    // Where R comes from when the form did not read it from a box: the symbol of the
    // power-frequency result it kept from its last "求工频电阻" press ("Rn", "R").
    const char* storedFrom = nullptr;
};

// No refusals; a negative ρ fails at the square root.
Outcome<DzGc> calcDZ_GC(const ImpulseInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcDZ_GC = "calcDZ_GC";
}  // namespace unit_id

}  // namespace tervalen
