#include "calc/range/rxbx_danx.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen {

const char* const kWireTooHigh =
    "避雷线太高，无保护范围！\n避雷线高度 H 不应大于或等于2倍滚球半径 Hr ！";
const char* const kWireSurfaceTooHigh = "被保护面过高！\n被保护面高度 Hx 不应大于避雷线高度 H ！";

std::string spanTooLong(std::string_view symbol) {
    return twoLines("支柱间距过大！", "避雷线支柱间距 " + std::string(symbol) + " 不应大于150m！");
}

Outcome<RxBxDanX> calcRxBx_DanX(float Hr, float H, float Hx, float D) {
    // A wire at 2·Hr has no reach left, so that height is refused with the higher ones.
    if (!(single(2.0 * Hr, "2Hr") > H)) return Refusal{kWireTooHigh};
    if (Hx > H) return Refusal{kWireSurfaceTooHigh};
    const auto sag = sagFor(D);
    if (!sag) return Refusal{spanTooLong("D")};

    RxBxDanX r{};
    r.sag = *sag;
    // For a wire above the sphere radius the highest protected point is 2·Hr − H.
    r.Hh = H <= Hr ? H : single(2.0 * Hr - H, "Hh");
    r.reachHx = reach(Hx, Hr, "Bx1");
    // Supports lower than the sag put the wire's lowest point below the ground: a failed root.
    r.reachLow = reach(static_cast<double>(H) - r.sag, Hr, "Bx1");
    r.Bx1 = single(r.reachLow - r.reachHx, "Bx1");
    r.reachH = reach(H, Hr, "Bx2");
    r.Bx2 = single(r.reachH - r.reachHx, "Bx2");
    return r;
}

}  // namespace tervalen
