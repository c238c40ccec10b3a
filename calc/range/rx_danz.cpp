#include "calc/range/rx_danz.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen {

const char* const kRodTooHigh = "避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！";
const char* const kSurfaceTooHigh = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H ！";

namespace {

Outcome<RxDanZ> standaloneRod(const RodInput& in) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    if (H > Hr) return Refusal{kRodTooHigh};
    if (Hx > H) return Refusal{kSurfaceTooHigh};
    Recorder rec;
    rec.check("H", H, "≤", "Hr", Hr);
    rec.check("Hx", Hx, "≤", "H", H);
    const double reachH = reach(H, Hr, "Rx");
    const double reachHx = reach(Hx, Hr, "Rx");
    RxDanZ r{single(reachH - reachHx, "Rx"), H, reachH, reachHx, {}, {}, {}};
    rec.step("Rx", reachOf("{H}") + "−" + reachOf("{Hx}"), {{"H", H}, {"Hr", Hr}, {"Hx", Hx}}, r.Rx,
             "m");
    r.working = rec.take();
    return r;
}

Outcome<RxDanZ> rodOnRoof(const RodInput& in) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    // The height above the roof is what is tested against Hr, after its own rounding.
    const double h = static_cast<double>(H) - Hx;
    const float hStored = single(h, "H − Hx");
    if (hStored > Hr) return Refusal{kRodTooHigh};
    if (Hx > H) return Refusal{kSurfaceTooHigh};
    Recorder rec;
    rec.note("建筑物为与大地连通的等电位体：Hx 高度的屋面视为地面");
    rec.step("h", "{H}−{Hx}", {{"H", H}, {"Hx", Hx}}, hStored, "m");
    rec.check("h", hStored, "≤", "Hr", Hr);
    rec.check("Hx", Hx, "≤", "H", H);
    const double reachH = root((2.0 * Hr - h) * h, "Rx");
    RxDanZ r{single(reachH, "Rx"), hStored, reachH, 0.0, {}, {}, {}};
    rec.step("Rx", "√((2×{Hr}−{h})×{h})", {{"Hr", Hr}, {"h", h}}, r.Rx, "m");
    r.working = rec.take();
    return r;
}

// The rod's range checked with the exact sphere at its radius.
Outcome<RxDanZ> checked(Outcome<RxDanZ> out, const RodInput& in, bool onRoof,
                        std::string_view model = {}) {
    if (auto* r = std::get_if<RxDanZ>(&out)) {
        Recorder rec;
        rec.append(r->working);
        r->sphere = checkRodsWithSphere({.rods = 1,
                                         .Hr = in.Hr,
                                         .tip = in.H,
                                         .Hx = in.Hx,
                                         .onRoof = onRoof,
                                         .Rx = r->Rx,
                                         .model = model},
                                        rec, r->warnings);
        r->working = rec.take();
    }
    return out;
}

}  // namespace

Outcome<RxDanZ> rodRadius(bool roofIsGround, const RodInput& in) {
    return roofIsGround ? rodOnRoof(in) : standaloneRod(in);
}

Outcome<RxDanZ> calcRx_DLDanZ(const RodInput& in) {
    return checked(standaloneRod(in), in, false);
}

Outcome<RxDanZ> calcRx_JSDanZ(const RodOnBuildingInput& in) {
    const RodInput rod{in.Hr, in.H, in.Hx};
    if (in.yesNo) return checked(rodOnRoof(rod), rod, true);
    auto standalone = standaloneRod(rod);
    if (auto* r = std::get_if<RxDanZ>(&standalone))
        r->working.insert(
            r->working.begin(),
            Step{{}, {}, {}, {}, {}, "建筑物不是与大地连通的等电位体：按独立避雷针计算"});
    return checked(std::move(standalone), rod, false, kRodOnGroundModel);
}

}  // namespace tervalen
