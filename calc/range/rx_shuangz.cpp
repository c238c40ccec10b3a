#include "calc/range/rx_shuangz.h"

#include "calc/range/rx_danz.h"

namespace tervalen {

const char* const kRodsTooFarApart = "避雷针之间距离太大！\n不能按双支等高避雷针方法计算！";

namespace {

// The pair checked with the exact sphere: the midpoint, the width beside it, the outer
// radius.
Outcome<RxShuangZ> checked(Outcome<RxShuangZ> out, const RodPairInput& in, bool onRoof,
                           std::string_view model = {}) {
    if (auto* r = std::get_if<RxShuangZ>(&out)) {
        Recorder rec;
        rec.append(r->working);
        r->sphere = checkRodsWithSphere({.rods = 2,
                                         .Hr = in.Hr,
                                         .tip = in.H,
                                         .Hx = in.Hx,
                                         .onRoof = onRoof,
                                         .spacing = in.D,
                                         .Ho = r->Ho,
                                         .Bx = r->Bx,
                                         .Rx = r->Rx,
                                         .model = model},
                                        rec, r->warnings);
        r->working = rec.take();
    }
    return out;
}

}  // namespace

Outcome<RxShuangZ> calcRx_DLShuangZ(const RodPairInput& in) {
    return checked(twoRods(false, in, kRodsTooFarApart), in, false);
}

Outcome<RxShuangZ> calcRx_JSShuangZ(const RodPairOnBuildingInput& in) {
    const RodPairInput pair{in.Hr, in.H, in.Hx, in.D};
    return checked(twoRods(in.yesNo, pair, kRodsTooFarApart), pair, in.yesNo,
                   in.yesNo ? std::string_view{} : kRodOnGroundModel);
}

}  // namespace tervalen
