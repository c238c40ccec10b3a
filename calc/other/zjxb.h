#pragma once
// The third side of a right triangle.

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

struct Legs {
    float La, Lb;  // the two legs
};
struct LegAndHypotenuse {
    float La;  // one leg
    float Lc;  // the hypotenuse
};

struct Hypotenuse {
    float Lc;
    Working working;
};

struct Leg {
    float Lb;
    Working working;
};

// Hypotenuse Lc from the legs La and Lb.
Outcome<Hypotenuse> calcZJXB_Hypotenuse(const Legs& in);
// The other leg Lb from the leg La and the hypotenuse Lc; a leg longer than the
// hypotenuse leaves no real side (a failed step).
Outcome<Leg> calcZJXB_Leg(const LegAndHypotenuse& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcZJXB_Hypotenuse = "calcZJXB_Hypotenuse";
inline constexpr const char* calcZJXB_Leg = "calcZJXB_Leg";
}  // namespace unit_id

}  // namespace tervalen
