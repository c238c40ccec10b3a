// The protected region at a level, the roofs' check and the coarse map, all from the
// protection surface S.
//
// The region at level z: S on a grid over the area (an outer frame of nodes counted as
// unprotected, so that every boundary closes), marching squares on the sign of S − z, and
// each boundary vertex found on its grid edge by halving a bracket on whether a sphere
// reaches below z until it is shorter than the tolerance, the vertex put at its protected
// end. The rings, nested,
// make polygons; GEOS clips them to the area, takes the area's rest as the uncovered part
// and gives the areas.
//
// The nodes alone would miss a dip of S narrower than a grid step: every cell whose four
// corners are protected is proved protected throughout by the engine's bound of S over a
// square (or split, down to squares of the tolerance, and what stays unproved is taken
// out of the region). The cells the boundary crosses rest on their corners and vertices.

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "calc/sphere/engine.h"
#include "calc/sphere/parallel.h"

namespace tervalen::sphere {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

double signedArea(const std::vector<Point2>& ring) {
    double a = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        a += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    return a / 2;
}

bool insideRing(const std::vector<Point2>& ring, Point2 p) {
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Point2 &a = ring[i], &b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

bool insidePolygons(const std::vector<Polygon>& polys, Point2 p) {
    for (const Polygon& poly : polys) {
        if (!insideRing(poly.outer, p)) continue;
        if (std::none_of(poly.holes.begin(), poly.holes.end(),
                         [&](const std::vector<Point2>& h) { return insideRing(h, p); }))
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- GEOS

void quiet(const char*, ...) {}

// A GEOS context and the geometries made in it, freed together.
class Geos {
public:
    Geos() : m_h(GEOS_init_r()) {
        if (!m_h) throw std::runtime_error("GEOS could not start");
        GEOSContext_setNoticeHandler_r(m_h, quiet);
        GEOSContext_setErrorHandler_r(m_h, quiet);
    }
    ~Geos() {
        for (GEOSGeometry* g : m_owned) GEOSGeom_destroy_r(m_h, g);
        GEOS_finish_r(m_h);
    }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSContextHandle_t handle() const { return m_h; }

    // A result of GEOS, owned from now on; a failure is an exception.
    GEOSGeometry* own(GEOSGeometry* g) {
        if (!g) throw std::runtime_error("GEOS failed on a polygon");
        m_owned.push_back(g);
        return g;
    }
    // Released to GEOS as part of a bigger geometry.
    GEOSGeometry* release(GEOSGeometry* g) {
        m_owned.erase(std::remove(m_owned.begin(), m_owned.end(), g), m_owned.end());
        return g;
    }

    GEOSGeometry* ring(const std::vector<Point2>& pts) {
        const unsigned n = static_cast<unsigned>(pts.size());
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(m_h, n + 1, 2);
        for (unsigned i = 0; i <= n; ++i) {
            const Point2& p = pts[i % n];
            GEOSCoordSeq_setXY_r(m_h, seq, i, p.x, p.y);
        }
        GEOSGeometry* g = GEOSGeom_createLinearRing_r(m_h, seq);
        if (!g) throw std::runtime_error("GEOS refused a ring");
        return g;
    }

    GEOSGeometry* polygon(const Polygon& p) {
        GEOSGeometry* shell = ring(p.outer);
        std::vector<GEOSGeometry*> holes;
        for (const auto& h : p.holes) holes.push_back(ring(h));
        return GEOSGeom_createPolygon_r(m_h, shell, holes.data(),
                                        static_cast<unsigned>(holes.size()));
    }

    // The polygons as one valid geometry: each made valid, then their union.
    GEOSGeometry* region(const std::vector<Polygon>& polys) {
        std::vector<GEOSGeometry*> parts;
        for (const Polygon& p : polys) {
            if (p.outer.size() < 3) continue;
            bool usable = std::all_of(p.outer.begin(), p.outer.end(), [](const Point2& v) {
                return std::isfinite(v.x) && std::isfinite(v.y);
            });
            for (const auto& h : p.holes)
                usable =
                    usable && h.size() >= 3 && std::all_of(h.begin(), h.end(), [](const Point2& v) {
                        return std::isfinite(v.x) && std::isfinite(v.y);
                    });
            if (!usable) continue;
            GEOSGeometry* g = polygon(p);
            if (!g) continue;
            if (GEOSisValid_r(m_h, g) != 1) {
                GEOSGeometry* valid = GEOSMakeValid_r(m_h, g);
                GEOSGeom_destroy_r(m_h, g);
                g = valid;
            }
            if (g) parts.push_back(g);
        }
        GEOSGeometry* all = own(GEOSGeom_createCollection_r(
            m_h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size())));
        GEOSGeometry* u = own(GEOSUnaryUnion_r(m_h, all));
        return polygonal(u);
    }

    // Only the polygons of a geometry (an intersection may leave lines and points).
    GEOSGeometry* polygonal(GEOSGeometry* g) {
        std::vector<GEOSGeometry*> polys;
        collect(g, polys);
        return own(GEOSGeom_createCollection_r(m_h, GEOS_MULTIPOLYGON, polys.data(),
                                               static_cast<unsigned>(polys.size())));
    }

    GEOSGeometry* intersection(GEOSGeometry* a, GEOSGeometry* b) {
        return polygonal(own(GEOSIntersection_r(m_h, a, b)));
    }
    GEOSGeometry* difference(GEOSGeometry* a, GEOSGeometry* b) {
        return polygonal(own(GEOSDifference_r(m_h, a, b)));
    }
    double area(const GEOSGeometry* g) {
        double a = 0;
        if (!GEOSArea_r(m_h, g, &a)) throw std::runtime_error("GEOS could not measure an area");
        return a;
    }

    // The polygons, outer rings counter-clockwise and holes clockwise, not closed.
    std::vector<Polygon> polygons(const GEOSGeometry* g) {
        std::vector<Polygon> out;
        const int n = GEOSGetNumGeometries_r(m_h, g);
        for (int i = 0; i < n; ++i) {
            const GEOSGeometry* p = GEOSGetGeometryN_r(m_h, g, i);
            if (GEOSGeomTypeId_r(m_h, p) != GEOS_POLYGON || GEOSisEmpty_r(m_h, p)) continue;
            Polygon poly;
            poly.outer = points(GEOSGetExteriorRing_r(m_h, p), true);
            const int holes = GEOSGetNumInteriorRings_r(m_h, p);
            for (int k = 0; k < holes; ++k)
                poly.holes.push_back(points(GEOSGetInteriorRingN_r(m_h, p, k), false));
            out.push_back(std::move(poly));
        }
        return out;
    }

private:
    void collect(const GEOSGeometry* g, std::vector<GEOSGeometry*>& out) {
        const int type = GEOSGeomTypeId_r(m_h, g);
        if (type == GEOS_POLYGON) {
            if (!GEOSisEmpty_r(m_h, g)) out.push_back(GEOSGeom_clone_r(m_h, g));
        } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
            const int n = GEOSGetNumGeometries_r(m_h, g);
            for (int i = 0; i < n; ++i) collect(GEOSGetGeometryN_r(m_h, g, i), out);
        }
    }

    std::vector<Point2> points(const GEOSGeometry* ring, bool ccw) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(m_h, ring);
        unsigned n = 0;
        GEOSCoordSeq_getSize_r(m_h, seq, &n);
        std::vector<Point2> pts;
        for (unsigned i = 0; i + 1 < n; ++i) {
            Point2 p;
            GEOSCoordSeq_getXY_r(m_h, seq, i, &p.x, &p.y);
            pts.push_back(p);
        }
        if ((signedArea(pts) > 0) != ccw) std::reverse(pts.begin(), pts.end());
        return pts;
    }

    GEOSContextHandle_t m_h;
    std::vector<GEOSGeometry*> m_owned;
};

// ---------------------------------------------------------------- the boundary

// Where S = z on the segment from a (S ≥ z there) to b (S < z there): the bracket halved
// on whether a sphere reaches below z until it is shorter than the tolerance; its
// protected end, so that no vertex claims a place the sphere reaches.
Point2 crossing(const Engine& e, double z, Point2 a, Point2 b, double tolerance) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    auto at = [&](double u) {
        const double t = u / len;
        return Point2{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    };
    double lo = 0, hi = len;
    while (hi - lo > tolerance) {
        const double u = (lo + hi) / 2;
        (e.reachesBelow(at(u), z) ? hi : lo) = u;
    }
    return at(lo);
}

// The lowest S near `from` within the area: a compass search on S, the steps halved down
// to 1 mm, S to a thousandth of the step squared (1e-5 m at the finest: a step of h
// compares heights that differ by some h² over the radius near the lowest point, more
// away from it), S at the end exact.
Lowest descend(const Engine& e, const std::vector<Polygon>& area, Point2 from, double step) {
    auto within = [](double h) { return std::clamp(1e-3 * h * h, 1e-5, 1e-3); };
    Lowest best{from, e.roughSurface(from, within(step))};
    for (double h = step; h > 1e-3; h /= 2) {
        best.s = e.roughSurface(best.at, within(h));
        for (bool moved = true; moved;) {
            moved = false;
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const Point2 p{best.at.x + dx * h, best.at.y + dy * h};
                if (!insidePolygons(area, p)) continue;
                const double s = e.roughSurface(p, within(h));
                if (s < best.s) best = {p, s}, moved = true;
            }
        }
        if (best.s == 0) break;  // nothing lower than the ground
    }
    best.s = e.surface(best.at);
    return best;
}

