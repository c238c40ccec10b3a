// The drawing of two rods of different heights: the section along the rods with each
// rod's outer boundary and the upper edge between the tips, whose lowest point lies on
// the line D1 from rod 1; the plan at Hx with both circles and the waist about that line.

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "calc/common/rolling_sphere.h"
#include "drawing/construct.h"
#include "drawing/layouts.h"
#include "drawing/plan_region.h"
#include "drawing/section.h"

namespace tervalen::drawing {
namespace {

constexpr int kSteps = 96;

// The upper edge between the tips, as a function of the distance x from rod 1: the
// sphere resting on both tips with its centre on the line D1 at height Hr, so
// hx = Hr − √(R² − (x − D1)²) with R = √((Hr − H1)² + D1²) (= Hr − Ho).
struct Edge {
    double Hr, D1, R;
    double at(double x) const {
        const double u = x - D1;
        return Hr - std::sqrt(std::max(0.0, R * R - u * u));
    }
};

// The waist in plan between the rods at (0, 0) and (D, 0), on both sides of the axis: at
// each x, the width on the plane Hx of the sphere resting on the upper edge there. The
// line D1 is one of the points, so the waist's narrowest width is drawn where it is.
void waistAbout(Drawing& plan, const Edge& edge, double D, double top, double reachHx) {
    std::vector<double> xs;
    for (int i = 0; i <= kSteps; ++i) xs.push_back(D * i / kSteps);
    xs.push_back(edge.D1);
    std::sort(xs.begin(), xs.end());
    for (int side : {1, -1}) {
        Polyline run;
        const auto flush = [&] {
            if (run.points.size() >= 2) {
                plan.add(run, Layer::Construction);
                std::vector<Point> ring{{run.points.front().x, 0}};
                ring.insert(ring.end(), run.points.begin(), run.points.end());
                ring.push_back({run.points.back().x, 0});
                claimPolygon(plan, std::move(ring), {Place::BetweenRods});
            }
            run.points.clear();
        };
        for (double x : xs) {
            const double h = std::min(edge.at(x), top);
            const double w = h < 0 ? -1 : reach(h, edge.Hr, "Bx") - reachHx;
            if (w < 0) {
                flush();
                continue;
            }
            run.points.push_back({x, side * w});
        }
        flush();
    }
}

std::string secondLine(const std::string& sentence) {
    const auto nl = sentence.find('\n');
    return nl == std::string::npos ? sentence : sentence.substr(nl + 1);
}

void section(Drawing& d, const UnequalRodPair& r) {
    const double th = d.textHeight;
    const double r01 = boundaryArc(d, 0, 0, r.H1, r.Hr, -1);
    const double r02 = boundaryArc(d, r.D, 0, r.H2, r.Hr, +1);
    const double reachHx = reach(r.Hx, r.Hr, "Rx");
    const double xl = -std::max(r01, 0.0), xr = r.D + std::max(r02, 0.0);
    const double m = std::max(0.08 * (xr - xl), 3 * th);

    d.add(Line{{xl - m, 0}, {xr + m, 0}}, Layer::Rod);
    label(d, {xr + m, th * 0.3}, "地面", th, Align::Right);
    d.add(Line{{0, 0}, {0, r.H1}}, Layer::Rod);
    d.add(Line{{r.D, 0}, {r.D, r.H2}}, Layer::Rod);
    // The first rod named on its left, the second on its right: apart however close.
    label(d, {-th * 0.4, r.H1 + th * 0.3}, "接闪杆 1", th, Align::Right);
    label(d, {r.D + th * 0.4, r.H2 + th * 0.3}, "接闪杆 2", th);

    d.add(Line{{xl - m, r.Hr}, {xr + m, r.Hr}}, Layer::Aux, Stroke::Thin);
    label(d, {xr + m, r.Hr + th * 0.3}, "滚球半径 Hr=" + num(r.Hr), th, Align::Right);
    d.add(Line{{xl - m, r.Hx}, {xr + m, r.Hx}}, Layer::Hx, Stroke::Dashed);
    label(d, {xl - m, r.Hx + th * 0.3}, "被保护面 Hx=" + num(r.Hx), th);
    cross(d, {-(r01 - reachHx), r.Hx}, th * 0.8, Layer::Hx);
    cross(d, {r.D + r02 - reachHx, r.Hx}, th * 0.8, Layer::Hx);

    if (r.D1 && r.Ho) {
        // The upper edge through both tips, centred on the line D1 at height Hr.
        const Point c{*r.D1, r.Hr};
        const double R = std::hypot(r.Hr - static_cast<double>(r.H1), *r.D1);
        d.add(Arc{c, R, angleOf(c, {0, r.H1}), angleOf(c, {r.D, r.H2})}, Layer::Range);
        cross(d, c, th * 0.6, Layer::Aux);
        d.add(Line{{*r.D1, 0}, {*r.D1, r.Hr}}, Layer::Dim, Stroke::Thin);
        vDim(d, *r.D1, 0, r.Hr - R, "Ho=" + num(*r.Ho), th);
        hDim(d, 0, *r.D1, r.Hr + 1.5 * th, "D1=" + num(*r.D1), th);
        if (r.Hr - R < r.Hx) {
            // Where the edge meets the plane Hx: between these the plane is uncovered.
            const double dy = r.Hx - r.Hr;
            const double dx = std::sqrt(std::max(0.0, R * R - dy * dy));
            const double a = std::max(0.0, *r.D1 - dx), b = std::min<double>(r.D, *r.D1 + dx);
            for (double x : {a, b}) cross(d, {x, r.Hx}, th * 0.8, Layer::Hx);
            uncoveredStretch(d, a, b, r.Hx);
        }
    } else {
        // Each rod a single rod: its own boundary on the inner side too.
        boundaryArc(d, 0, 0, r.H1, r.Hr, +1);
        boundaryArc(d, r.D, 0, r.H2, r.Hr, -1);
        const double a = std::max(0.0f, r.Rx1), b = r.D - std::max(0.0f, r.Rx2);
        if (b > a) uncoveredStretch(d, a, b, r.Hx);
        label(d, {r.D / 2, r.Hr + th * 1.2}, secondLine(r.single), th, Align::Centre);
    }

    vDim(d, xl - m * 0.5, 0, r.H1, "H1=" + num(r.H1), th);
    if (r.Hx > 0) vDim(d, xl - m * 0.5 - 7 * th, 0, r.Hx, "Hx=" + num(r.Hx), th);
    vDim(d, xr + m * 0.5, 0, r.H2, "H2=" + num(r.H2), th);
    vDim(d, xr + m * 0.5 + 7 * th, 0, r.Hr, "Hr=" + num(r.Hr), th);
    const double rxAt = r.Hx >= 3.2 * th ? r.Hx - th * 1.6 : r.Hx + th * 1.6;
    hDim(d, -r.Rx1, 0, rxAt, "Rx1=" + num(r.Rx1), th);
    hDim(d, r.D, r.D + r.Rx2, rxAt, "Rx2=" + num(r.Rx2), th);
    label(d, {xl - m, r.Hr + th * 2.5}, "剖面（沿两针连线）", th * 1.2);
    d.endPart(Part::Kind::Section, 0);
}

void plan(Drawing& p, const UnequalRodPair& r) {
    const double th = p.textHeight;
    for (const auto& [at, Rx] : {std::pair{Point{0, 0}, r.Rx1}, std::pair{Point{r.D, 0}, r.Rx2}}) {
        rodMark(p, at, th * 0.8);
        rangeCircle(p, at, Rx);
    }
    p.add(Line{{0, 0}, {r.D, 0}}, Layer::Aux, Stroke::Thin);
    dim(p, {0, 0}, onCircle({0, 0}, r.Rx1, 150), "Rx1=" + num(r.Rx1), th);
    dim(p, {r.D, 0}, onCircle({r.D, 0}, r.Rx2, 30), "Rx2=" + num(r.Rx2), th);
    const double below = -std::max(r.Rx1, r.Rx2) - 1.5 * th;
    hDim(p, 0, r.D, below, "D=" + num(r.D), th);
    if (r.D1 && r.Ho && r.Bx) {
        const double R = std::hypot(r.Hr - static_cast<double>(r.H1), *r.D1);
        const double reachHx = reach(r.Hx, r.Hr, "Rx");
        if (*r.Bx > 0) waistAbout(p, {r.Hr, *r.D1, R}, r.D, std::max(r.H1, r.H2), reachHx);
        // The line of the lowest point across the ground's waist, ±b0.
        const double b0 = reach(std::max(0.0f, *r.Ho), r.Hr, "Bx");
        p.add(Line{{*r.D1, -b0}, {*r.D1, b0}}, Layer::Aux, Stroke::Dashed);
        if (*r.Bx > 0)
            vDim(p, *r.D1, 0, *r.Bx, "Bx=" + num(*r.Bx), th);
        else
            label(p, {*r.D1, -th * 3}, "Bx=" + num(*r.Bx), th, Align::Centre);
        hDim(p, 0, *r.D1, below - 2.5 * th, "D1=" + num(*r.D1), th);
        addRegion(p, r.warnings);
        markWeakPoints(p, r.warnings, {{Place::BetweenRods, {{*r.D1, 0}}}});
    } else {
        label(p, {r.D / 2, below - 3 * th}, secondLine(r.single), th, Align::Centre);
        // The open plane between the two circles, midway.
        const double gapMid =
            (std::max(0.0, static_cast<double>(r.Rx1)) + r.D - std::max(0.0, double{r.Rx2})) / 2;
        addRegion(p, r.warnings);
        markWeakPoints(p, r.warnings, {{Place::BetweenRods, {{gapMid, 0}}}});
    }
    // Each rod named beside its mark; rods closer than two names' width named once, below
    // the pair, left to right.
    if (r.D >= 2 * textWidth(Text{{0, 0}, "接闪杆 1", th}) + 2 * th) {
        label(p, {th, -th * 1.5}, "接闪杆 1", th);
        label(p, {r.D + th, -th * 1.5}, "接闪杆 2", th);
    } else {
        label(p, {r.D / 2, -th * 2.5}, "左：接闪杆 1　右：接闪杆 2", th, Align::Centre);
    }
    const auto b = p.bounds();
    if (b) label(p, {b->x0, b->y1 + th}, "平面（被保护面 Hx=" + num(r.Hx) + " 高度）", th * 1.2);
    p.endPart(Part::Kind::Plan);
}

}  // namespace

Drawing drawUnequalRodPair(const UnequalRodPair& r, double th) {
    Drawing d;
    d.textHeight = th;
    section(d, r);
    Drawing p;
    p.textHeight = th;
    plan(p, r);
    appendBelow(d, std::move(p), 3 * th);
    return d;
}

}  // namespace tervalen::drawing
