#include "calc/height/h_danx.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"

namespace tervalen {

Outcome<HDanX> calcH_DanX(float Hr, float Bx1o, float Hx, float D) {
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bx1o", Bx1o)) return *refusal;
    // No support is lower than 3 m: the first trial is 3.01. Above 150 m no sag applies and
    // the narrowest width keeps its start value 0.
    HDanX r{};
    const auto sag = sagFor(D);
    const auto H = climb(Climb<float>{3.0f, single(Hr + 0.01, "Hr"), "H"}, [&](float trial) {
        if (sag) {
            r.Hc = static_cast<float>(*sag);
            r.reachHx = reach(Hx, Hr, "Bx1");
            r.Bx1 = single(reach(static_cast<double>(trial) - r.Hc, Hr, "Bx1") - r.reachHx, "Bx1");
        }
        return r.Bx1 >= Bx1o;
    });
    if (!H) return searchExhausted("保护宽度 Bx1o");
    r.H = *H;
    r.reachHx = reach(Hx, Hr, "Bx2");
    r.Bx2 = single(reach(r.H, Hr, "Bx2") - r.reachHx, "Bx2");
    return r;
}

}  // namespace tervalen
