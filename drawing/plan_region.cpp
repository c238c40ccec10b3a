#include "drawing/plan_region.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tervalen::drawing {
namespace {

// The polygon operations, through GEOS's reentrant interface; every geometry made is
// freed with the context.
class Geos {
public:
    Geos() : m_h(GEOS_init_r()) {
        if (!m_h) throw std::runtime_error("GEOS could not start");
    }
    ~Geos() {
        for (GEOSGeometry* g : m_owned) GEOSGeom_destroy_r(m_h, g);
        GEOS_finish_r(m_h);
    }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    // The union of the rings (each taken as a polygon, mended where it crosses itself).
    const GEOSGeometry* unite(const std::vector<const std::vector<Point>*>& rings) {
        std::vector<GEOSGeometry*> parts;
        for (const auto* ring : rings) {
            if (ring->size() < 3) continue;
            GEOSGeometry* g = GEOSGeom_createPolygon_r(m_h, linearRing(*ring), nullptr, 0);
            if (!g) throw std::runtime_error("GEOS refused a polygon");
            if (GEOSisValid_r(m_h, g) != 1) {
                GEOSGeometry* valid = GEOSMakeValid_r(m_h, g);
                GEOSGeom_destroy_r(m_h, g);
                if (!valid) throw std::runtime_error("GEOS could not mend a polygon");
                g = valid;
            }
            parts.push_back(g);
        }
        const GEOSGeometry* all = own(GEOSGeom_createCollection_r(
            m_h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size())));
        return own(GEOSUnaryUnion_r(m_h, all));
    }
    const GEOSGeometry* minus(const GEOSGeometry* a, const GEOSGeometry* b) {
        return own(GEOSDifference_r(m_h, a, b));
    }
    // The polygons of a geometry, each its outer ring and holes.
    void polygons(const GEOSGeometry* g, std::vector<Rings>& out) {
        const int type = GEOSGeomTypeId_r(m_h, g);
        if (type == GEOS_POLYGON) {
            if (GEOSisEmpty_r(m_h, g)) return;
            Rings p{points(GEOSGetExteriorRing_r(m_h, g))};
            for (int k = 0; k < GEOSGetNumInteriorRings_r(m_h, g); ++k)
                p.push_back(points(GEOSGetInteriorRingN_r(m_h, g, k)));
            out.push_back(std::move(p));
        } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
            for (int i = 0; i < GEOSGetNumGeometries_r(m_h, g); ++i)
                polygons(GEOSGetGeometryN_r(m_h, g, i), out);
        }
    }

private:
    GEOSGeometry* own(GEOSGeometry* g) {
        if (!g) throw std::runtime_error("GEOS failed on a polygon");
        m_owned.push_back(g);
        return g;
    }
    GEOSGeometry* linearRing(const std::vector<Point>& pts) {
        const auto n = static_cast<unsigned>(pts.size());
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(m_h, n + 1, 2);
        for (unsigned i = 0; i <= n; ++i)
            GEOSCoordSeq_setXY_r(m_h, seq, i, pts[i % n].x, pts[i % n].y);
        GEOSGeometry* g = GEOSGeom_createLinearRing_r(m_h, seq);
        if (!g) throw std::runtime_error("GEOS refused a ring");
        return g;
    }
    std::vector<Point> points(const GEOSGeometry* ring) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(m_h, ring);
        unsigned n = 0;
        GEOSCoordSeq_getSize_r(m_h, seq, &n);
        std::vector<Point> out;
        for (unsigned i = 0; i + 1 < n; ++i) {  // the ring's closing point left off
            Point p;
            GEOSCoordSeq_getXY_r(m_h, seq, i, &p.x, &p.y);
            out.push_back(p);
        }
        return out;
    }

    GEOSContextHandle_t m_h;
    std::vector<GEOSGeometry*> m_owned;
};

double ringArea(const std::vector<Point>& ring) {
    double a = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        a += (ring[j].x - ring[i].x) * (ring[j].y + ring[i].y);
    return std::abs(a) / 2;
}

double ringLength(const std::vector<Point>& ring) {
    double p = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        p += std::hypot(ring[j].x - ring[i].x, ring[j].y - ring[i].y);
    return p;
}

// A red part thinner than this (twice its area over its perimeter) is a seam where a
// withdrawn claim's edge runs along the protected outline, not an area to mark.
constexpr double kSeam = 0.01;

bool seam(const Rings& p) {
    double area = ringArea(p.front()), length = 0;
    for (std::size_t k = 1; k < p.size(); ++k) area -= ringArea(p[k]);
    for (const auto& ring : p) length += ringLength(ring);
    return !(length > 0) || 2 * area / length < kSeam;
}

bool withdrawn(const ClaimedArea& c, const Warnings& warnings) {
    return std::any_of(c.withdrawnBy.begin(), c.withdrawnBy.end(), [&](Place p) {
        return std::any_of(warnings.begin(), warnings.end(),
                           [&](const Warning& w) { return w.place == p; });
    });
}

}  // namespace

PlanRegion planRegion(const std::vector<ClaimedArea>& claimed, const Warnings& warnings) {
    std::vector<const std::vector<Point>*> kept, dropped;
    for (const ClaimedArea& c : claimed)
        (withdrawn(c, warnings) ? dropped : kept).push_back(&c.ring);
    PlanRegion out;
    if (kept.empty() && dropped.empty()) return out;
    Geos g;
    const GEOSGeometry* covered = g.unite(kept);
    g.polygons(covered, out.covered);
    if (!dropped.empty()) {
        std::vector<Rings> unsafe;
        g.polygons(g.minus(g.unite(dropped), covered), unsafe);
        for (Rings& p : unsafe)
            if (!seam(p)) out.unsafe.push_back(std::move(p));
    }
    return out;
}

void addRegion(Drawing& plan, const Warnings& warnings) {
    const PlanRegion region = planRegion(plan.claimed, warnings);
    std::vector<Item> items;
    const auto flat = [](const std::vector<Rings>& polygons) {
        Rings out;
        for (const Rings& p : polygons) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    const Rings covered = flat(region.covered), unsafe = flat(region.unsafe);
    if (!covered.empty()) items.push_back({Hatch{covered}, Layer::Range});
    if (!unsafe.empty()) items.push_back({Hatch{unsafe}, Layer::Warn, Stroke::Solid, true});
    for (const auto& r : covered) items.push_back({Polyline{r, true}, Layer::Range});
    for (const auto& r : unsafe)
        items.push_back({Polyline{r, true}, Layer::Warn, Stroke::Solid, true});
    // Under everything drawn so far: the dimensions' items move up by as many.
    plan.items.insert(plan.items.begin(), std::make_move_iterator(items.begin()),
                      std::make_move_iterator(items.end()));
    for (Dimension& m : plan.dimensions) {
        m.begin += items.size();
        m.end += items.size();
    }
}

}  // namespace tervalen::drawing
