#include "calc/height/h_shuangx.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"
#include "calc/range/rxbx_shuangx.h"

namespace tervalen {

Outcome<HShuangX> calcH_ShuangX(float Hr, const std::function<double()>& readHoo, float Hx,
                                float D1, float D2) {
    if (Hx > Hr) return Refusal{exceedsSphereRadius("Hx")};
    HShuangX r{};
    std::optional<double> Hoo;
    const auto sag = sagFor(D1);
    const double halfD2 = static_cast<double>(D2) / 2;
    // The bounds and the cases take the sphere 0.01 m larger than Hr.
    const double sphere = Hr + 0.01;
    const float top = single(sphere, "Hr"), ceiling = single(2 * sphere, "Hr");
    const auto H = climb(Climb<float>{0.0f, ceiling, "H"}, [&](float trial) {
        if (sag) {
            r.Hc = *sag;
            const double centre = root(static_cast<double>(Hr) * Hr - halfD2 * halfD2, "Ho");
            r.Ho = single(centre + (static_cast<double>(trial) - *r.Hc) - Hr, "Ho");
        }
        if (!Hoo) Hoo = readHoo();
        return r.Ho >= *Hoo;
    });
    if (!H) return searchExhausted("保护宽度 Hoo");
    r.H = *H;
    r.Hoo = *Hoo;
    r.s = root(r.H * (2 * sphere - r.H), "H");
    const float width = single(2 * r.s, "H");
    if (r.H <= top && width > D2) {
        r.withinSphere = true;
        r.Hm = single(lowest(r.H, D2, Hr, "Bx1"), "Bx1");
        r.Bx1 = single(reach(r.Hm, Hr, "Bx1") - reach(Hx, Hr, "Bx1"), "Bx1");
    } else if (r.H > top && width < D2 && ceiling > D2) {
        r.Bx2 = single(reach(r.H, Hr, "Bx2") + halfD2 - Hr, "Bx2");
    } else {
        // Neither case: the wires have no protection range (the two-wire range form's words).
        return Refusal{kWiresAboveSphereRadius};
    }
    return r;
}

Outcome<HShuangX> calcH_ShuangX(float Hr, double Hoo, float Hx, float D1, float D2) {
    return calcH_ShuangX(
        Hr, [Hoo] { return Hoo; }, Hx, D1, D2);
}

}  // namespace tervalen
