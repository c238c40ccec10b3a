#include "drawing/site_plan.h"

#include <algorithm>
#include <cmath>

#include "drawing/construct.h"
#include "drawing/section.h"

namespace tervalen::drawing {
namespace {

Point at(sphere::Point2 p) {
    return {p.x, p.y};
}

Polyline ring(const std::vector<sphere::Point2>& points) {
    Polyline out;
    out.closed = true;
    for (const sphere::Point2& p : points) out.points.push_back(at(p));
    return out;
}

void polygons(Drawing& d, const std::vector<sphere::Polygon>& ps, Layer layer, Stroke stroke,
              bool warning) {
    for (const sphere::Polygon& p : ps) {
        d.add(ring(p.outer), layer, stroke, warning);
        for (const auto& hole : p.holes) d.add(ring(hole), layer, stroke, warning);
    }
}

// The corner of a polygon's outer ring furthest up and to the right: where its label goes.
Point labelCorner(const std::vector<sphere::Polygon>& ps) {
    Point best{0, 0};
    bool any = false;
    for (const sphere::Polygon& p : ps)
        for (const sphere::Point2& q : p.outer)
            if (!any || q.x + q.y > best.x + best.y) {
                best = at(q);
                any = true;
            }
    return best;
}

}  // namespace

Drawing sitePlan(const sphere::Site& site, const std::vector<sphere::LevelRegion>& levels,
                 const std::vector<sphere::RoofCheck>& roofs, const std::string& title) {
    // Text sized for the objects' extent.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    auto take = [&](double x, double y) {
        if (!any) x0 = x1 = x, y0 = y1 = y;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        any = true;
    };
    for (const sphere::Rod& r : site.rods) take(r.x, r.y);
    for (const sphere::Conductor& c : site.conductors)
        take(c.from.x, c.from.y), take(c.to.x, c.to.y);
    for (const sphere::Wire& w : site.wires) take(w.from.x, w.from.y), take(w.to.x, w.to.y);
    for (const sphere::Building& b : site.buildings)
        for (const sphere::Point2& p : b.outline) take(p.x, p.y);
    Drawing d;
    d.title = title;
    // Text at its drafting size on paper, at the first scale of the series at which the
    // site's plan (with a sphere's radius around it) fits an A3 sheet's room.
    const double w = x1 - x0 + 2 * site.hr, h = y1 - y0 + 2 * site.hr;
    int scale = 0;
    for (double decade = 1; scale == 0 && decade <= 1e7; decade *= 10)
        for (double step : kScaleSteps)
            if (scale == 0 && w * 1000 / (step * decade) <= kA3RoomWidthMm &&
                h * 1000 / (step * decade) <= kA3RoomHeightMm)
                scale = static_cast<int>(step * decade);
    d.scale = scale;
    d.textHeight = kTextMm * (scale > 0 ? scale : 1e7) / 1000;
    const double th = d.textHeight;

    for (std::size_t i = 0; i < site.buildings.size(); ++i) {
        const sphere::Building& b = site.buildings[i];
        d.add(ring(b.outline), Layer::Aux);
        // The name and roof height at the outline's mean corner.
        double cx = 0, cy = 0;
        for (const sphere::Point2& p : b.outline) cx += p.x, cy += p.y;
        cx /= static_cast<double>(b.outline.size());
        cy /= static_cast<double>(b.outline.size());
        const std::string name =
            b.name.empty() ? "第 " + std::to_string(i + 1) + " 座建筑物" : b.name;
        label(d, {cx, cy}, name, th, Align::Centre);
        label(d, {cx, cy - th * 1.5}, "屋面 " + num(b.roof) + " m", th, Align::Centre);
    }
    for (const sphere::Conductor& c : site.conductors)
        d.add(Line{{c.from.x, c.from.y}, {c.to.x, c.to.y}}, Layer::Rod);
    for (const sphere::Wire& w : site.wires)
        d.add(Line{{w.from.x, w.from.y}, {w.to.x, w.to.y}}, Layer::Rod, Stroke::Dashed);
    for (const sphere::Rod& r : site.rods) {
        d.add(Circle{{r.x, r.y}, th * 0.4}, Layer::Rod);
        label(d, {r.x + th * 0.6, r.y + th * 0.3}, num(r.tip), th * 0.8);
    }
    // The protected region at each level, outlined, its height at its upper right corner.
    for (const sphere::LevelRegion& l : levels) {
        polygons(d, l.protectedRegion, Layer::Range, Stroke::Solid, false);
        if (!l.protectedRegion.empty())
            label(d, labelCorner(l.protectedRegion), "保护范围 " + num(l.z) + " m", th * 0.8);
    }
    // What the sphere still reaches on each roof, in red, and the lowest point there.
    for (const sphere::RoofCheck& r : roofs) {
        if (r.ok) continue;
        polygons(d, r.uncovered, Layer::Warn, Stroke::Solid, true);
        const Point p = at(r.worst.at);
        d.add(Circle{p, th * 0.9}, Layer::Warn, Stroke::Solid, true);
        label(d, {p.x + th, p.y - th * 0.5}, "屋面 " + num(r.height) + " m 该处无保护", th,
              Align::Left, true);
    }
    d.endPart(Part::Kind::Plan);
    frame(d, title);
    return d;
}

}  // namespace tervalen::drawing
