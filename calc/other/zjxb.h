#pragma once
// The third side of a right triangle.

#include "calc/common/arith.h"

namespace tervalen {

struct Hypotenuse {
    float Lc;
};

struct Leg {
    float Lb;
};

// Hypotenuse Lc from the legs La and Lb.
Outcome<Hypotenuse> calcZJXB_Hypotenuse(float La, float Lb);
// The other leg Lb from the leg La and the hypotenuse Lc; a leg longer than the
// hypotenuse leaves no real side (a failed step).
Outcome<Leg> calcZJXB_Leg(float La, float Lc);

}  // namespace tervalen
