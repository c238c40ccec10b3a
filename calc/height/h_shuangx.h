#pragma once
// Support height of two parallel overhead wires a distance D2 apart, on supports spaced
// D1 along the line, for a required lowest protection point Hoo midway between them.

#include <functional>
#include <optional>

#include "calc/common/arith.h"
#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "calc/sphere/form_check.h"

namespace tervalen {

struct HShuangX {
    float H;                // support height found
    std::optional<int> Hc;  // sag; nothing when no sag applied (spacing above 150 m)
    float Ho;               // lowest point between the wires, as the search found it
    double Hoo;             // the required lowest point, as read
    double s;               // reach of H against a sphere of radius Hr + 0.01
    // Wires no higher than the sphere: the narrowest width Bx1 at the ends of the centre
    // line, from the lowest point Hm between the supports; there is no width at Hr.
    bool withinSphere;
    float Hm;
    float Bx1;
    // Wires above the sphere: the width Bx2 at Hr (Bx1 is then 0).
    std::optional<float> Bx2;
    Working working;
    Warnings warnings;   // Ho below Hx, a negative width
    SphereCheck sphere;  // the press checked with the exact sphere
};

// What the support height of two wires is computed from.
struct WirePairHeightInput {
    float Hr;    // rolling-sphere radius
    double Hoo;  // lowest point required between the wires, read in double precision
    float Hx;    // height of the protected plane
    float D1;    // distance between the supports along a wire
    float D2;    // distance between the two wires
};

// Hoo is read when the search first compares it, and in double precision; a reading
// that fails ends the calculation from within the search.
Outcome<HShuangX> calcH_ShuangX(float Hr, const std::function<double()>& readHoo, float Hx,
                                float D1, float D2);
Outcome<HShuangX> calcH_ShuangX(const WirePairHeightInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcH_ShuangX = "calcH_ShuangX";
}  // namespace unit_id

}  // namespace tervalen
