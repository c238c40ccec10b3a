#include "calc/range/rx_bdgshuangz.h"

#include <cmath>

#include "calc/common/rolling_sphere.h"
#include "calc/range/rod_pair.h"

namespace tervalen {

const char* const kRod1TooHigh = "避雷针太高！\n避雷针高度 H1 不应大于滚球半径 Hr ！";
const char* const kRod2TooHigh = "避雷针太高！\n避雷针高度 H2 不应大于滚球半径 Hr ！";
const char* const kSurfaceAboveRod1 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H1 ！";
const char* const kSurfaceAboveRod2 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H2 ！";
const char* const kRodsApartEachSingle =
    "避雷针之间距离太大！\n两针的保护范围在地面上不相连，各按单支避雷针计算保护范围。";
const char* const kNoLowestBetweenEachSingle =
    "两针之间无保护最低点！\n较低的避雷针离较高的避雷针过近，各按单支避雷针计算保护范围。";

namespace {

constexpr std::string_view kBetween = "两针之间";

// The whole computation; `rec` receives the working when it is given.
Outcome<RxBDGShuangZ> compute(const UnequalRodsInput& in, Recorder* rec) {
    const auto Hr = in.Hr;
    const auto H1 = in.H1;
    const auto H2 = in.H2;
    const auto D = in.D;
    const auto Hx = in.Hx;
    if (H1 > Hr) return Refusal{kRod1TooHigh};
    if (H2 > Hr) return Refusal{kRod2TooHigh};
    if (Hx > H1) return Refusal{kSurfaceAboveRod1};
    if (Hx > H2) return Refusal{kSurfaceAboveRod2};
    if (rec) {
        rec->check("H1", H1, "≤", "Hr", Hr);
        rec->check("H2", H2, "≤", "Hr", Hr);
        rec->check("Hx", Hx, "≤", "H1", H1);
        rec->check("Hx", Hx, "≤", "H2", H2);
    }

    RxBDGShuangZ r{};
    r.reach1 = reach(H1, Hr, "Rx1");
    r.reach2 = reach(H2, Hr, "Rx2");
    r.reachHx = reach(Hx, Hr, "Rx1");
    r.Rx1 = single(r.reach1 - r.reachHx, "Rx1");
    r.Rx2 = single(r.reach2 - r.reachHx, "Rx2");
    // The sum is rounded before it is compared: a spacing equal to it is apart.
    r.limit = single(r.reach1 + r.reach2, "Dmax");
    if (rec) {
        rec->step("Rx1", reachOf("{H1}") + "−" + reachOf("{Hx}"),
                  {{"H1", H1}, {"Hr", Hr}, {"Hx", Hx}}, r.Rx1, "m");
        rec->step("Rx2", reachOf("{H2}") + "−" + reachOf("{Hx}"),
                  {{"H2", H2}, {"Hr", Hr}, {"Hx", Hx}}, r.Rx2, "m");
        rec->step("Dmax", reachOf("{H1}") + "+" + reachOf("{H2}"),
                  {{"H1", H1}, {"H2", H2}, {"Hr", Hr}}, r.limit, "m");
    }
    const auto eachSingle = [&](const char* why, std::string note) -> Outcome<RxBDGShuangZ> {
        r.single = why;
        // Single rods whose circles at Hx do not meet leave the plane between them open.
        if (static_cast<double>(r.Rx1) + r.Rx2 < D)
            r.warnings.push_back({Place::BetweenRods, std::string(kBetween),
                                  std::string(kUncovered) + "（各按单支避雷针：Rx1 + Rx2 = " +
                                      shown(static_cast<double>(r.Rx1) + r.Rx2) +
                                      " m < D = " + shown(D) + " m）"});
        if (rec) {
            rec->note(std::move(note));
            r.working = rec->take();
        }
        return r;
    };
    if (!(r.limit > D))
        return eachSingle(kRodsApartEachSingle,
                          "D = " + shown(D) + " ≥ Dmax = " + shown(r.limit) +
                              "：两针的保护范围在地面上不相连，各按单支避雷针计算");
    if (rec) rec->check("D", D, "<", "Dmax", r.limit);
    if (!(D > 0))
        return eachSingle(kNoLowestBetweenEachSingle,
                          "D = " + shown(D) + " ≤ 0：两针立于一处，各按单支避雷针计算");

    const double a1 = static_cast<double>(Hr) - H1, a2 = static_cast<double>(Hr) - H2;
    const double d = D;
    // D1 is stored for its box; the lowest point is worked from D1 as computed, so that the
    // pair gives the same Ho and Bx whichever rod is named first.
    const double d1 = quotient(a2 * a2 - a1 * a1 + d * d, 2 * d, "D1");
    const float D1 = single(d1, "D1");
    if (rec)
        rec->step("D1", "(({Hr}−{H2})²−({Hr}−{H1})²+{D}²)/(2×{D})",
                  {{"Hr", Hr}, {"H1", H1}, {"H2", H2}, {"D", D}}, D1, "m");
    if (!(D1 > 0 && D1 < D))
        return eachSingle(kNoLowestBetweenEachSingle,
                          "D1 = " + shown(D1) + " 不在 0 与 D = " + shown(D) +
                              " 之间：两针之间无保护最低点，各按单支避雷针计算");
    if (rec) rec->note("0 < D1 = " + shown(D1) + " < D = " + shown(D) + "：保护最低点在两针之间");

    const float Ho = single(Hr - root(a1 * a1 + d1 * d1, "Ho"), "Ho");
    if (rec)
        rec->step("Ho", "{Hr}−√(({Hr}−{H1})²+{D1}²)", {{"Hr", Hr}, {"H1", H1}, {"D1", D1}}, Ho,
                  "m");
    // At the limit the rounding may leave the lowest point a hair below the ground: the
    // ground circles then do not meet.
    if (Ho < 0)
        return eachSingle(
            kRodsApartEachSingle,
            "Ho = " + shown(Ho) + " < 0：两针的保护范围在地面上不相连，各按单支避雷针计算");
    const double b0 = reach(Ho, Hr, "Bx");
    const float Bx = widthAt(Hr, Ho, r.reachHx, "Bx");
    r.waist = RodWaist{D1, Ho, Bx, b0};
    if (rec) {
        rec->step("b0", reachOf("{Ho}"), {{"Ho", Ho}, {"Hr", Hr}}, b0, "m");
        rec->step("Bx", reachOf("{Ho}") + "−" + reachOf("{Hx}"),
                  {{"Ho", Ho}, {"Hr", Hr}, {"Hx", Hx}}, Bx, "m");
    }
    if (Bx < 0)
        r.warnings.push_back(negativeWidth(Place::BetweenRods, std::string(kBetween), "Bx", Bx));
    else if (Ho < Hx)
        r.warnings.push_back(
            lowestBelowHx(Place::BetweenRods, std::string(kBetween), "Ho", Ho, Hx));
    else if (rec)
        rec->check("Ho", Ho, "≥", "Hx", Hx, "两针之间在 Hx 高度受保护");
    if (rec) r.working = rec->take();
    return r;
}

}  // namespace

Outcome<RxBDGShuangZ> calcRx_BDGShuangZ(const UnequalRodsInput& in) {
    Recorder rec;
    return compute(in, &rec);
}

std::optional<RxBDGShuangZ> unequalRodsQuiet(const UnequalRodsInput& in) {
    auto out = compute(in, nullptr);
    if (auto* r = std::get_if<RxBDGShuangZ>(&out)) return std::move(*r);
    return std::nullopt;
}

}  // namespace tervalen
