#pragma once
// Protection radius of a single rod on the plane at the height Hx of the protected surface.

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

struct RxDanZ {
    float Rx;        // protection radius on the plane at Hx
    float h;         // height of the rod that counts: H, or H - Hx when the roof is the ground
    double reachH;   // reach of the rod
    double reachHx;  // reach of the protected surface (0 when the roof is the ground)
    Working working;
};

// The two refusals shared by the rod forms.
extern const char* const kRodTooHigh;      // H > Hr
extern const char* const kSurfaceTooHigh;  // Hx > H

// What a single rod is computed from.
struct RodInput {
    float Hr;  // rolling-sphere radius
    float H;   // height of the rod (of its tip, on a building)
    float Hx;  // height of the protected surface
};
struct RodOnBuildingInput {
    // The building is an equipotential body connected to the earth, so the roof at Hx is
    // the ground and only the part of the rod above it counts.
    bool yesNo;
    float Hr, H, Hx;
};

// Standalone rod of height H.
Outcome<RxDanZ> calcRx_DLDanZ(const RodInput& in);
// Rod on a building.
Outcome<RxDanZ> calcRx_JSDanZ(const RodOnBuildingInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcRx_DLDanZ = "calcRx_DLDanZ";
inline constexpr const char* calcRx_JSDanZ = "calcRx_JSDanZ";
}  // namespace unit_id

}  // namespace tervalen
