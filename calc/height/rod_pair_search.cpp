#include "calc/height/rod_pair_search.h"

#include <string>

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"
#include "calc/range/rod_pair.h"

namespace tervalen {

Outcome<RodPairHeight> searchRodPair(const RodPairSearch& in) {
    const auto kept = [&](double v, float stored) {
        return in.compareStored ? static_cast<double>(stored) : v;
    };
    const float bound = single(in.Hr + 0.01, "Hr");
    RodPairHeight r{};
    const auto Hm = climb(Climb<float>{0.0f, bound, "Hm"}, [&](float trial) {
        const double Bx =
            reach(trial, in.Hr, "Bx") - (in.planeIsGround ? 0.0 : reach(in.Hx, in.Hr, "Bx"));
        r.Bx = single(Bx, "Bx");
        return kept(Bx, r.Bx) >= in.Bxo;
    });
    if (!Hm) return searchExhausted(kRequiredRadius);
    r.Hm = *Hm;
    const auto H = climb(Climb<float>{0.0f, bound, "H"}, [&](float trial) {
        const double Ho = lowest(trial, in.s, in.Hr, "Ho");
        r.Ho = single(Ho, "Ho");
        return kept(Ho, r.Ho) >= r.Hm;
    });
    if (!H) return searchExhausted(kRequiredRadius);
    r.H = *H;

    Recorder rec;
    if (in.planeIsGround)
        rec.note("建筑物为与大地连通的等电位体：Hx 平面视为地面，Hm 与 H 自该平面算起");
    rec.search("Hm", 0, r.Hm, "Bx ≥ Bxo = " + shown(in.Bxo));
    rec.value("Hm", r.Hm, "m", "两针间所需的保护最低点");
    if (in.planeIsGround)
        rec.step("Bx", reachOf("{Hm}"), {{"Hm", r.Hm}, {"Hr", in.Hr}}, r.Bx, "m");
    else
        rec.step("Bx", reachOf("{Hm}") + "−" + reachOf("{Hx}"),
                 {{"Hm", r.Hm}, {"Hr", in.Hr}, {"Hx", in.Hx}}, r.Bx, "m");
    rec.search("H", 0, r.H, "Ho ≥ Hm = " + shown(r.Hm));
    rec.value("H", r.H, "m", "所需针高");
    const std::string s(in.spacing);
    rec.step("Ho", lowestOf("{H}", "{" + s + "}"), {{"Hr", in.Hr}, {"H", r.H}, {s, in.s}}, r.Ho,
             "m");
    r.working = rec.take();
    return r;
}

bool spacingCovered(float H, float Hr, float spacing) {
    return single(2 * reach(H, Hr, "H"), "H") > spacing;
}

void noteSpacingCovered(float H, float Hr, float spacing, std::string_view symbol,
                        Working& working) {
    const float limit = single(2 * reach(H, Hr, "H"), "H");
    Recorder rec;
    const std::string s(symbol);
    rec.step(s + "max", "2×" + reachOf("{H}"), {{"H", H}, {"Hr", Hr}}, limit, "m");
    rec.check(s, spacing, "<", s + "max", limit);
    working.insert(working.end(), rec.working().begin(), rec.working().end());
}

}  // namespace tervalen