// A square of the plan: its centre and side.
struct Square {
    Point2 at;
    double side = 0;
};

// The cells of the grid whose four corners are protected, each proved protected
// throughout (the engine's bound of S over a square), or split into four and tried again,
// down to squares of the tolerance: the squares that could not be proved (some sphere
// reaches below z there, or it cannot be told at that size: the safe side). Without it a
// dip of the surface narrower than a grid step, between protected nodes, would be claimed
// protected. A cell that needs too many squares is given up whole where it stands.
template <class In>
std::vector<Square> unprovenInCells(const Engine& e, int nx, int ny, double x0, double y0, double g,
                                    double z, double tolerance, const In& in) {
    std::vector<std::pair<int, int>> whole;
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i)
            if (in(i, j) && in(i + 1, j) && in(i, j + 1) && in(i + 1, j + 1))
                whole.push_back({i, j});
    std::vector<std::vector<Square>> found(whole.size());
    int depth = 0;
    while (g / (1 << depth) > tolerance && depth < 30) ++depth;
    const double leaf = g / (1 << depth);
    constexpr int kMostProofs = 4096;
    parallelFor(whole.size(), [&](std::size_t k) {
        std::vector<Square>& out = found[k];
        int proofs = 0;
        auto prove = [&](auto&& self, Point2 c, double side) -> void {
            if (proofs >= kMostProofs) {
                out.push_back({c, side});
                return;
            }
            ++proofs;
            if (e.provesAtLeast(c, side / 2, z)) return;
            if (side <= leaf * 1.000001) {
                out.push_back({c, side});
                return;
            }
            const double q = side / 4;
            for (const auto& [sx, sy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
                self(self, Point2{c.x + sx * q, c.y + sy * q}, side / 2);
        };
        const auto [i, j] = whole[k];
        prove(prove, Point2{x0 + (i + 0.5) * g, y0 + (j + 0.5) * g}, g);
    });
    std::vector<Square> all;
    for (auto& v : found) all.insert(all.end(), v.begin(), v.end());
    return all;
}

}  // namespace

