#pragma once
// Protection range of two rods of different heights H1 and H2 a distance D apart, by the
// rolling-sphere method: the sphere resting on the ground and on both tips touches the
// ground on the line D1 from rod 1 where the two rods' ground circles cross; there the
// protection between the rods is narrowest and lowest. Each rod's radius on the plane at
// Hx is that of a single rod.

#include <optional>
#include <string>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"

namespace tervalen {

// The refusals of the pair, naming the rod they concern.
extern const char* const kRod1TooHigh;       // H1 > Hr
extern const char* const kRod2TooHigh;       // H2 > Hr
extern const char* const kSurfaceAboveRod1;  // Hx > H1
extern const char* const kSurfaceAboveRod2;  // Hx > H2
// Why each rod is a single rod: the ground circles do not meet (D ≥ r01 + r02, or a lowest
// point below the ground by rounding at that limit), or they meet with the line D1 not
// between the rods (the lower rod stands too near the taller one, or on it).
extern const char* const kRodsApartEachSingle;
extern const char* const kNoLowestBetweenEachSingle;

// Where the narrowest protection between the rods lies.
struct RodWaist {
    float D1;   // distance of the line of the lowest point from rod 1
    float Ho;   // lowest protection point on that line
    float Bx;   // half-width on that line on the plane at Hx
    double b0;  // half-width on that line on the ground, √(Ho×(2Hr−Ho))
};

struct RxBDGShuangZ {
    float Rx1;  // protection radius of rod 1 on the plane at Hx, as a single rod
    float Rx2;  // the same for rod 2
    // The lowest point between the rods and the width there; nothing when each rod is a
    // single rod (`single` says why).
    std::optional<RodWaist> waist;
    std::string single;  // the two-line sentence that says each rod is a single rod
    double reach1;       // r01 = √(H1×(2Hr−H1)), the reach of rod 1
    double reach2;       // r02, of rod 2
    double reachHx;      // the reach of the protected plane
    float limit;         // r01 + r02 stored in single precision: D must stay below it
    Working working;
    // Between the rods: a negative Bx or a lowest point below Hx; for single rods, circles
    // at Hx that do not meet (Rx1 + Rx2 < D).
    Warnings warnings;
};

// What two rods of different heights are computed from.
struct UnequalRodsInput {
    float Hr;  // rolling-sphere radius
    float H1;  // height of rod 1
    float H2;  // height of rod 2
    float D;   // distance between the rods
    float Hx;  // height of the protected plane
};

// Checks in order: H1 ≤ Hr, H2 ≤ Hr, Hx ≤ H1, Hx ≤ H2 (equality passes). Each named
// quantity (Rx1, Rx2, the limit, D1, Ho, Bx) is evaluated in double precision from the
// single-precision inputs and stored in single precision; Ho is worked from D1 as computed
// (the stored D1 would make Ho and Bx depend on which rod is named first), Bx from the
// stored Ho as the equal rods compute it, so that equal heights print what the equal-rod
// calculator prints.
Outcome<RxBDGShuangZ> calcRx_BDGShuangZ(const UnequalRodsInput& in);

// The same quantities without the working, for a search that tries many heights: nothing
// when a check refuses the heights.
std::optional<RxBDGShuangZ> unequalRodsQuiet(const UnequalRodsInput& in);

// The unit's name, as the records of its presses carry it.
namespace unit_id {
inline constexpr const char* calcRx_BDGShuangZ = "calcRx_BDGShuangZ";
}  // namespace unit_id

}  // namespace tervalen
