#pragma once
// Height of two equal rods a distance D apart for a required width Bxo between them on
// the plane at Hx.

#include <optional>

#include "calc/common/arith.h"
#include "calc/height/rod_pair_search.h"

namespace tervalen {

// Hm and its width Bx, the rod height H and its lowest point Ho.
using HDLShuangZ = RodPairHeight;

struct HJSShuangZ {
    RodPairHeight search;  // H and Ho above the plane Hx for "是", above the ground for "否"
    float tip;             // height of the rod tips above the ground
    float body;            // length of the rods above the mounting surface G
    Working working;       // the search's, then the tip and the body
    Warnings warnings;     // the search's (none for two rods: the search meets the width)
    SphereCheck sphere;    // the press checked with the exact sphere
};

// What the height of two rods is computed from.
struct RodPairHeightInput {
    float Hr;   // rolling-sphere radius
    float Bxo;  // width required between the rods on the plane Hx
    float Hx;   // height of the protected plane
    float D;    // distance between the rods
};
struct RodPairHeightOnBuildingInput {
    // "是" (the plane Hx is the ground), "否", or nothing for any other answer, which ends
    // the calculation without a result once the checks have passed.
    std::optional<bool> planeIsGround;
    float Hr, Bxo, Hx, D;
    float G;  // height of the surface the rods are mounted on
};

// Rods too far apart for the height found.
extern const char* const kNoTwoRodHeight;

Outcome<HDLShuangZ> calcH_DLShuangZ(const RodPairHeightInput& in);
Outcome<std::optional<HJSShuangZ>> calcH_JSShuangZ(const RodPairHeightOnBuildingInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcH_DLShuangZ = "calcH_DLShuangZ";
inline constexpr const char* calcH_JSShuangZ = "calcH_JSShuangZ";
}  // namespace unit_id

}  // namespace tervalen
