#include "calc/range/rod_pair.h"

#include "calc/common/rolling_sphere.h"
#include "calc/range/rx_danz.h"

namespace tervalen {

float lowestPoint(float Hr, double h, float D, std::string_view quantity) {
    return single(lowest(h, D, Hr, quantity), quantity);
}

float widthAt(float Hr, float Ho, double reachHx, std::string_view quantity) {
    return single(reach(Ho, Hr, quantity) - reachHx, quantity);
}

Outcome<TwoRods> twoRods(bool roofIsGround, float Hr, float H, float Hx, float D,
                         const char* tooFar) {
    // The radius at the outer ends is that of one rod, behind the same two checks.
    const Outcome<RxDanZ> outer =
        roofIsGround ? calcRx_JSDanZ({true, Hr, H, Hx}) : calcRx_DLDanZ({Hr, H, Hx});
    if (const auto* refusal = std::get_if<Refusal>(&outer)) return *refusal;
    const RxDanZ& rod = std::get<RxDanZ>(outer);

    const double h = roofIsGround ? static_cast<double>(H) - Hx : H;
    // The doubled reach is rounded before it is compared: a spacing equal to it is refused.
    const float limit = single(2.0 * rod.reachH, "间距上限");
    if (!(limit > D)) return Refusal{tooFar};
    const float Ho = lowestPoint(Hr, h, D, "Ho");
    const float Bx = widthAt(Hr, Ho, rod.reachHx, "Bx");
    return TwoRods{rod.Rx, Ho, Bx, h, rod.reachH, rod.reachHx, limit};
}

}  // namespace tervalen
