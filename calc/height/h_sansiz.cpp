#include "calc/height/h_sansiz.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/range/rod_pair.h"

namespace tervalen {

const char* const kNoThreeRodHeight = "等边三角形的边长太大\n不能按独立等高三针方法计算出针高";

namespace {

Outcome<RodPairHeight> sideSearch(const RodFigureHeightInput& in, bool compareStored) {
    const auto Hr = in.Hr;
    const auto Bxo = in.Bxo;
    const auto Hx = in.Hx;
    const auto L = in.L;
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    auto found = searchRodPair(
        {.Hr = Hr, .Bxo = Bxo, .Hx = Hx, .s = L, .compareStored = compareStored, .spacing = "L"});
    auto* r = std::get_if<RodPairHeight>(&found);
    if (!r) return found;
    if (!spacingCovered(r->H, Hr, L)) return Refusal{kNoThreeRodHeight};
    noteSpacingCovered(r->H, Hr, L, "L", r->working);
    Recorder rec;
    noteSphereChecks(rec, Hr, Hx, "Bxo", Bxo);
    rec.append(r->working);
    r->working = rec.take();
    return found;
}

}  // namespace

Outcome<HDLSanZ> calcH_DLSanZ(const RodFigureHeightInput& in) {
    return sideSearch(in, true);
}

Outcome<HDLSiZ> calcH_DLSiZ(const RodFigureHeightInput& in) {
    const auto Hr = in.Hr;
    const auto Hx = in.Hx;
    const auto L = in.L;
    const float Ld = diagonal(L, "Ld");
    // The square compares each step's width and lowest point as computed.
    auto found = sideSearch(in, false);
    if (const auto* refusal = std::get_if<Refusal>(&found)) return *refusal;
    HDLSiZ r{std::get<RodPairHeight>(found), Ld, 0, 0, 0, std::nullopt, {}};
    Recorder rec;
    rec.append(r.search.working);
    rec.step("Ld", "√({L}²+{L}²)", {{"L", L}}, Ld, "m");
    const float H = r.search.H;
    const double reachHx = reach(Hx, Hr, "Bx1");
    r.Ho1 = lowestPoint(Hr, H, L, "Ho1");
    rec.step("Ho1", lowestOf("{H}", "{L}"), {{"Hr", Hr}, {"H", H}, {"L", L}}, r.Ho1, "m");
    r.Bx1 = widthAt(Hr, r.Ho1, reachHx, "Bx1");
    rec.step("Bx1", reachOf("{Ho1}") + "−" + reachOf("{Hx}"),
             {{"Ho1", r.Ho1}, {"Hr", Hr}, {"Hx", Hx}}, r.Bx1, "m");
    r.Ho2 = lowestPoint(Hr, H, Ld, "Ho2");
    rec.step("Ho2", lowestOf("{H}", "{Ld}"), {{"Hr", Hr}, {"H", H}, {"Ld", Ld}}, r.Ho2, "m");
    if (r.Ho2 >= 0) {
        rec.check("Ho2", r.Ho2, "≥", "0", 0);
        r.Bx2 = widthAt(Hr, r.Ho2, reachHx, "Bx2");
        rec.step("Bx2", reachOf("{Ho2}") + "−" + reachOf("{Hx}"),
                 {{"Ho2", r.Ho2}, {"Hr", Hr}, {"Hx", Hx}}, *r.Bx2, "m");
    } else {
        rec.note("Ho2 = " + shown(r.Ho2) + " < 0：保护最低点低于地面，对角线上没有保护宽度 Bx2");
    }
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
