// Drawings of one or two overhead wires: the section across the wires at a support and
// at mid-span, where the wire hangs `sag` lower, and the plan of the protected strip.

#include <algorithm>
#include <cmath>

#include "calc/common/arith.h"
#include "calc/common/rolling_sphere.h"
#include "drawing/construct.h"
#include "drawing/layouts.h"
#include "drawing/plan_region.h"
#include "drawing/section.h"

namespace tervalen::drawing {
namespace {

void planHeading(Drawing& plan, float Hx) {
    const auto b = plan.bounds();
    if (b)
        label(plan, {b->x0, b->y1 + plan.textHeight}, "平面（被保护面 Hx=" + num(Hx) + " 高度）",
              plan.textHeight * kHeadingPerText);
}

// A wire seen end on: a small circle at its height.
void wireMark(Drawing& d, Point p) {
    d.add(Circle{p, d.textHeight * 0.3}, Layer::Rod);
}

// What both wire sections share: ground, the lines at Hr and Hx, H, Hx, Hr dimensions.
void sectionFrame(Drawing& d, double xl, double xr, float Hr, float H, float Hx) {
    const double th = d.textHeight;
    const double m = std::max(0.08 * (xr - xl), 3 * th);
    d.add(Line{{xl - m, 0}, {xr + m, 0}}, Layer::Rod);
    label(d, {xr + m, th * 0.3}, "地面", th, Align::Right);
    d.add(Line{{xl - m, Hr}, {xr + m, Hr}}, Layer::Aux, Stroke::Thin);
    label(d, {xr + m, Hr + th * 0.3}, "滚球半径 Hr=" + num(Hr), th, Align::Right);
    d.add(Line{{xl - m, Hx}, {xr + m, Hx}}, Layer::Hx, Stroke::Dashed);
    label(d, {xl - m, Hx + th * 0.3}, "被保护面 Hx=" + num(Hx), th);
    vDim(d, xl - m * 0.5, 0, H, "H=" + num(H), th);
    if (Hx > 0) vDim(d, xl - m * 0.5 - 5 * th, 0, Hx, "Hx=" + num(Hx), th);
    vDim(d, xr + m * 0.5 + 1.5 * th, 0, Hr, "Hr=" + num(Hr), th);
    label(d, {xl - m, std::max<double>(Hr, H) + th * 2.5},
          "剖面（垂直于避雷线；实线：支柱处，虚线：档距中央）", th * kHeadingPerText);
}

}  // namespace

Drawing drawSingleWire(const SingleWire& w, double th) {
    const double low = static_cast<double>(w.H) - w.sag;
    const double reachHx = reach(w.Hx, w.Hr, "Bx");
    const double r0 = reach(w.H, w.Hr, "r0");
    Drawing d;
    d.textHeight = th;

    d.add(Line{{0, 0}, {0, w.H}}, Layer::Rod);
    wireMark(d, {0, w.H});
    wireMark(d, {0, low});
    label(d, {th * 0.6, w.H + th * 0.3}, "避雷线（支柱处）", th);
    label(d, {th * 0.6, low - th * 1.3}, "避雷线（档距中央，弧垂 " + num(w.sag) + " m）", th);
    for (int side : {-1, 1}) {
        boundaryArc(d, 0, 0, w.H, w.Hr, side);
        boundaryArc(d, 0, 0, low, w.Hr, side, Stroke::Dashed);
    }
    // Where the boundaries cross the plane Hx.
    const double bx2 = r0 - reachHx, bx1 = reach(low, w.Hr, "Bx1") - reachHx;
    for (double x : {-bx2, bx2, -bx1, bx1}) cross(d, {x, w.Hx}, th * 0.8, Layer::Hx);
    sectionFrame(d, -r0, r0, w.Hr, w.H, w.Hx);
    // Under the plane Hx where there is room above the ground, else over it.
    const double below = w.Hx >= 5 * th ? -1 : 1;
    hDim(d, 0, w.Bx2, w.Hx + below * th * 1.6, "Bx2=" + num(w.Bx2), th);
    hDim(d, 0, w.Bx1, w.Hx + below * th * 3.4, "Bx1=" + num(w.Bx1), th);
    vDim(d, -th * 0.8, 0, w.Hh, "Hh=" + num(w.Hh), th);
    d.endPart(Part::Kind::Section);

    Drawing plan;
    plan.textHeight = th;
    plan.add(Line{{0, 0}, {w.D, 0}}, Layer::Rod);
    label(plan, {w.D / 4, th * 0.3}, "避雷线", th, Align::Centre);
    // The width at the supports all round them.
    for (double x : {0.0, static_cast<double>(w.D)}) {
        rodMark(plan, {x, 0}, th * 0.8);
        rangeCircle(plan, {x, 0}, w.Bx2, {Place::Supports});
    }
    strip(plan, {0, 0}, {w.D, 0}, w.H, w.sag, w.Hr, reachHx, 0,
          {Place::MidSpan, Place::Supports, Place::UnderWire});
    if (w.Bx1 > 0) vDim(plan, w.D / 2, 0, w.Bx1, "Bx1=" + num(w.Bx1), th);
    if (w.Bx2 > 0) vDim(plan, w.D, 0, -w.Bx2, "Bx2=" + num(w.Bx2), th);
    hDim(plan, 0, w.D, -std::max<double>(w.Bx2, w.Bx1) - 2 * th, "D=" + num(w.D), th);
    addRegion(plan, w.warnings);
    markWeakPoints(plan, w.warnings,
                   {{Place::MidSpan, {{w.D / 2, 0}}},
                    {Place::Supports, {{0, 0}, {w.D, 0}}},
                    {Place::UnderWire, {{w.D / 2, 0}}}});
    planHeading(plan, w.Hx);
    plan.endPart(Part::Kind::Plan);
    appendBelow(d, std::move(plan), 3 * th);
    return d;
}

Drawing drawWirePair(const WirePair& w, double th) {
    const double low = static_cast<double>(w.H) - w.sag;
    const double reachHx = reach(w.Hx, w.Hr, "Bx");
    const double r0 = reach(w.H, w.Hr, "r0");
    Drawing d;
    d.textHeight = th;
    const double D2 = w.D2, mid = D2 / 2;

    for (double x : {0.0, D2}) {
        d.add(Line{{x, 0}, {x, w.H}}, Layer::Rod);
        wireMark(d, {x, w.H});
        wireMark(d, {x, low});
    }
    label(d, {th * 0.6, w.H + th * 0.3}, "避雷线（支柱处）", th);
    boundaryArc(d, 0, 0, w.H, w.Hr, -1);
    boundaryArc(d, D2, 0, w.H, w.Hr, +1);
    boundaryArc(d, 0, 0, low, w.Hr, -1, Stroke::Dashed);
    boundaryArc(d, D2, 0, low, w.Hr, +1, Stroke::Dashed);
    // At the supports the wires are two tips: the upper edge as between two rods.
    const double hoe = upperEdge(d, 0, D2, 0, w.H, w.Hr);
    if (hoe < w.Hx) {
        const double R = w.Hr - hoe, dy = w.Hx - static_cast<double>(w.Hr);
        const double dx = std::sqrt(std::max(0.0, R * R - dy * dy));
        uncoveredStretch(d, mid - dx, mid + dx, w.Hx);
    }
    // At mid-span the sphere rests on both sagging wires, or, where it passes between them
    // down to the ground, each wire bounds its own range on its inner side too.
    const double reachLow = reach(low, w.Hr, "Ho");
    if (mid < reachLow) {
        const Point c{mid, low + root(static_cast<double>(w.Hr) * w.Hr - mid * mid, "Ho")};
        // Its centre lies above the line at Hr, where nothing would say what it is: unmarked.
        d.add(Arc{c, w.Hr, angleOf(c, {0, low}), angleOf(c, {D2, low})}, Layer::Range,
              Stroke::Dashed);
        vDim(d, mid, 0, w.Ho, "Ho=" + num(w.Ho), th);
        if (w.Ho < w.Hx) {
            // The plane Hx between the wires at mid-span, where the sphere reaches it.
            const double dx = std::sqrt(
                std::max(0.0, static_cast<double>(w.Hr) * w.Hr - (w.Hx - c.y) * (w.Hx - c.y)));
            uncoveredStretch(d, std::max(mid - dx, 0.0), std::min(mid + dx, D2), w.Hx);
        }
    } else {
        boundaryArc(d, 0, 0, low, w.Hr, +1, Stroke::Dashed);
        boundaryArc(d, D2, 0, low, w.Hr, -1, Stroke::Dashed);
        const double inner = std::max(reachLow - reachHx, 0.0);
        uncoveredStretch(d, inner, D2 - inner, w.Hx);
        label(d, {mid, std::max<double>(w.Hx, 0) + th * 0.8}, "Ho=" + num(w.Ho) + "（低于地面）",
              th, Align::Centre);
    }
    label(d, {mid + th * 0.5, hoe + th * 0.3}, "支柱处最低点 " + num(hoe), th);
    const double outer = r0 - reachHx;
    for (double x : {-outer, D2 + outer}) cross(d, {x, w.Hx}, th * 0.8, Layer::Hx);
    sectionFrame(d, -r0, D2 + r0, w.Hr, w.H, w.Hx);
    d.endPart(Part::Kind::Section);

    Drawing plan;
    plan.textHeight = th;
    const double D1 = w.D1;
    for (double y : {0.0, -D2}) {
        plan.add(Line{{0, y}, {D1, y}}, Layer::Rod);
        for (double x : {0.0, D1}) {
            rodMark(plan, {x, y}, th * 0.8);
            rangeCircle(plan, {x, y}, outer);
        }
    }
    label(plan, {D1 / 4, th * 0.3}, "避雷线", th, Align::Centre);
    strip(plan, {0, 0}, {D1, 0}, w.H, w.sag, w.Hr, reachHx, +1, {});
    strip(plan, {0, -D2}, {D1, -D2}, w.H, w.sag, w.Hr, reachHx, -1, {});
    // Beyond both ends the supports are two tips D2 apart (where their ranges join on the
    // plane Hx; else the waist would lie within the circles).
    if (w.Bx1 > 0) {
        waist(plan, {0, 0}, {0, -D2}, w.H, w.Hr, reachHx, -1, {Place::WireEnds});
        waist(plan, {D1, 0}, {D1, -D2}, w.H, w.Hr, reachHx, +1, {Place::WireEnds});
    }
    plan.add(Line{{-outer, -mid}, {D1 + outer, -mid}}, Layer::Aux, Stroke::Thin);
    if (w.Bx1 > 0) hDim(plan, D1, D1 + w.Bx1, -mid - th * 0.2, "Bx1=" + num(w.Bx1), th);
    if (w.Ho >= w.Hx) {
        claimPolygon(plan, {{0, 0}, {D1, 0}, {D1, -D2}, {0, -D2}},
                     {Place::BetweenWires, Place::WireEnds});
        label(plan, {D1 / 2, -mid - th * 1.5}, "两线之间在 Hx 平面上全部受保护", th, Align::Centre);
    } else {
        // Each wire's strip on the inner side too: between them the plane is open.
        strip(plan, {0, 0}, {D1, 0}, w.H, w.sag, w.Hr, reachHx, -1, {Place::BetweenWires});
        strip(plan, {0, -D2}, {D1, -D2}, w.H, w.sag, w.Hr, reachHx, +1, {Place::BetweenWires});
    }
    hDim(plan, 0, D1, outer + th * 1.5, "D1=" + num(w.D1), th);
    vDim(plan, -std::max<double>(outer, w.Bx1) - 2 * th, 0, -D2, "D2=" + num(w.D2), th);
    addRegion(plan, w.warnings);
    markWeakPoints(
        plan, w.warnings,
        {{Place::BetweenWires, {{D1 / 2, -mid}}}, {Place::WireEnds, {{0, -mid}, {D1, -mid}}}});
    planHeading(plan, w.Hx);
    plan.endPart(Part::Kind::Plan);
    appendBelow(d, std::move(plan), 3 * th);
    return d;
}

}  // namespace tervalen::drawing
