#include "calc/height/h_sansiz.h"

#include <cmath>

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/range/rod_pair.h"
#include "calc/range/rx_sanz_siz.h"

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

// The height at which a centre's lowest point reaches Hx, worked out from its formula and
// added to its warning: "中心处满足要求需 H ≥ …". `need` is nothing when no height does it.
void addNeededHeight(Recorder& rec, Warnings& warnings, float Hr, std::optional<double> need,
                     std::string_view pattern, std::initializer_list<Operand> operands,
                     std::string_view what) {
    std::string say;
    if (!need) {
        rec.note(std::string("任何针高都不能使") + std::string(what) + "在 Hx 高度受保护");
        say = "；任何针高都不能使该处受保护，须减小边长 L";
    } else {
        rec.step("Hmin", pattern, operands, *need, "m");
        say = "；中心处满足要求需 H ≥ " + shownUp(*need) + " m";
        if (*need > Hr) say += "，大于 Hr = " + shown(Hr) + " m，须减小边长 L";
    }
    for (Warning& w : warnings)
        if (w.place == Place::Centre) w.text += say;
}

}  // namespace

Outcome<HDLSanZ> calcH_DLSanZ(const RodFigureHeightInput& in) {
    auto found = sideSearch(in, true);
    auto* r = std::get_if<RodPairHeight>(&found);
    if (!r) return found;
    // The side is met; the centre of the triangle, where the sphere rests on the three
    // tips, dips lower still.
    Recorder rec;
    rec.append(r->working);
    double Rc = 0;
    std::optional<double> Hoc;
    checkTriangleCentre(rec, r->warnings, in.Hr, r->H, in.Hx, in.L, Rc, Hoc);
    if (!r->warnings.empty()) {
        // The centre point rises with the tips: it reaches Hx at Hx + Hr − √(Hr² − Rc²),
        // Hx less the centre point of tips at the ground; none when Rc ≥ Hr.
        std::optional<double> H = restingOnTips(0.0, Rc, in.Hr);
        if (H) H = in.Hx - *H;
        addNeededHeight(rec, r->warnings, in.Hr, H, "{Hx}+{Hr}−√({Hr}²−{Rc}²)",
                        {{"Hx", in.Hx}, {"Hr", in.Hr}, {"Rc", Rc}}, "三针中心");
    }
    r->sphere = checkRodsWithSphere({.rods = 3,
                                     .Hr = in.Hr,
                                     .tip = r->H,
                                     .Hx = in.Hx,
                                     .spacing = in.L,
                                     .Ho = r->Ho,
                                     .Bx = r->Bx,
                                     .widthRequired = true,
                                     .centre = Hoc.value_or(0.0)},
                                    rec, r->warnings);
    r->working = rec.take();
    return found;
}

Outcome<HDLSiZ> calcH_DLSiZ(const RodFigureHeightInput& in) {
    const auto Hr = in.Hr;
    const auto Hx = in.Hx;
    const auto L = in.L;
    const float Ld = diagonal(L, "Ld");
    // The square compares each step's width and lowest point as computed.
    auto found = sideSearch(in, false);
    if (const auto* refusal = std::get_if<Refusal>(&found)) return *refusal;
    HDLSiZ r{std::get<RodPairHeight>(found), Ld, 0, 0, 0, std::nullopt, {}, {}, {}};
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
    checkSquareCentre(r.warnings, r.Ho2, Hx);
    if (!r.warnings.empty()) {
        // Ho2 reaches Hx at Hr − √((Hr − Hx)² − (Ld/2)²), while Ld/2 ≤ Hr − Hx.
        const double free = static_cast<double>(Hr) - Hx, half = static_cast<double>(Ld) / 2;
        std::optional<double> need;
        if (half <= free) need = Hr - std::sqrt(free * free - half * half);
        addNeededHeight(rec, r.warnings, Hr, need, "{Hr}−√(({Hr}−{Hx})²−({Ld}/2)²)",
                        {{"Hr", Hr}, {"Hx", Hx}, {"Ld", Ld}}, "正方形中心");
    }
    r.sphere = checkRodsWithSphere({.rods = 4,
                                    .Hr = Hr,
                                    .tip = H,
                                    .Hx = Hx,
                                    .spacing = L,
                                    .Ho = r.Ho1,
                                    .Bx = r.Bx1,
                                    .centre = r.Ho2,
                                    .ho = "Ho1",
                                    .bx = "Bx1",
                                    .centreSymbol = "Ho2"},
                                   rec, r.warnings);
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
