#pragma once
// Support height of a single overhead wire for a required narrowest width Bx1o on the
// plane at Hx, where the wire sags lowest midway between supports spaced D apart.

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct HDanX {
    float H;         // support height found, which is also the highest point Hh
    float Hc;        // sag used (0 when the spacing is above 150 m and no sag applies)
    float Bx1;       // narrowest width, below the lowest point of the wire
    float Bx2;       // widest width, at the supports
    double reachHx;  // reach of the protected plane
    Working working;
    Warnings warnings;   // a negative width
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What the support height of one wire is computed from.
struct WireHeightInput {
    float Hr;    // rolling-sphere radius
    float Bx1o;  // narrowest width required on the plane Hx
    float Hx;    // height of the protected plane
    float D;     // distance between the supports
};

Outcome<HDanX> calcH_DanX(const WireHeightInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcH_DanX = "calcH_DanX";
}  // namespace unit_id

}  // namespace tervalen
