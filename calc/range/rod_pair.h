#pragma once
// Two rods of equal height standing a distance apart, by the rolling-sphere method: the
// sphere resting on both tips dips lowest midway between them. The two-rod calculators
// use it for their one pair, the three- and four-rod calculators for a side of their
// figure, and the four-rod calculator once more for the diagonal of its square.

#include <string>
#include <string_view>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

// Height of the lowest protection point midway between two rods of height h standing D
// apart, Hr − √((Hr − h)² + (D/2)²), stored in single precision as `quantity`.
float lowestPoint(float Hr, double h, float D, std::string_view quantity);
// The same as a pattern, with the operand names of h and D ("{H}", "{Dg}").
std::string lowestOf(std::string_view h, std::string_view D);

// Protection width beside a lowest point Ho on the plane of the protected surface, whose
// own reach is reachHx: reach(Ho) − reachHx, stored in single precision as `quantity`.
float widthAt(float Hr, float Ho, double reachHx, std::string_view quantity);

struct TwoRods {
    float Rx;        // protection radius at the outer ends on the plane at Hx
    float Ho;        // lowest protection point midway between the rods
    float Bx;        // smallest protection width between the rods on the plane at Hx
    double h;        // height of the rods above the plane taken as ground
    double reachH;   // reach of the rods
    double reachHx;  // reach of the protected surface (0 when the roof is the ground)
    float limit;     // twice the reach of one rod: the spacing must stay below it
    Working working;
    Warnings warnings;   // a negative Bx: nothing between the rods is protected at Hx
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What a pair of rods is computed from.
struct RodPairInput {
    float Hr;  // rolling-sphere radius
    float H;   // height of the rods (of their tips, on a building)
    float Hx;  // height of the protected surface
    float D;   // distance between the rods
};
struct RodPairOnBuildingInput {
    // The building is an equipotential body connected to the earth: the roof at Hx is the
    // ground and only the part of the rods above it counts.
    bool yesNo;
    float Hr, H, Hx, D;
};

// Two rods of height H a distance D apart: the single-rod checks, then the spacing, which
// must stay below twice the reach of one rod (`tooFar` refuses it). roofIsGround: the rods
// stand on a building that is an equipotential body connected to the earth, so its roof
// at Hx is the ground and only the part of the rods above it counts. The working names
// the spacing `spacing` and the lowest point and width Ho and Bx followed by `suffix`; a
// negative width is a weak point `where`.
struct TwoRodsNames {
    std::string_view spacing = "D";
    std::string_view suffix = "";
    std::string_view where = "两针之间";
};
Outcome<TwoRods> twoRods(bool roofIsGround, const RodPairInput& in, const char* tooFar,
                         TwoRodsNames names = {});

}  // namespace tervalen
