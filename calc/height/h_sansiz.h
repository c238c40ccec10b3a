#pragma once
// Height of standalone equal rods on an equilateral triangle or a square of side L for a
// required width Bxo between two neighbouring rods on the plane at Hx.

#include <optional>

#include "calc/common/arith.h"
#include "calc/height/rod_pair_search.h"

namespace tervalen {

// Hm and its width Bx, the rod height H and its lowest point Ho on a side.
using HDLSanZ = RodPairHeight;

struct HDLSiZ {
    RodPairHeight search;  // the two searches on a side
    float Ld;              // diagonal of the square
    float Ho1, Bx1;        // lowest point on a side and its width, from the final H
    float Ho2;             // lowest point on a diagonal
    // Its width; nothing when Ho2 lies below the ground, where the diagonal has none
    // (the form then says so as the four-rod range form does).
    std::optional<float> Bx2;
    Working working;     // the searches', then the side and the diagonal
    Warnings warnings;   // the centre below Hx, with the height that would cover it
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What the height of three or four rods is computed from.
struct RodFigureHeightInput {
    float Hr;   // rolling-sphere radius
    float Bxo;  // width required between two neighbouring rods on the plane Hx
    float Hx;   // height of the protected plane
    float L;    // side of the triangle or the square
};

// Rods too far apart for the height found (the square keeps the triangle's words).
extern const char* const kNoThreeRodHeight;

Outcome<HDLSanZ> calcH_DLSanZ(const RodFigureHeightInput& in);
Outcome<HDLSiZ> calcH_DLSiZ(const RodFigureHeightInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcH_DLSanZ = "calcH_DLSanZ";
inline constexpr const char* calcH_DLSiZ = "calcH_DLSiZ";
}  // namespace unit_id

}  // namespace tervalen
