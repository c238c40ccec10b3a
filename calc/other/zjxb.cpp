#include "calc/other/zjxb.h"

namespace tervalen {

Outcome<Hypotenuse> calcZJXB_Hypotenuse(float La, float Lb) {
    const double a = La, b = Lb;
    return Hypotenuse{single(root(a * a + b * b, "Lc"), "Lc")};
}

Outcome<Leg> calcZJXB_Leg(float La, float Lc) {
    const double a = La, c = Lc;
    return Leg{single(root(c * c - a * a, "Lb"), "Lb")};
}

}  // namespace tervalen
