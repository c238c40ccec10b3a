#include "drawing/site_plan.h"

#include <algorithm>
#include <charconv>
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

// The last item added goes on the CAD layer `name`.
void onLayer(Drawing& d, std::string name) {
    d.items.back().layerName = std::move(name);
}

void polygonsOn(Drawing& d, const std::vector<sphere::Polygon>& ps, Layer layer, bool warning,
                const std::string& name) {
    for (const sphere::Polygon& p : ps) {
        d.add(ring(p.outer), layer, Stroke::Solid, warning);
        onLayer(d, name);
        for (const auto& hole : p.holes) {
            d.add(ring(hole), layer, Stroke::Solid, warning);
            onLayer(d, name);
        }
    }
}

// The plan with its text `th` metres high.
Drawing planWithText(const sphere::Site& site, const std::vector<sphere::LevelRegion>& levels,
                     const std::vector<sphere::RoofCheck>& roofs, const std::string& title,
                     double th) {
    Drawing d;
    d.title = title;
    d.textHeight = th;
    // The roofs' uncovered parts filled first, so that every line and text is drawn over
    // them (a CAD program fills a solid hatch opaque).
    for (const sphere::RoofCheck& r : roofs)
        for (const sphere::Polygon& p : r.ok ? std::vector<sphere::Polygon>{} : r.uncovered) {
            Hatch h;
            h.rings.push_back(ring(p.outer).points);
            for (const auto& hole : p.holes) h.rings.push_back(ring(hole).points);
            d.add(std::move(h), Layer::Warn, Stroke::Solid, true);
            onLayer(d, kUncoveredLayer);
        }
    for (std::size_t i = 0; i < site.buildings.size(); ++i) {
        const sphere::Building& b = site.buildings[i];
        d.add(ring(b.outline), Layer::Aux);
        onLayer(d, b.layer.empty() ? kBuildingLayer : b.layer);
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
    for (const sphere::Conductor& c : site.conductors) {
        d.add(Line{{c.from.x, c.from.y}, {c.to.x, c.to.y}}, Layer::Rod);
        onLayer(d, kConductorLayer);
    }
    for (const sphere::Wire& w : site.wires) {
        d.add(Line{{w.from.x, w.from.y}, {w.to.x, w.to.y}}, Layer::Rod, Stroke::Dashed);
        onLayer(d, kWireLayer);
    }
    for (const sphere::Rod& r : site.rods) {
        d.add(Circle{{r.x, r.y}, th * 0.4}, Layer::Rod);
        label(d, {r.x + th * 0.6, r.y + th * 0.3}, num(r.tip), th * 0.8);
    }
    // The protected region at each level, outlined, its height at its upper right corner.
    for (const sphere::LevelRegion& l : levels) {
        polygonsOn(d, l.protectedRegion, Layer::Range, false, protectedLayer(l.z));
        if (!l.protectedRegion.empty())
            label(d, labelCorner(l.protectedRegion), "保护范围 " + num(l.z) + " m", th * 0.8);
    }
    // What the sphere still reaches on each roof, in red, and the lowest point there.
    for (const sphere::RoofCheck& r : roofs) {
        if (r.ok) continue;
        polygonsOn(d, r.uncovered, Layer::Warn, true, kUncoveredLayer);
        const Point p = at(r.worst.at);
        d.add(Circle{p, th * 0.9}, Layer::Warn, Stroke::Solid, true);
        label(d, {p.x + th, p.y - th * 0.5}, "屋面 " + num(r.height) + " m 该处无保护", th,
              Align::Left, true);
    }
    d.endPart(Part::Kind::Plan);
    frame(d, title);
    return d;
}

}  // namespace

std::string protectedLayer(double z) {
    char buf[48];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, z == 0 ? 0.0 : z, std::chars_format::fixed, 3);
    return "LP-PROTECT-" + std::string(buf, r.ptr);
}

Drawing sitePlan(const sphere::Site& site, const std::vector<sphere::LevelRegion>& levels,
                 const std::vector<sphere::RoofCheck>& roofs, const std::string& title,
                 double widthMm, double heightMm) {
    // Text at its drafting size on paper, at the first scale of the series at which the
    // plan, text and all, fits the room: tried from the scale at which its objects alone
    // would fit.
    const Drawing bare = planWithText(site, levels, roofs, title, 0);
    const std::optional<Box> extent = bare.bounds();
    const auto fits = [&](const Drawing& d, double n) {
        const auto b = d.bounds();
        return b && (b->width() + 2 * d.margin()) * 1000 / n <= widthMm &&
               (b->height() + 2 * d.margin()) * 1000 / n <= heightMm;
    };
    Drawing d;
    for (double decade = 10; extent && decade < 1e7; decade *= 10)
        for (double step : kScaleSteps) {
            const double n = step * decade;
            if (!fits(bare, n)) continue;
            d = planWithText(site, levels, roofs, title, kTextMm * n / 1000);
            if (!fits(d, n)) continue;
            d.scale = static_cast<int>(std::lround(n));
            return d;
        }
    // Fits at no scale of the series: text as at the largest.
    d = planWithText(site, levels, roofs, title, kTextMm * 1e7 / 1000);
    d.scale = 0;
    return d;
}

}  // namespace tervalen::drawing
