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
};

// Rods too far apart for the height found.
extern const char* const kNoTwoRodHeight;

Outcome<HDLShuangZ> calcH_DLShuangZ(float Hr, float Bxo, float Hx, float D);

// planeIsGround: "是" (the plane Hx is the ground), "否", or nothing for any other answer,
// which ends the calculation without a result once the checks have passed.
Outcome<std::optional<HJSShuangZ>> calcH_JSShuangZ(float Hr, float Bxo, float Hx, float D, float G,
                                                   std::optional<bool> planeIsGround);

}  // namespace tervalen
