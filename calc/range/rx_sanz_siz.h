#pragma once
// Protection range of three rods on an equilateral triangle and of four rods on a square,
// all standalone and of equal height H, the figure's side being L. A side is worked out as
// a pair of rods; the square's diagonal once more.

#include <optional>

#include "calc/common/arith.h"
#include "calc/range/rod_pair.h"

namespace tervalen {

// Rx, and Ho and Bx on a side of the triangle, then the centre: the side's warnings and
// the centre's are in side.warnings.
struct RxSanZ : TwoRods {
    // The centre of the triangle, where the sphere resting on the three tips dips lowest:
    // its distance from each rod, L/√3, and the lowest point there (nothing when Rc ≥ Hr:
    // the sphere reaches the ground between the rods).
    double Rc = 0;
    std::optional<double> Hoc;
};

// What three or four rods on a regular figure are computed from.
struct RodFigureInput {
    float Hr;  // rolling-sphere radius
    float H;   // height of the rods
    float Hx;  // height of the protected surface
    float L;   // side of the triangle or the square
};

struct RxSiZ {
    TwoRods side;  // Rx, and Ho1 and Bx1 on a side of the square (its working is in `working`)
    float Dg;      // diagonal of the square
    float Ho2;     // lowest protection point midway along the diagonal
    // Protection width beside Ho2 on the plane at Hx; none when Ho2 lies below the
    // ground, which leaves the middle of the square without protection.
    std::optional<float> Bx2;
    Working working;
    Warnings warnings;   // the side's, then the centre's
    SphereCheck sphere;  // the press checked with the exact sphere
};

extern const char* const kThreeRodsTooFarApart;  // L not below twice the reach of one rod
extern const char* const kFourRodsTooFarApart;
// Shown beside the printed results when the diagonal's lowest point lies below the ground.
extern const char* const kDiagonalUncovered;

// The centre of three rods of height h on a triangle of side L, appended to the working;
// below Hx (or reached down to the ground) it is a weak point.
void checkTriangleCentre(Recorder& rec, Warnings& warnings, float Hr, double h, float Hx, float L,
                         double& Rc, std::optional<double>& Hoc);

// The centre of a square of rods, the middle of its diagonals: Ho2 below Hx is a weak point.
void checkSquareCentre(Warnings& warnings, float Ho2, float Hx);

Outcome<RxSanZ> calcRx_DLSanZ(const RodFigureInput& in);
Outcome<RxSiZ> calcRx_DLSiZ(const RodFigureInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcRx_DLSanZ = "calcRx_DLSanZ";
inline constexpr const char* calcRx_DLSiZ = "calcRx_DLSiZ";
}  // namespace unit_id

}  // namespace tervalen
