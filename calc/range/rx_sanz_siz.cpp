#include "calc/range/rx_sanz_siz.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen {

const char* const kThreeRodsTooFarApart = "避雷针之间距离太大！\n不能按等高三支避雷针方法计算！";
const char* const kFourRodsTooFarApart = "避雷针之间距离太大！\n不能按等高四支避雷针方法计算！";
const char* const kDiagonalUncovered =
    "对角线上无保护宽度！\n正方形对角线上的保护最低点 Ho2 低于地面，对角线上没有保护宽度 Bx2 ！";

void checkTriangleCentre(Recorder& rec, Warnings& warnings, float Hr, double h, float Hx, float L,
                         double& Rc, std::optional<double>& Hoc) {
    constexpr std::string_view where = "三针中心";
    Rc = static_cast<double>(L) / std::sqrt(3.0);
    rec.step("Rc", "{L}/√(3)", {{"L", L}}, Rc, "m");
    Hoc = restingOnTips(h, Rc, Hr);
    if (!Hoc) {
        rec.check("Rc", Rc, "≥", "Hr", Hr, "滚球可从三针中间落至地面");
        warnings.push_back({Place::Centre, std::string(where),
                            std::string(kUncovered) + "（Rc = " + shown(Rc) +
                                " m ≥ Hr = " + shown(Hr) + " m，滚球可落至地面）"});
        return;
    }
    rec.step("Hoc", "{H}+√({Hr}²−{Rc}²)−{Hr}", {{"H", h}, {"Hr", Hr}, {"Rc", Rc}}, *Hoc, "m");
    if (*Hoc < Hx)
        warnings.push_back(lowestBelowHx(Place::Centre, std::string(where), "Hoc", *Hoc, Hx));
    else
        rec.check("Hoc", *Hoc, "≥", "Hx", Hx, "三针中心在 Hx 高度受保护");
}

void checkSquareCentre(Warnings& warnings, float Ho2, float Hx) {
    if (Ho2 < Hx)
        warnings.push_back(lowestBelowHx(Place::Centre, "正方形中心（对角线上）", "Ho2", Ho2, Hx));
}

Outcome<RxSanZ> calcRx_DLSanZ(const RodFigureInput& in) {
    // The three sides are alike: one of them is a pair of rods L apart.
    Outcome<TwoRods> side = twoRods(false, {in.Hr, in.H, in.Hx, in.L}, kThreeRodsTooFarApart,
                                    {"L", "", "三角形边上两针之间"});
    if (const auto* refusal = std::get_if<Refusal>(&side)) return *refusal;
    RxSanZ r{std::move(std::get<TwoRods>(side)), 0, std::nullopt};
    // The sphere resting on the three tips dips lower than on any side.
    Recorder rec;
    rec.append(r.working);
    checkTriangleCentre(rec, r.warnings, in.Hr, in.H, in.Hx, in.L, r.Rc, r.Hoc);
    r.sphere = checkRodsWithSphere({.rods = 3,
                                    .Hr = in.Hr,
                                    .tip = in.H,
                                    .Hx = in.Hx,
                                    .spacing = in.L,
                                    .Ho = r.Ho,
                                    .Bx = r.Bx,
                                    .Rx = r.Rx,
                                    .centre = r.Hoc.value_or(0.0)},
                                   rec, r.warnings);
    r.working = rec.take();
    return r;
}

Outcome<RxSiZ> calcRx_DLSiZ(const RodFigureInput& in) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    const auto L = in.L;
    // Only the side is tested against the reach; the diagonal may still be too long.
    Outcome<TwoRods> side =
        twoRods(false, {Hr, H, Hx, L}, kFourRodsTooFarApart, {"L", "1", "正方形边上两针之间"});
    if (const auto* refusal = std::get_if<Refusal>(&side)) return *refusal;
    RxSiZ r{std::move(std::get<TwoRods>(side)), 0, 0, std::nullopt, {}, {}, {}};
    r.warnings = r.side.warnings;
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
    checkSquareCentre(r.warnings, r.Ho2, Hx);
    r.sphere = checkRodsWithSphere({.rods = 4,
                                    .Hr = Hr,
                                    .tip = H,
                                    .Hx = Hx,
                                    .spacing = L,
                                    .Ho = r.side.Ho,
                                    .Bx = r.side.Bx,
                                    .Rx = r.side.Rx,
                                    .centre = r.Ho2,
                                    .ho = "Ho1",
                                    .bx = "Bx1",
                                    .centreSymbol = "Ho2"},
                                   rec, r.warnings);
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
