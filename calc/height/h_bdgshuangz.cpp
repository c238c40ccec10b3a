#include "calc/height/h_bdgshuangz.h"

#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"

namespace tervalen {

const char* const kNoUnequalRodHeight = "避雷针之间距离太大\n不能按不等高双针方法计算出针高";

Outcome<HBDGShuangZ> calcH_BDGShuangZ(const UnequalRodHeightInput& in) {
    const auto Hr = in.Hr;
    const auto H1 = in.H1;
    const auto D = in.D;
    const auto Hx = in.Hx;
    const auto Bxo = in.Bxo;
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    if (H1 > Hr) return Refusal{kRod1TooHigh};
    if (Hx > H1) return Refusal{kSurfaceAboveRod1};

    const float bound = single(Hr + 0.01, "Hr");
    const auto H2 = climb(Climb<float>{0.0f, bound, "H2"}, [&](float trial) {
        // A trial below Hx or above Hr is refused by the pair's checks: not met.
        const auto pair = unequalRodsQuiet({Hr, H1, trial, D, Hx});
        return pair && pair->waist && pair->waist->Bx >= Bxo;
    });
    if (!H2) {
        const auto tallest = unequalRodsQuiet({Hr, H1, Hr, D, Hx});
        if (tallest && !(tallest->limit > D)) return Refusal{kNoUnequalRodHeight};
        return searchExhausted("保护宽度 Bxo");
    }

    auto range = calcRx_BDGShuangZ({Hr, H1, *H2, D, Hx});
    // The search met its requirement with the same function, so the pair is computed.
    HBDGShuangZ r{*H2, std::get<RxBDGShuangZ>(std::move(range)), {}, {}};
    r.warnings = r.range.warnings;
    Recorder rec;
    noteSphereChecks(rec, Hr, Hx, "Bxo", Bxo);
    rec.search("H2", 0, r.H2, "两针之间有保护最低点且 Bx ≥ Bxo = " + shown(Bxo));
    rec.value("H2", r.H2, "m", "所需的 2 号针高");
    rec.append(r.range.working);
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
