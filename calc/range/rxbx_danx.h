#pragma once
// Protection range of one overhead wire strung between two supports of equal height H a
// distance D apart: the highest point of the range, and the smallest and largest widths
// on the plane at Hx (at mid-span, where the wire sags lowest, and at the supports).

#include <string>
#include <string_view>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct RxBxDanX {
    float Hh;         // highest point of the protection range
    float Bx1;        // smallest width, at mid-span
    float Bx2;        // largest width, at the supports
    int sag;          // sag of the wire at mid-span, from D
    double reachLow;  // reach of the wire's lowest point, H − sag
    double reachH;    // reach of the wire at the supports
    double reachHx;   // reach of the protected surface
    Working working;
    Warnings warnings;   // a negative width at mid-span or at the supports
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What one overhead wire is computed from.
struct WireInput {
    float Hr;  // rolling-sphere radius
    float H;   // height of the supports
    float Hx;  // height of the protected surface
    float D;   // distance between the supports
};

extern const char* const kWireTooHigh;         // H not below 2·Hr
extern const char* const kWireSurfaceTooHigh;  // Hx > H, shared by the wire forms
// The sag of a span as a step of the working: "D = 100 < 120 m：弧垂 Hc = 2 m".
void recordSag(Recorder& rec, std::string_view span, float D, int sag);

// A span for which no sag is defined; `symbol` names the span on the form ("D", "D1").
std::string spanTooLong(std::string_view symbol);

// The weak points of one wire: a negative width at mid-span (Bx1) or at the supports (Bx2).
void wireWidthWarnings(float Bx1, float Bx2, Warnings& warnings);

Outcome<RxBxDanX> calcRxBx_DanX(const WireInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcRxBx_DanX = "calcRxBx_DanX";
}  // namespace unit_id

}  // namespace tervalen
