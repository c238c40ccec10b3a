#include "calc/height/rod_pair_search.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"

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
    return r;
}

bool spacingCovered(float H, float Hr, float spacing) {
    return single(2 * reach(H, Hr, "H"), "H") > spacing;
}

}  // namespace tervalen
