#pragma once
// Height of a single rod for a required protection radius Rxo on the plane at Hx.

#include <optional>
#include <string>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct HDLDanZ {
    float H;         // rod height found (the single-precision accumulator)
    float Rx;        // radius it gives on the plane Hx
    double reachH;   // reach of the rod
    double reachHx;  // reach of the protected plane
    Working working;
    Warnings warnings;   // what the exact sphere finds that the formula does not
    SphereCheck sphere;  // the press checked with the exact sphere
};

struct HJSDanZ {
    double h;        // trial height found: above the plane Hx ("是") or the ground ("否")
    float tip;       // height of the rod tip above the ground
    float body;      // length of the rod above the mounting surface G
    float Rx;        // radius on the plane Hx
    double reachH;   // reach of the rod
    double reachHx;  // reach of the protected plane (0 when it is taken as the ground)
    Working working;
    Warnings warnings;   // what the exact sphere finds that the formula does not
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What the height of a single rod is computed from.
struct RodHeightInput {
    float Hr;   // rolling-sphere radius
    float Rxo;  // protection radius required on the plane Hx
    float Hx;   // height of the protected plane
};
struct RodHeightOnBuildingInput {
    // "是": the building is an equipotential body connected to the earth, so the plane Hx
    // is the ground; "否": the ground stays the ground; nothing: any other answer, which
    // ends the calculation without a result once the checks have passed.
    std::optional<bool> planeIsGround;
    float Hr, Rxo, Hx;
    float G;  // height of the surface the rod is mounted on
};

Outcome<HDLDanZ> calcH_DLDanZ(const RodHeightInput& in);
Outcome<std::optional<HJSDanZ>> calcH_JSDanZ(const RodHeightOnBuildingInput& in);

// Rods mounted on a surface of height 0 are standalone rods: there is a form for those.
extern const char* const kUseStandaloneForm;
// A tip the requirement puts below the mounting surface G: the rod would have a negative
// length, which no rod has.
std::string negativeRodBody(float tip, float G);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcH_DLDanZ = "calcH_DLDanZ";
inline constexpr const char* calcH_JSDanZ = "calcH_JSDanZ";
}  // namespace unit_id

}  // namespace tervalen
