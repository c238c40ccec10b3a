#include "calc/range/rxbx_shuangx.h"

#include "calc/common/rolling_sphere.h"
#include "calc/range/rod_pair.h"
#include "calc/range/rxbx_danx.h"

namespace tervalen {

const char* const kWiresTooHigh = "避雷线太高！\n避雷线高度 H 不应大于滚球半径2倍 Hr ！";
const char* const kWiresTooFarApart = "避雷线之间距离太大！\n不能按双根等高避雷线方法计算！";
const char* const kWiresAboveSphereRadius = "避雷线高度过高，无保护范围！";

Outcome<RxBxShuangX> calcRxBx_ShuangX(float Hr, float H, float Hx, float D1, float D2) {
    // H = 2·Hr passes here; its reach is 0, so the spacing test refuses it.
    if (single(2.0 * Hr, "2Hr") < H) return Refusal{kWiresTooHigh};
    if (Hx > H) return Refusal{kWireSurfaceTooHigh};
    RxBxShuangX r{};
    r.limit = single(2.0 * reach(H, Hr, "间距上限"), "间距上限");
    if (!(r.limit > D2)) return Refusal{kWiresTooFarApart};
    // Wires higher than the sphere radius get no range worked out: one line says so.
    if (H > Hr) return Refusal{kWiresAboveSphereRadius};
    const auto sag = sagFor(D1);
    if (!sag) return Refusal{spanTooLong("D1")};

    r.sag = *sag;
    const double halfD2 = D2 / 2.0;
    r.Ho = single((static_cast<double>(H) - r.sag) +
                      root(static_cast<double>(Hr) * Hr - halfD2 * halfD2, "Ho") - Hr,
                  "Ho");
    // At the supports the wires hang at full height: the sphere sits on them as on two rod tips.
    r.Hoe = lowestPoint(Hr, H, D2, "Bx1");
    r.reachHx = reach(Hx, Hr, "Bx1");
    r.Bx1 = widthAt(Hr, r.Hoe, r.reachHx, "Bx1");
    return r;
}

}  // namespace tervalen
