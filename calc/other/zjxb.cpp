#include "calc/other/zjxb.h"

namespace tervalen {

Outcome<Hypotenuse> calcZJXB_Hypotenuse(const Legs& in) {
    const double a = in.La, b = in.Lb;
    Hypotenuse r{single(root(a * a + b * b, "Lc"), "Lc"), {}};
    Recorder rec;
    rec.step("Lc", "√({La}²+{Lb}²)", {{"La", a}, {"Lb", b}}, r.Lc, "");
    r.working = rec.take();
    return r;
}

Outcome<Leg> calcZJXB_Leg(const LegAndHypotenuse& in) {
    const double a = in.La, c = in.Lc;
    Leg r{single(root(c * c - a * a, "Lb"), "Lb"), {}};
    Recorder rec;
    rec.step("Lb", "√({Lc}²−{La}²)", {{"Lc", c}, {"La", a}}, r.Lb, "");
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
