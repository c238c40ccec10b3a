// Drawings of one to four rods: the section through a row of rods, the plan at Hx.

#include <algorithm>
#include <cmath>

#include "calc/common/rolling_sphere.h"
#include "drawing/construct.h"
#include "drawing/layouts.h"
#include "drawing/plan_region.h"
#include "drawing/section.h"

namespace tervalen::drawing {
namespace {

constexpr double kSqrt3 = 1.7320508075688772;

std::string planHeading(float Hx) {
    return "平面（被保护面 Hx=" + num(Hx) + " 高度）";
}

// The plan's heading above its items.
void headPlan(Drawing& plan, float Hx) {
    const auto b = plan.bounds();
    if (b)
        label(plan, {b->x0, b->y1 + plan.textHeight}, planHeading(Hx),
              plan.textHeight * kHeadingPerText);
}

// Rod marks and their Rx circles.
void rodsInPlan(Drawing& plan, const std::vector<Point>& rods, double Rx) {
    for (Point p : rods) {
        rodMark(plan, p, plan.textHeight * 0.8);
        rangeCircle(plan, p, Rx);
    }
}

// The waist on the outer side of each side of a clockwise figure, its width dimensioned
// at the middle of the side.
void outerWaists(Drawing& plan, const std::vector<Point>& rods, double h, float Hr, double reachHx,
                 const std::string& name, float Bx) {
    const double th = plan.textHeight;
    for (std::size_t i = 0; i < rods.size(); ++i) {
        const Point a = rods[i], b = rods[(i + 1) % rods.size()];
        plan.add(Line{a, b}, Layer::Aux, Stroke::Thin);
        // Where the ranges do not join on the plane, the waist would lie within the circles.
        if (Bx > 0) waist(plan, a, b, h, Hr, reachHx, +1, {Place::BetweenRods});
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const Point n{-(b.y - a.y) / len, (b.x - a.x) / len};
        const Point mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
        if (Bx > 0) dim(plan, mid, {mid.x + Bx * n.x, mid.y + Bx * n.y}, name + "=" + num(Bx), th);
    }
}

}  // namespace

Drawing drawSingleRod(const SingleRod& r, double th) {
    const double r0 = reach(r.H - sphereBase(r.footing, r.Hx), r.Hr, "r0");
    Drawing d;
    d.textHeight = th;
    rowSection(d, {r.Hr, r.H, r.Hx, r.footing, {0.0}, r.Rx});

    Drawing plan;
    plan.textHeight = th;
    rodsInPlan(plan, {{0, 0}}, r.Rx);
    if (!r.footing.planeIsGround && r0 > r.Rx) {
        plan.add(Circle{{0, 0}, r0}, Layer::Construction, Stroke::Dashed);
        dim(plan, {0, 0}, onCircle({0, 0}, r0, -30), "r0=" + num(r0), th);
    }
    dim(plan, {0, 0}, onCircle({0, 0}, r.Rx, 30), "Rx=" + num(r.Rx), th);
    label(plan, {th, -th * 1.5}, "接闪杆", th);
    addRegion(plan, r.warnings);
    markWeakPoints(plan, r.warnings, {});
    headPlan(plan, r.Hx);
    plan.endPart(Part::Kind::Plan);
    appendBelow(d, std::move(plan), 3 * th);
    return d;
}

Drawing drawRodPair(const RodPair& r, double th) {
    const double base = sphereBase(r.footing, r.Hx);
    Drawing d;
    d.textHeight = th;
    rowSection(d, {r.Hr, r.H, r.Hx, r.footing, {0.0, r.D}, r.Rx, r.Ho});

    Drawing plan;
    plan.textHeight = th;
    rodsInPlan(plan, {{0, 0}, {r.D, 0}}, r.Rx);
    plan.add(Line{{0, 0}, {r.D, 0}}, Layer::Aux, Stroke::Thin);
    if (r.Bx > 0)
        waist(plan, {0, 0}, {r.D, 0}, r.H - base, r.Hr, planeReach(r.footing, r.Hr, r.Hx), 0,
              {Place::BetweenRods});
    if (r.Bx > 0)
        vDim(plan, r.D / 2, 0, r.Bx, "Bx=" + num(r.Bx), th);
    else
        label(plan, {r.D / 2, -th * 3}, "Bx=" + num(r.Bx), th, Align::Centre);
    hDim(plan, 0, r.D, -r.Rx - 1.5 * th, "D=" + num(r.D), th);
    addRegion(plan, r.warnings);
    markWeakPoints(plan, r.warnings, {{Place::BetweenRods, {{r.D / 2, 0}}}});
    headPlan(plan, r.Hx);
    plan.endPart(Part::Kind::Plan);
    appendBelow(d, std::move(plan), 3 * th);
    return d;
}

Drawing drawRodFigure(const RodFigure& r, double th) {
    const bool square = r.rods == 4;
    const double Dg = std::sqrt(2.0) * r.L;
    Drawing d;
    d.textHeight = th;
    rowSection(d, {r.Hr,
                   r.H,
                   r.Hx,
                   {},
                   {0.0, r.L},
                   r.Rx,
                   r.Ho,
                   square ? "Ho1" : "Ho",
                   square ? "剖面 A（沿边长 L）" : "剖面（沿边长 L）"});
    if (square) {
        // The diagonal's section under the side's, its first rod under the first.
        Drawing diagonal;
        diagonal.textHeight = th;
        rowSection(diagonal, {r.Hr,
                              r.H,
                              r.Hx,
                              {},
                              {0.0, Dg},
                              r.Rx,
                              r.Ho2,
                              "Ho2",
                              "剖面 B（沿对角线 Dg=" + num(Dg) + "）"});
        appendBelow(d, std::move(diagonal), 3 * th);
    }

    Drawing plan;
    plan.textHeight = th;
    std::vector<Point> rods =
        square ? std::vector<Point>{{0, 0}, {r.L, 0}, {r.L, -r.L}, {0, -r.L}}
               : std::vector<Point>{{0, 0}, {r.L, 0}, {r.L / 2, -r.L * kSqrt3 / 2}};
    rodsInPlan(plan, rods, r.Rx);
    const double reachHx = reach(r.Hx, r.Hr, "Rx");
    outerWaists(plan, rods, r.H, r.Hr, reachHx, square ? "Bx1" : "Bx", r.Bx);
    const Point centre = square ? Point{r.L / 2, -r.L / 2} : Point{r.L / 2, -r.L * kSqrt3 / 6};
    // Three rods whose sides join enclose their triangle; four rods claim their inside
    // through the diagonals' waists. Either claim is withdrawn where the sphere reaches
    // the centre or a side.
    const std::vector<Place> inside{Place::Centre, Place::BetweenRods};
    if (!square && r.Bx > 0) claimPolygon(plan, rods, inside);
    if (square) {
        const Point c = centre;
        plan.add(Line{rods[0], rods[2]}, Layer::Aux, Stroke::Thin);
        plan.add(Line{rods[1], rods[3]}, Layer::Aux, Stroke::Thin);
        if (r.Bx2) {
            if (*r.Bx2 > 0) {
                waist(plan, rods[0], rods[2], r.H, r.Hr, reachHx, 0, inside);
                waist(plan, rods[1], rods[3], r.H, r.Hr, reachHx, 0, inside);
                const double k = *r.Bx2 / std::sqrt(2.0);
                dim(plan, c, {c.x + k, c.y + k}, "Bx2=" + num(*r.Bx2), th);
            }
        } else {
            // What the form says of it, beside the centre's mark.
            plan.add(Text{{c.x, c.y - 3 * th},
                          "对角线上无保护宽度（Ho2 低于地面）",
                          th,
                          Align::Centre,
                          true},
                     Layer::Warn);
        }
    }
    std::vector<Point> sides;
    for (std::size_t i = 0; i < rods.size(); ++i) {
        const Point a = rods[i], b = rods[(i + 1) % rods.size()];
        sides.push_back({(a.x + b.x) / 2, (a.y + b.y) / 2});
    }
    addRegion(plan, r.warnings);
    markWeakPoints(plan, r.warnings, {{Place::BetweenRods, sides}, {Place::Centre, {centre}}});
    headPlan(plan, r.Hx);
    plan.endPart(Part::Kind::Plan);
    appendBelow(d, std::move(plan), 3 * th);
    return d;
}

}  // namespace tervalen::drawing
