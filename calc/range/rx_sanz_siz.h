#pragma once
// Protection range of three rods on an equilateral triangle and of four rods on a square,
// all standalone and of equal height H, the figure's side being L. A side is worked out as
// a pair of rods; the square's diagonal once more.

#include <optional>

#include "calc/common/arith.h"
#include "calc/range/rod_pair.h"

namespace tervalen {

using RxSanZ = TwoRods;  // Rx, and Ho and Bx on a side of the triangle

struct RxSiZ {
    TwoRods side;  // Rx, and Ho1 and Bx1 on a side of the square
    float Dg;      // diagonal of the square
    float Ho2;     // lowest protection point midway along the diagonal
    // Protection width beside Ho2 on the plane at Hx; none when Ho2 lies below the
    // ground, which leaves the middle of the square without protection.
    std::optional<float> Bx2;
};

extern const char* const kThreeRodsTooFarApart;  // L not below twice the reach of one rod
extern const char* const kFourRodsTooFarApart;
// Shown beside the printed results when the diagonal's lowest point lies below the ground.
extern const char* const kDiagonalUncovered;

Outcome<RxSanZ> calcRx_DLSanZ(float Hr, float H, float Hx, float L);
Outcome<RxSiZ> calcRx_DLSiZ(float Hr, float H, float Hx, float L);

}  // namespace tervalen
