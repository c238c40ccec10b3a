#include "calc/height/h_danx.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"
#include "calc/range/rxbx_danx.h"

namespace tervalen {

Outcome<HDanX> calcH_DanX(const WireHeightInput& in) {
    const auto Hr = in.Hr;
    const auto Bx1o = in.Bx1o;
    const auto Hx = in.Hx;
    const auto D = in.D;
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
    Recorder rec;
    noteSphereChecks(rec, Hr, Hx, "Bx1o", Bx1o);
    if (sag)
        recordSag(rec, "D", D, *sag);
    else
        rec.value("Hc", r.Hc, "m", "D = " + shown(D) + " > 150 m：不计弧垂，Bx1 保持 0");
    rec.search("H", 3, r.H, "Bx1 ≥ Bx1o = " + shown(Bx1o));
    rec.value("H", r.H, "m", "所需支柱高度");
    rec.value("Hh", r.H, "m", "保护范围最高点即支柱处的避雷线：Hh = H");
    if (sag)
        rec.step("Bx1", reachOf("({H}−{Hc})") + "−" + reachOf("{Hx}"),
                 {{"H", r.H}, {"Hc", r.Hc}, {"Hr", Hr}, {"Hx", Hx}}, r.Bx1, "m");
    else
        rec.value("Bx1", r.Bx1, "m", "不计弧垂时最小保护宽度不计算");
    r.reachHx = reach(Hx, Hr, "Bx2");
    r.Bx2 = single(reach(r.H, Hr, "Bx2") - r.reachHx, "Bx2");
    rec.step("Bx2", reachOf("{H}") + "−" + reachOf("{Hx}"), {{"H", r.H}, {"Hr", Hr}, {"Hx", Hx}},
             r.Bx2, "m");
    wireWidthWarnings(r.Bx1, r.Bx2, r.warnings);
    // Without a sag the narrowest width is not worked out.
    r.sphere = checkWiresWithSphere({.wires = 1,
                                     .Hr = Hr,
                                     .H = r.H,
                                     .Hx = Hx,
                                     .span = D,
                                     .sag = r.Hc,
                                     .Bx1 = sag ? std::optional<double>(r.Bx1) : std::nullopt,
                                     .Bx2 = r.Bx2},
                                    rec, r.warnings);
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
