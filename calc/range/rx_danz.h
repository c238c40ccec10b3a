#pragma once
// Protection radius of a single rod on the plane at the height Hx of the protected surface.

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct RxDanZ {
    float Rx;        // protection radius on the plane at Hx
    float h;         // height of the rod that counts: H, or H - Hx when the roof is the ground
    double reachH;   // reach of the rod
    double reachHx;  // reach of the protected surface (0 when the roof is the ground)
    Working working;
    Warnings warnings;   // what the exact sphere finds that the formula does not
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What the check with the exact sphere models for rods on a building that is not the
// ground: rods standing on the ground, the building left out, as the formula takes them.
inline constexpr std::string_view kRodOnGroundModel =
    "建筑物不作为地面：按立于地面的针计，不计建筑物";

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

// The radius by the formula alone, without the check with the exact sphere: what the rod
// pairs build on. roofIsGround: the rod on a building whose roof at Hx is the ground.
Outcome<RxDanZ> rodRadius(bool roofIsGround, const RodInput& in);

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
