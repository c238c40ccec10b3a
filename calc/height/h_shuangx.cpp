#include "calc/height/h_shuangx.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"
#include "calc/range/rod_pair.h"
#include "calc/range/rxbx_danx.h"
#include "calc/range/rxbx_shuangx.h"

namespace tervalen {

Outcome<HShuangX> calcH_ShuangX(float Hr, const std::function<double()>& readHoo, float Hx,
                                float D1, float D2) {
    if (Hx > Hr) return Refusal{exceedsSphereRadius("Hx")};
    HShuangX r{};
    std::optional<double> Hoo;
    const auto sag = sagFor(D1);
    // The bounds and the cases take the sphere 0.01 m larger than Hr.
    const double sphere = Hr + 0.01;
    const float top = single(sphere, "Hr"), ceiling = single(2 * sphere, "Hr");
    const auto H = climb(Climb<float>{0.0f, ceiling, "H"}, [&](float trial) {
        if (sag) {
            r.Hc = *sag;
            r.Ho = single(wireLowest(static_cast<double>(trial) - *r.Hc, D2, Hr, "Ho"), "Ho");
        }
        if (!Hoo) Hoo = readHoo();
        return r.Ho >= *Hoo;
    });
    if (!H) return searchExhausted("保护宽度 Hoo");
    r.H = *H;
    r.Hoo = *Hoo;
    Recorder rec;
    rec.check("Hx", Hx, "≤", "Hr", Hr);
    if (sag)
        recordSag(rec, "D1", D1, *sag);
    else
        rec.note("D1 = " + shown(D1) + " > 150 m：不计弧垂，Ho 保持 0");
    rec.search("H", 0, r.H, "Ho ≥ Hoo = " + shown(r.Hoo));
    rec.value("H", r.H, "m", "所需支柱高度");
    if (sag)
        rec.step("Ho", "({H}−{Hc})+√({Hr}²−({D2}/2)²)−{Hr}",
                 {{"H", r.H}, {"Hc", *r.Hc}, {"Hr", Hr}, {"D2", D2}}, r.Ho, "m");
    else
        rec.value("Ho", r.Ho, "m", "不计弧垂时保护最低点不计算");

    r.s = root(r.H * (2 * sphere - r.H), "H");
    rec.step("s", "√({H}×(2×({Hr}+0.01)−{H}))", {{"H", r.H}, {"Hr", Hr}}, r.s, "m");
    const float width = single(2 * r.s, "H");
    rec.step("2s", "2×{s}", {{"s", r.s}}, width, "m");
    if (r.H <= top && width > D2) {
        r.withinSphere = true;
        rec.note("H = " + shown(r.H) + " ≤ Hr + 0.01 = " + shown(top) + " 且 2s = " + shown(width) +
                 " > D2 = " + shown(D2) + "：Hr 高度上无保护宽度");
        r.Hm = lowestPoint(Hr, r.H, D2, "Bx1");
        rec.step("Hm", lowestOf("{H}", "{D2}"), {{"Hr", Hr}, {"H", r.H}, {"D2", D2}}, r.Hm, "m");
        r.Bx1 = single(reach(r.Hm, Hr, "Bx1") - reach(Hx, Hr, "Bx1"), "Bx1");
        rec.step("Bx1", reachOf("{Hm}") + "−" + reachOf("{Hx}"),
                 {{"Hm", r.Hm}, {"Hr", Hr}, {"Hx", Hx}}, r.Bx1, "m");
    } else if (r.H > top && width < D2 && ceiling > D2) {
        rec.note("H = " + shown(r.H) + " > Hr + 0.01 = " + shown(top) + "，2s = " + shown(width) +
                 " < D2 = " + shown(D2) + " < 2(Hr + 0.01) = " + shown(ceiling));
        rec.value("Bx1", 0, "m", "避雷线高于滚球半径：中线两端无最小保护宽度");
        r.Bx2 = single(reach(r.H, Hr, "Bx2") + static_cast<double>(D2) / 2 - Hr, "Bx2");
        rec.step("Bx2", reachOf("{H}") + "+{D2}/2−{Hr}", {{"H", r.H}, {"Hr", Hr}, {"D2", D2}},
                 *r.Bx2, "m");
    } else {
        // Neither case: the wires have no protection range (the two-wire range form's words).
        return Refusal{kWiresAboveSphereRadius};
    }
    // Without a sag the lowest point is not worked out; above the sphere there is no Bx1.
    wirePairWarnings(sag ? std::optional<float>(r.Ho) : std::nullopt, Hx,
                     r.withinSphere ? std::optional<float>(r.Bx1) : std::nullopt, r.warnings);
    if (r.Bx2 && *r.Bx2 < 0)
        r.warnings.push_back(
            negativeWidth(Place::BetweenWires, "两线之间（Hr 高度）", "Bx2", *r.Bx2));
    // The lowest point between the wires at mid-span, where a sag applies; within the
    // sphere also the lowest point between the supports and the width beyond them.
    r.sphere =
        checkWiresWithSphere({.wires = 2,
                              .Hr = Hr,
                              .H = r.H,
                              .Hx = Hx,
                              .span = D1,
                              .sag = static_cast<double>(r.Hc.value_or(0)),
                              .apart = D2,
                              .Ho = sag ? std::optional<double>(r.Ho) : std::nullopt,
                              .Hoe = r.withinSphere ? std::optional<double>(r.Hm) : std::nullopt,
                              .hoe = "Hm",
                              .Bx1 = r.withinSphere ? std::optional<double>(r.Bx1) : std::nullopt},
                             rec, r.warnings);
    r.working = rec.take();
    return r;
}

Outcome<HShuangX> calcH_ShuangX(const WirePairHeightInput& in) {
    return calcH_ShuangX(
        in.Hr, [Hoo = in.Hoo] { return Hoo; }, in.Hx, in.D1, in.D2);
}

}  // namespace tervalen