LevelRegion Engine::level(double z, const std::vector<Polygon>& areaIn, double tolerance) const {
    LevelRegion out;
    out.z = z;
    if (!std::isfinite(z)) throw std::invalid_argument("level is not a finite number");
    tolerance = std::clamp(std::isfinite(tolerance) ? tolerance : 0.01, 1e-5, 1.0);
    Geos geos;
    std::vector<Polygon> areaPolys = areaIn;
    if (areaPolys.empty()) {
        const Box b = bounds();
        const double r = hr();
        areaPolys.push_back({{{b.minX - r, b.minY - r},
                              {b.maxX + r, b.minY - r},
                              {b.maxX + r, b.maxY + r},
                              {b.minX - r, b.maxY + r}},
                             {}});
    }
    GEOSGeometry* area = geos.region(areaPolys);
    const std::vector<Polygon> areaRings = geos.polygons(area);
    if (areaRings.empty()) return out;
    Box box{kInf, kInf, -kInf, -kInf};
    for (const Polygon& p : areaRings)
        for (const Point2& v : p.outer)
            box = {std::min(box.minX, v.x), std::min(box.minY, v.y), std::max(box.maxX, v.x),
                   std::max(box.maxY, v.y)};

    // The grid: nodes over the area's box, and a frame of nodes one step outside it that
    // count as unprotected.
    const double w = box.maxX - box.minX, h = box.maxY - box.minY;
    const double g = std::clamp(std::sqrt(std::max(w * h, 1e-6) / 8192), 0.05, 2.0);
    const int nx = static_cast<int>(std::ceil(w / g)) + 3;
    const int ny = static_cast<int>(std::ceil(h / g)) + 3;
    const double x0 = box.minX - g, y0 = box.minY - g;
    auto node = [&](int i, int j) { return Point2{x0 + i * g, y0 + j * g}; };
    auto index = [&](int i, int j) {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(nx) +
               static_cast<std::size_t>(i);
    };
    auto framed = [&](int i, int j) { return i == 0 || j == 0 || i == nx - 1 || j == ny - 1; };
    std::vector<double> f(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny), -1);
    parallelFor(f.size(), [&](std::size_t k) {
        const int i = static_cast<int>(k % static_cast<std::size_t>(nx));
        const int j = static_cast<int>(k / static_cast<std::size_t>(nx));
        if (!framed(i, j)) f[k] = reachesBelow(node(i, j), z) ? -1 : 1;
    });
    auto in = [&](int i, int j) { return !framed(i, j) && f[index(i, j)] >= 0; };

    // The grid edges the boundary crosses: 2k for the one from node k along x, 2k + 1 along y.
    std::vector<std::size_t> crossed;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            if (i + 1 < nx && in(i, j) != in(i + 1, j)) crossed.push_back(2 * index(i, j));
            if (j + 1 < ny && in(i, j) != in(i, j + 1)) crossed.push_back(2 * index(i, j) + 1);
        }
    std::vector<Point2> vertex(2 * f.size());
    parallelFor(crossed.size(), [&](std::size_t c) {
        const std::size_t e = crossed[c];
        const int i = static_cast<int>((e / 2) % static_cast<std::size_t>(nx));
        const int j = static_cast<int>((e / 2) / static_cast<std::size_t>(nx));
        const int i2 = e % 2 ? i : i + 1, j2 = e % 2 ? j + 1 : j;
        const bool firstIn = in(i, j);
        const Point2 a = firstIn ? node(i, j) : node(i2, j2);
        const Point2 b = firstIn ? node(i2, j2) : node(i, j);
        const bool bFramed = firstIn ? framed(i2, j2) : framed(i, j);
        if (bFramed) {
            vertex[e] = b;
            return;
        }
        vertex[e] = crossing(*this, z, a, b, tolerance);
    });

    // Marching squares: in each cell, the boundary runs from an edge where the way round
    // the cell (counter-clockwise) leaves the region to one where it enters, the region on
    // its left; where it leaves twice, the cell's centre decides whether the two protected
    // corners are joined.
    std::vector<std::size_t> next(2 * f.size(), SIZE_MAX);
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            const bool c[4] = {in(i, j), in(i + 1, j), in(i + 1, j + 1), in(i, j + 1)};
            const std::size_t e[4] = {2 * index(i, j), 2 * index(i + 1, j) + 1, 2 * index(i, j + 1),
                                      2 * index(i, j) + 1};
            int crossings = 0;
            for (int k = 0; k < 4; ++k) crossings += c[k] != c[(k + 1) % 4];
            if (crossings == 0) continue;
            bool joined = false;
            if (crossings == 4) {
                const Point2 mid{x0 + (i + 0.5) * g, y0 + (j + 0.5) * g};
                joined = !reachesBelow(mid, z);
            }
            for (int k = 0; k < 4; ++k) {
                if (!(c[k] && !c[(k + 1) % 4])) continue;  // leaves on edge k
                int to = -1;
                if (crossings == 2) {
                    for (int m = 0; m < 4; ++m)
                        if (!c[m] && c[(m + 1) % 4]) to = m;
                } else {
                    to = joined ? (k + 1) % 4 : (k + 3) % 4;
                }
                next[e[k]] = e[static_cast<std::size_t>(to)];
            }
        }

    // The rings, and each clockwise one (a hole) in the smallest counter-clockwise one
    // around it.
    std::vector<std::vector<Point2>> rings;
    std::vector<char> seen(next.size(), 0);
    for (const std::size_t start : crossed) {
        if (seen[start] || next[start] == SIZE_MAX) continue;
        std::vector<Point2> ring;
        for (std::size_t e = start; e != SIZE_MAX && !seen[e]; e = next[e]) {
            seen[e] = 1;
            ring.push_back(vertex[e]);
        }
        if (ring.size() >= 3) rings.push_back(std::move(ring));
    }
    // Between two vertices the boundary may bow away from their chord: the chord's middle
    // moved across it onto the boundary, to the tolerance, wherever it bows by more than
    // half the tolerance, four times over.
    auto bowed = [&](Point2 a, Point2 b) -> std::optional<Point2> {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len < 4 * tolerance) return std::nullopt;
        const Point2 m{(a.x + b.x) / 2, (a.y + b.y) / 2};
        const Point2 n{(b.y - a.y) / len, -(b.x - a.x) / len};  // outwards: the region is left
        const bool mIn = !reachesBelow(m, z);
        const double sign = mIn ? 1 : -1, far = std::min(g, len);
        // The other side within half the tolerance: the middle is that close to the
        // boundary, the chord straight enough (one search, not a bracket halved).
        const Point2 near{m.x + sign * n.x * tolerance / 2, m.y + sign * n.y * tolerance / 2};
        if (mIn == reachesBelow(near, z)) return std::nullopt;
        const Point2 end{m.x + sign * n.x * far, m.y + sign * n.y * far};
        if (mIn != reachesBelow(end, z)) return std::nullopt;  // no crossing within reach
        const Point2 at =
            mIn ? crossing(*this, z, m, end, tolerance) : crossing(*this, z, end, m, tolerance);
        if (std::hypot(at.x - m.x, at.y - m.y) <= tolerance / 2) return std::nullopt;
        return at;
    };
    // A chord found straight enough stays so (its ends do not move): each pass tries only
    // the chords the one before made, over every ring at once.
    std::vector<std::vector<char>> straight(rings.size());
    for (std::size_t i = 0; i < rings.size(); ++i) straight[i].assign(rings[i].size(), 0);
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<std::pair<std::size_t, std::size_t>> chords;
        for (std::size_t i = 0; i < rings.size(); ++i)
            for (std::size_t k = 0; k < rings[i].size(); ++k)
                if (!straight[i][k]) chords.push_back({i, k});
        if (chords.empty()) break;
        std::vector<std::optional<Point2>> mid(chords.size());
        parallelFor(chords.size(), [&](std::size_t c) {
            const auto& r = rings[chords[c].first];
            const std::size_t k = chords[c].second;
            mid[c] = bowed(r[k], r[(k + 1) % r.size()]);
        });
        for (std::size_t c = 0, i = 0; i < rings.size(); ++i) {
            std::vector<Point2> dense;
            std::vector<char> flat;
            const auto& r = rings[i];
            for (std::size_t k = 0; k < r.size(); ++k) {
                dense.push_back(r[k]);
                const bool tried = c < chords.size() && chords[c] == std::pair{i, k};
                const std::optional<Point2> m = tried ? mid[c++] : std::nullopt;
                if (m) {
                    dense.push_back(*m);
                    flat.insert(flat.end(), {0, 0});
                } else {
                    flat.push_back(1);
                }
            }
            rings[i] = std::move(dense);
            straight[i] = std::move(flat);
        }
    }

    std::vector<Polygon> found;
    std::vector<double> foundArea;
    std::vector<std::vector<Point2>> holes;
    for (auto& r : rings) {
        const double a = signedArea(r);
        if (a > 0) {
            found.push_back({std::move(r), {}});
            foundArea.push_back(a);
        } else if (a < 0) {
            holes.push_back(std::move(r));
        }
    }
    for (auto& hole : holes) {
        int owner = -1;
        for (std::size_t k = 0; k < found.size(); ++k)
            if (insideRing(found[k].outer, hole[0]) &&
                (owner < 0 || foundArea[k] < foundArea[static_cast<std::size_t>(owner)]))
                owner = static_cast<int>(k);
        if (owner >= 0) found[static_cast<std::size_t>(owner)].holes.push_back(std::move(hole));
    }

    // Between the grid nodes: every cell whose four corners are protected is proved
    // protected throughout, or the parts of it that cannot be are taken out.
    const std::vector<Square> dips = unprovenInCells(*this, nx, ny, x0, y0, g, z, tolerance, in);
    std::vector<Polygon> squares;
    squares.reserve(dips.size());
    for (const Square& d : dips) {
        const double half = d.side / 2;
        const Point2 c = d.at;
        squares.push_back({{{c.x - half, c.y - half},
                            {c.x + half, c.y - half},
                            {c.x + half, c.y + half},
                            {c.x - half, c.y + half}},
                           {}});
    }

    GEOSGeometry* reached = geos.region(found);
    if (!squares.empty()) reached = geos.difference(reached, geos.region(squares));
    GEOSGeometry* kept = geos.intersection(reached, area);
    GEOSGeometry* rest = geos.difference(area, reached);
    out.protectedRegion = geos.polygons(kept);
    out.protectedArea = geos.area(kept);
    out.uncovered = geos.polygons(rest);
    out.uncoveredArea = geos.area(rest);

    // The lowest point: S to 1 mm on a coarser grid within the area and at the area's
    // corners, the lowest three followed down.
    const int stride = std::max(1, static_cast<int>(std::sqrt((nx - 2.0) * (ny - 2.0) / 2048)));
    std::vector<Point2> samples;
    for (int j = 1; j + 1 < ny; j += stride)
        for (int i = 1; i + 1 < nx; i += stride)
            if (insidePolygons(areaRings, node(i, j))) samples.push_back(node(i, j));
    for (const Polygon& p : areaRings)
        for (const Point2& v : p.outer) samples.push_back(v);
    for (const Square& d : dips)
        if (insidePolygons(areaRings, d.at)) samples.push_back(d.at);
    std::vector<Lowest> starts(samples.size());
    parallelFor(samples.size(), [&](std::size_t k) {
        starts[k] = {samples[k], roughSurface(samples[k], 1e-3)};
    });
    std::sort(starts.begin(), starts.end(),
              [](const Lowest& a, const Lowest& b) { return a.s < b.s; });
    if (!starts.empty()) {
        std::vector<Lowest> followed(std::min<std::size_t>(3, starts.size()));
        parallelFor(followed.size(), [&](std::size_t k) {
            followed[k] = descend(*this, areaRings, starts[k].at, g * stride / 2);
        });
        out.worst = *std::min_element(followed.begin(), followed.end(),
                                      [](const Lowest& a, const Lowest& b) { return a.s < b.s; });
    }
    return out;
}

