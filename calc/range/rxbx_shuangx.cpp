#include "calc/range/rxbx_shuangx.h"

#include "calc/common/rolling_sphere.h"
#include "calc/range/rod_pair.h"
#include "calc/range/rxbx_danx.h"

namespace tervalen {

const char* const kWiresTooHigh = "避雷线太高！\n避雷线高度 H 不应大于滚球半径2倍 Hr ！";
const char* const kWiresTooFarApart = "避雷线之间距离太大！\n不能按双根等高避雷线方法计算！";
const char* const kWiresAboveSphereRadius = "避雷线高度过高，无保护范围！";

void wirePairWarnings(std::optional<float> Ho, float Hx, std::optional<float> Bx1,
                      Warnings& warnings) {
    if (Ho && *Ho < Hx)
        warnings.push_back(
            lowestBelowHx(Place::BetweenWires, "两线之间（档距中央）", "Ho", *Ho, Hx));
    if (Bx1 && *Bx1 < 0)
        warnings.push_back(negativeWidth(Place::WireEnds, "两线之间（支柱处）", "Bx1", *Bx1));
}

Outcome<RxBxShuangX> calcRxBx_ShuangX(const WirePairInput& in) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    const auto D1 = in.D1;
    const auto D2 = in.D2;
    // H = 2·Hr passes here; its reach is 0, so the spacing test refuses it.
    const float twoHr = single(2.0 * Hr, "2Hr");
    if (twoHr < H) return Refusal{kWiresTooHigh};
    if (Hx > H) return Refusal{kWireSurfaceTooHigh};
    RxBxShuangX r{};
    r.limit = single(2.0 * reach(H, Hr, "间距上限"), "间距上限");
    if (!(r.limit > D2)) return Refusal{kWiresTooFarApart};
    // Wires higher than the sphere radius get no range worked out: one line says so.
    if (H > Hr) return Refusal{kWiresAboveSphereRadius};
    const auto sag = sagFor(D1);
    if (!sag) return Refusal{spanTooLong("D1")};

    Recorder rec;
    rec.check("H", H, "≤", "2Hr", twoHr);
    rec.check("Hx", Hx, "≤", "H", H);
    rec.step("D2max", "2×" + reachOf("{H}"), {{"H", H}, {"Hr", Hr}}, r.limit, "m");
    rec.check("D2", D2, "<", "D2max", r.limit);
    rec.check("H", H, "≤", "Hr", Hr);
    recordSag(rec, "D1", D1, *sag);
    r.sag = *sag;
    r.Ho = single(wireLowest(static_cast<double>(H) - r.sag, D2, Hr, "Ho"), "Ho");
    rec.step("Ho", "({H}−{Hc})+√({Hr}²−({D2}/2)²)−{Hr}",
             {{"H", H}, {"Hc", r.sag}, {"Hr", Hr}, {"D2", D2}}, r.Ho, "m");
    // At the supports the wires hang at full height: the sphere sits on them as on two rod tips.
    r.Hoe = lowestPoint(Hr, H, D2, "Bx1");
    rec.step("Hoe", lowestOf("{H}", "{D2}"), {{"Hr", Hr}, {"H", H}, {"D2", D2}}, r.Hoe, "m");
    r.reachHx = reach(Hx, Hr, "Bx1");
    r.Bx1 = widthAt(Hr, r.Hoe, r.reachHx, "Bx1");
    rec.step("Bx1", reachOf("{Hoe}") + "−" + reachOf("{Hx}"),
             {{"Hoe", r.Hoe}, {"Hr", Hr}, {"Hx", Hx}}, r.Bx1, "m");
    wirePairWarnings(r.Ho, Hx, r.Bx1, r.warnings);
    r.sphere = checkWiresWithSphere({.wires = 2,
                                     .Hr = Hr,
                                     .H = H,
                                     .Hx = Hx,
                                     .span = D1,
                                     .sag = static_cast<double>(r.sag),
                                     .apart = D2,
                                     .Ho = r.Ho,
                                     .Hoe = r.Hoe,
                                     .Bx1 = r.Bx1},
                                    rec, r.warnings);
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
