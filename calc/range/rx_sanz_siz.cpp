#include "calc/range/rx_sanz_siz.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen {

const char* const kThreeRodsTooFarApart = "避雷针之间距离太大！\n不能按等高三支避雷针方法计算！";
const char* const kFourRodsTooFarApart = "避雷针之间距离太大！\n不能按等高四支避雷针方法计算！";
const char* const kDiagonalUncovered =
    "对角线上无保护宽度！\n正方形对角线上的保护最低点 Ho2 低于地面，对角线上没有保护宽度 Bx2 ！";

Outcome<RxSanZ> calcRx_DLSanZ(const RodFigureInput& in) {
    // The three sides are alike: one of them is a pair of rods L apart.
    return twoRods(false, {in.Hr, in.H, in.Hx, in.L}, kThreeRodsTooFarApart, {"L"});
}

Outcome<RxSiZ> calcRx_DLSiZ(const RodFigureInput& in) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    const auto L = in.L;
    // Only the side is tested against the reach; the diagonal may still be too long.
    Outcome<TwoRods> side = twoRods(false, {Hr, H, Hx, L}, kFourRodsTooFarApart, {"L", "1"});
    if (const auto* refusal = std::get_if<Refusal>(&side)) return *refusal;
    RxSiZ r{std::move(std::get<TwoRods>(side)), 0, 0, std::nullopt, {}};
    Recorder rec;
    rec.append(r.side.working);
    r.Dg = diagonal(L, "Dg");
    rec.step("Dg", "√({L}²+{L}²)", {{"L", L}}, r.Dg, "m");
    r.Ho2 = lowestPoint(Hr, H, r.Dg, "Ho2");
    rec.step("Ho2", lowestOf("{H}", "{Dg}"), {{"Hr", Hr}, {"H", H}, {"Dg", r.Dg}}, r.Ho2, "m");
    if (r.Ho2 >= 0) {
        rec.check("Ho2", r.Ho2, "≥", "0", 0);
        r.Bx2 = widthAt(Hr, r.Ho2, r.side.reachHx, "Bx2");
        rec.step("Bx2", reachOf("{Ho2}") + "−" + reachOf("{Hx}"),
                 {{"Ho2", r.Ho2}, {"Hr", Hr}, {"Hx", Hx}}, *r.Bx2, "m");
    } else {
        rec.note("Ho2 = " + shown(r.Ho2) + " < 0：保护最低点低于地面，对角线上没有保护宽度 Bx2");
    }
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