std::vector<RoofCheck> Engine::roofs(double tolerance) const {
    std::vector<RoofCheck> out;
    for (const Building& b : buildings()) {
        Polygon outline{b.outline, {}};
        if (signedArea(outline.outer) < 0) std::reverse(outline.outer.begin(), outline.outer.end());
        const LevelRegion r = level(b.roof + 0.001, {outline}, tolerance);
        RoofCheck c;
        c.name = b.name;
        c.height = b.roof;
        c.uncovered = r.uncovered;
        c.uncoveredArea = r.uncoveredArea;
        if (r.worst) c.worst = *r.worst;
        c.ok = r.uncovered.empty() && r.worst && r.worst->s > b.roof + 0.001;
        out.push_back(std::move(c));
    }
    return out;
}

bool isSimpleRing(const std::vector<Point2>& corners) {
    if (corners.size() < 3 || !std::all_of(corners.begin(), corners.end(), [](const Point2& v) {
            return std::isfinite(v.x) && std::isfinite(v.y);
        }))
        return false;
    try {
        Geos g;
        GEOSGeometry* ring = g.ring(corners);
        GEOSGeometry* poly = GEOSGeom_createPolygon_r(g.handle(), ring, nullptr, 0);
        if (!poly) {
            GEOSGeom_destroy_r(g.handle(), ring);
            return false;
        }
        return GEOSisValid_r(g.handle(), g.own(poly)) == 1;
    } catch (const std::runtime_error&) {
        return false;  // a ring GEOS would not make
    }
}

}  // namespace tervalen::sphere
