#pragma once
// Protection range of two parallel overhead wires of equal height: the lowest protection
// point midway between them at mid-span, and the smallest width at Hx at both ends of the
// centre line, where the wires hang at the full height of their supports.

#include <optional>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct RxBxShuangX {
    float Ho;        // lowest protection point between the wires, at mid-span
    float Bx1;       // smallest width at the ends of the centre line, on the plane at Hx
    int sag;         // sag of the wires at mid-span, from D1
    float Hoe;       // lowest protection point between the wires at the supports
    float limit;     // twice the reach of one wire: D2 must stay below it
    double reachHx;  // reach of the protected surface
    Working working;
    Warnings warnings;   // Ho below Hx, a negative Bx1
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What two parallel overhead wires are computed from.
struct WirePairInput {
    float Hr;  // rolling-sphere radius
    float H;   // height of the supports
    float Hx;  // height of the protected surface
    float D1;  // distance between the supports along a wire
    float D2;  // distance between the two wires
};

extern const char* const kWiresTooHigh;            // H > 2·Hr
extern const char* const kWiresTooFarApart;        // D2 not below twice the reach of one wire
extern const char* const kWiresAboveSphereRadius;  // Hr < H: no range is worked out

// The weak points of two wires: the lowest point between them at mid-span below Hx, a
// negative width between them at the supports; either is left out where it was not
// worked out.
void wirePairWarnings(std::optional<float> Ho, float Hx, std::optional<float> Bx1,
                      Warnings& warnings);

Outcome<RxBxShuangX> calcRxBx_ShuangX(const WirePairInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcRxBx_ShuangX = "calcRxBx_ShuangX";
}  // namespace unit_id

}  // namespace tervalen
