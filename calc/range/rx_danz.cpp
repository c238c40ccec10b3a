#include "calc/range/rx_danz.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen {

const char* const kRodTooHigh = "避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！";
const char* const kSurfaceTooHigh = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H ！";

Outcome<RxDanZ> calcRx_DLDanZ(const RodInput& in) {
    const auto [Hr, H, Hx] = in;
    if (H > Hr) return Refusal{kRodTooHigh};
    if (Hx > H) return Refusal{kSurfaceTooHigh};
    const double reachH = reach(H, Hr, "Rx");
    const double reachHx = reach(Hx, Hr, "Rx");
    return RxDanZ{single(reachH - reachHx, "Rx"), H, reachH, reachHx};
}

Outcome<RxDanZ> calcRx_JSDanZ(const RodOnBuildingInput& in) {
    const auto [yesNo, Hr, H, Hx] = in;
    if (!yesNo) return calcRx_DLDanZ({Hr, H, Hx});
    // The height above the roof is what is tested against Hr, after its own rounding.
    const double h = static_cast<double>(H) - Hx;
    if (single(h, "H − Hx") > Hr) return Refusal{kRodTooHigh};
    if (Hx > H) return Refusal{kSurfaceTooHigh};
    const double reachH = root((2.0 * Hr - h) * h, "Rx");
    return RxDanZ{single(reachH, "Rx"), single(h), reachH, 0.0};
}

}  // namespace tervalen
