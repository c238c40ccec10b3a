#pragma once
// Height of rod 2 beside a rod 1 of given height, a distance D apart, for a required
// half-width Bxo on the plane at Hx where the protection between the two rods is
// narrowest (the line D1 of the pair's range).

#include "calc/common/arith.h"
#include "calc/range/rx_bdgshuangz.h"

namespace tervalen {

struct HBDGShuangZ {
    float H2;            // the least rod-2 height found, as the search's accumulator holds it
    RxBDGShuangZ range;  // the pair's range with that height (its waist is always there)
    Working working;     // the checks and the search, then the range's working
    Warnings warnings;   // the range's
};

// What the height of rod 2 is computed from.
struct UnequalRodHeightInput {
    float Hr;   // rolling-sphere radius
    float H1;   // height of rod 1
    float D;    // distance between the rods
    float Hx;   // height of the protected plane
    float Bxo;  // half-width required on the line of the lowest point, at Hx
};

// Even a rod 2 as high as the sphere radius leaves the rods apart.
extern const char* const kNoUnequalRodHeight;

// Checks in order: Hx ≤ Hr, Bxo ≤ Hr, H1 ≤ Hr, Hx ≤ H1. Then H2 climbs from 0 in steps of
// 0.01 (a single-precision accumulator) up to Hr + 0.01 and stops at the first height
// whose pair has its lowest point between the rods and a stored Bx ≥ Bxo; a search that
// passes its bound refuses, as rods too far apart when even H2 = Hr leaves them apart.
Outcome<HBDGShuangZ> calcH_BDGShuangZ(const UnequalRodHeightInput& in);

// The unit's name, as the records of its presses carry it.
namespace unit_id {
inline constexpr const char* calcH_BDGShuangZ = "calcH_BDGShuangZ";
}  // namespace unit_id

}  // namespace tervalen
