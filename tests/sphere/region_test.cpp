// The protected region at a level and the roofs' check, against the definitions: the
// closed shapes of one and two rods, what adding a rod can do, a moved and turned site,
// and S itself sampled inside the polygons.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "calc/sphere/engine.h"
#include "random_sites.h"

namespace tervalen::sphere {
namespace {

constexpr double kTol = 0.01;

double reach(double h, double hr) {
    return std::sqrt(h * (2 * hr - h));
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

bool inside(const std::vector<Polygon>& polys, Point2 p) {
    for (const Polygon& poly : polys) {
        if (!insideRing(poly.outer, p)) continue;
        bool inHole = false;
        for (const auto& h : poly.holes) inHole = inHole || insideRing(h, p);
        if (!inHole) return true;
    }
    return false;
}

double ringDistance(const std::vector<Point2>& ring, Point2 p) {
    double best = INFINITY;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Point2 &a = ring[j], &b = ring[i];
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        const double t =
            len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
    }
    return best;
}

// The distance from p to the nearest boundary of the polygons.
double boundaryDistance(const std::vector<Polygon>& polys, Point2 p) {
    double best = INFINITY;
    for (const Polygon& poly : polys) {
        best = std::min(best, ringDistance(poly.outer, p));
        for (const auto& h : poly.holes) best = std::min(best, ringDistance(h, p));
    }
    return best;
}

double perimeter(const std::vector<Polygon>& polys) {
    double sum = 0;
    auto ring = [&](const std::vector<Point2>& r) {
        for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
            sum += std::hypot(r[i].x - r[j].x, r[i].y - r[j].y);
    };
    for (const Polygon& p : polys) {
        ring(p.outer);
        for (const auto& h : p.holes) ring(h);
    }
    return sum;
}

Polygon square(double x0, double y0, double side) {
    return {{{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}}, {}};
}

struct RodCase {
    double hr, height, z;
    Point2 at;
};

class OneRodLevel : public testing::TestWithParam<RodCase> {};

// One rod's protected region at z is the disk of radius √(H(2Hr − H)) − √(z(2Hr − z)):
// every vertex on its circle to the tolerance, the area π r² to the tolerance along the
// boundary, and the area's rest uncovered.
TEST_P(OneRodLevel, IsTheDiskOfTheClosedForm) {
    const RodCase& c = GetParam();
    Site s;
    s.hr = c.hr;
    s.rods.push_back({c.at.x, c.at.y, 0, c.height});
    const Engine e(s);
    const double r = reach(c.height, c.hr) - reach(c.z, c.hr);
    const Polygon area = square(c.at.x - 70, c.at.y - 70, 140);
    const LevelRegion l = e.level(c.z, {area}, kTol);
    ASSERT_EQ(l.protectedRegion.size(), 1u);
    EXPECT_TRUE(l.protectedRegion[0].holes.empty());
    for (const Point2& v : l.protectedRegion[0].outer)
        EXPECT_NEAR(std::hypot(v.x - c.at.x, v.y - c.at.y), r, kTol);
    EXPECT_NEAR(l.protectedArea, M_PI * r * r, 2 * M_PI * r * kTol);
    EXPECT_NEAR(l.protectedArea + l.uncoveredArea, 140.0 * 140, 1e-6);
    ASSERT_EQ(l.uncovered.size(), 1u);
    EXPECT_EQ(l.uncovered[0].holes.size(), 1u);
    ASSERT_TRUE(l.worst.has_value());
    EXPECT_EQ(l.worst->s, 0);
}

INSTANTIATE_TEST_SUITE_P(Sphere, OneRodLevel,
                         testing::Values(RodCase{30, 20, 5, {0, 0}},
                                         RodCase{45, 25, 10, {3.3, -7.1}},
                                         RodCase{60, 30, 0.5, {101.7, 55.25}},
                                         RodCase{30, 12, 11, {-4.4, 9.9}}));

// Two equal rods (Hr 30, H 20, D 30): between them at Hx 5 the region narrows to the waist
// of half-width Bx = √(Ho(2Hr − Ho)) − √(Hx(2Hr − Hx)) = 7.396033 m across the middle.
TEST(LevelRegion, TwoEqualRodsHaveTheirWaist) {
    Site s;
    s.hr = 30;
    s.rods = {{-15, 0, 0, 20}, {15, 0, 0, 20}};
    const Engine e(s);
    const double ho = 30 - std::sqrt(15.0 * 15 + 10.0 * 10);
    const double bx = reach(ho, 30) - reach(5, 30);
    EXPECT_NEAR(bx, 7.396033, 1e-6);
    const LevelRegion l = e.level(5, {square(-50, -50, 100)}, kTol);
    ASSERT_EQ(l.protectedRegion.size(), 1u);
    EXPECT_TRUE(inside(l.protectedRegion, {0, bx - 2 * kTol}));
    EXPECT_TRUE(inside(l.protectedRegion, {0, -(bx - 2 * kTol)}));
    EXPECT_FALSE(inside(l.protectedRegion, {0, bx + 2 * kTol}));
    EXPECT_TRUE(inside(l.uncovered, {0, -(bx + 2 * kTol)}));
    // The boundary crosses the middle line at ±Bx.
    const Polygon& p = l.protectedRegion[0];
    int crossings = 0;
    for (std::size_t i = 0, j = p.outer.size() - 1; i < p.outer.size(); j = i++) {
        const Point2 &a = p.outer[j], &b = p.outer[i];
        if ((a.x < 0) == (b.x < 0)) continue;
        const double y = a.y + (b.y - a.y) * (0 - a.x) / (b.x - a.x);
        EXPECT_NEAR(std::fabs(y), bx, kTol);
        ++crossings;
    }
    EXPECT_EQ(crossings, 2);
}

// Two parallel conductors 8 m apart at 10 m (Hr 45): the sphere resting on both sinks
// between them to 10 − (45 − √(45² − 4²)) and rises again on either side, so at a level
// just above that the uncovered part is a straight channel a few centimetres wide along
// the middle, narrower than the grid step and between protected grid nodes. Its middle
// line must never be claimed protected, wherever the channel falls between the nodes.
class NarrowChannel : public testing::TestWithParam<double> {};

TEST_P(NarrowChannel, IsNeverClaimedProtected) {
    const double yc = GetParam();
    Site s;
    s.hr = 45;
    s.conductors = {{{-30, yc - 4, 10}, {30, yc - 4, 10}}, {{-30, yc + 4, 10}, {30, yc + 4, 10}}};
    const Engine e(s);
    const double bottom = 10 - (45 - std::sqrt(45.0 * 45 - 4 * 4));
    EXPECT_NEAR(e.surface({0, yc}), bottom, 1e-6);
    // Half-width √(2 Hr dz) = 19 mm at dz = 4e-6 m, against a grid step near 0.09 m.
    const double z = bottom + 4e-6;
    const LevelRegion l = e.level(z, {{{{-3, -6}, {3, -6}, {3, 6}, {-3, 6}}, {}}}, kTol);
    for (double x = -2.5; x <= 2.5; x += 0.5) {
        EXPECT_FALSE(inside(l.protectedRegion, {x, yc})) << x;
        EXPECT_TRUE(inside(l.uncovered, {x, yc})) << x;
    }
    ASSERT_TRUE(l.worst.has_value());
    EXPECT_LT(l.worst->s, z);
}

INSTANTIATE_TEST_SUITE_P(Sphere, NarrowChannel, testing::Values(0.0, 0.021, 0.043, 0.067));

// A roof alone is open everywhere (spheres rest on it); rods added take uncovered area
// away and never add any.
TEST(RoofCheck, UncoveredAreaNeverGrowsAsRodsAreAdded) {
    Site s;
    s.hr = 45;
    s.buildings.push_back({"主楼", {{0, 0}, {40, 0}, {40, 24}, {0, 24}}, 0, 18});
    const std::vector<Rod> rods = {{0, 0, 18, 23},  {40, 24, 18, 23}, {40, 0, 18, 22},
                                   {0, 24, 18, 22}, {20, 12, 18, 21}, {20, 0, 18, 21},
                                   {20, 24, 18, 21}};
    double before = 0;
    for (const std::size_t n : {0, 1, 2, 4, 7}) {
        Site now = s;
        now.rods.assign(rods.begin(), rods.begin() + static_cast<long>(n));
        const std::vector<RoofCheck> r = Engine(now).roofs(kTol);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].name, "主楼");
        EXPECT_EQ(r[0].height, 18);
        if (n == 0) {
            EXPECT_NEAR(r[0].uncoveredArea, 40.0 * 24, 1e-6);
            EXPECT_FALSE(r[0].ok);
            EXPECT_NEAR(r[0].worst.s, 18, 1e-6);
        } else {
            EXPECT_LE(r[0].uncoveredArea, before + 1e-6) << n << " rods";
        }
        EXPECT_EQ(r[0].ok, r[0].uncovered.empty() && r[0].worst.s > 18.001) << n << " rods";
        before = r[0].uncoveredArea;
    }
    EXPECT_LT(before, 40.0 * 24 / 2);
}

// The whole site moved and turned: the region moves with it and keeps its areas.
TEST(LevelRegion, MovesAndTurnsWithTheSite) {
    Site s;
    s.hr = 30;
    s.rods = {{0, 0, 0, 18}, {22, 4, 0, 15}, {9, 20, 0, 20}};
    s.conductors.push_back({{-10, -10, 12}, {10, -14, 14}});
    s.buildings.push_back({"B", {{25, 20}, {40, 20}, {40, 32}, {25, 32}}, 0, 9});
    const double a = 0.7, tx = 130.5, ty = -48.25;
    auto move = [&](Point2 p) {
        return Point2{tx + p.x * std::cos(a) - p.y * std::sin(a),
                      ty + p.x * std::sin(a) + p.y * std::cos(a)};
    };
    Site moved = s;
    for (Rod& r : moved.rods) {
        const Point2 q = move({r.x, r.y});
        r.x = q.x, r.y = q.y;
    }
    for (Conductor& c : moved.conductors) {
        const Point2 f = move({c.from.x, c.from.y}), t = move({c.to.x, c.to.y});
        c.from.x = f.x, c.from.y = f.y, c.to.x = t.x, c.to.y = t.y;
    }
    for (Point2& v : moved.buildings[0].outline) v = move(v);
    Polygon area = square(-40, -40, 100), movedArea;
    for (const Point2& v : area.outer) movedArea.outer.push_back(move(v));

    const LevelRegion here = Engine(s).level(6, {area}, kTol);
    const LevelRegion there = Engine(moved).level(6, {movedArea}, kTol);
    const double band = 2 * kTol * perimeter(here.protectedRegion);
    EXPECT_NEAR(there.protectedArea, here.protectedArea, band);
    EXPECT_NEAR(there.uncoveredArea, here.uncoveredArea, band);
    EXPECT_EQ(there.protectedRegion.size(), here.protectedRegion.size());
    std::vector<Polygon> carried = here.protectedRegion;
    for (Polygon& p : carried) {
        for (Point2& v : p.outer) v = move(v);
        for (auto& h : p.holes)
            for (Point2& v : h) v = move(v);
    }
    // Each vertex of either lies on the other's boundary, to the tolerance and the bow of
    // the other's chords (vertices some 1.5 m apart where the boundary bends tightly).
    for (const Polygon& p : there.protectedRegion)
        for (const Point2& v : p.outer) EXPECT_LT(boundaryDistance(carried, v), 0.15);
    for (const Polygon& p : carried)
        for (const Point2& v : p.outer) EXPECT_LT(boundaryDistance(there.protectedRegion, v), 0.15);
}

// S sampled at random inside the polygons: at or above z inside the protected ones, below
// z + the tolerance inside the uncovered ones (away from the boundary by more than the bow
// of a chord between two vertices).
TEST(LevelRegion, SurfaceAgreesWithThePolygons) {
    Site s;
    s.hr = 45;
    s.rods = {{0, 0, 0, 25}, {30, 0, 0, 30}, {15, 26, 0, 22}};
    s.conductors.push_back({{-20, 30, 15}, {10, 45, 16}});
    s.buildings.push_back({"B", {{35, 20}, {55, 20}, {55, 40}, {35, 40}}, 0, 14});
    const Engine e(s);
    std::mt19937 g(5);
    std::uniform_real_distribution<double> at(-30, 70);
    for (const double z : {4.0, 11.0}) {
        const LevelRegion l = e.level(z, {square(-30, -30, 100)}, kTol);
        int inProtected = 0, inUncovered = 0;
        for (int i = 0; i < 150; ++i) {
            const Point2 p{at(g), at(g)};
            if (boundaryDistance(l.protectedRegion, p) < 0.05) continue;
            const double sp = e.surface(p);
            if (inside(l.protectedRegion, p)) {
                EXPECT_GE(sp, z - 1e-6) << p.x << "," << p.y;
                EXPECT_FALSE(inside(l.uncovered, p));
                ++inProtected;
            } else {
                EXPECT_TRUE(inside(l.uncovered, p)) << p.x << "," << p.y;
                EXPECT_LT(sp, z + kTol) << p.x << "," << p.y;
                ++inUncovered;
            }
        }
        EXPECT_GT(inProtected, 5) << z;
        EXPECT_GT(inUncovered, 5) << z;
        ASSERT_TRUE(l.worst.has_value());
        EXPECT_EQ(l.worst->s, 0);
    }
}

// The coarse map: S at its nodes, rows along y.
TEST(SurfaceGrid, HoldsSAtItsNodes) {
    Site s;
    s.hr = 30;
    s.rods = {{0, 0, 0, 20}, {18, 5, 0, 16}};
    const Engine e(s);
    const SurfaceGrid grid = e.grid({-10, -6, 30, 14}, 2.5);
    ASSERT_EQ(grid.nx, 17);
    ASSERT_EQ(grid.ny, 9);
    ASSERT_EQ(grid.s.size(), 17u * 9u);
    for (int j = 0; j < grid.ny; j += 4)
        for (int i = 0; i < grid.nx; i += 3) {
            const Point2 p{-10 + i * 2.5, -6 + j * 2.5};
            EXPECT_NEAR(grid.s[static_cast<std::size_t>(j * grid.nx + i)], e.surface(p), 1e-3);
        }
}

// The maps err on the protected side never: on random sites, each node of the 1 mm map
// lies at or under S there and within 1 mm of it; the live map's value for a square lies
// at or under S at every point sampled in the square, and is no looser than its stated
// accuracy allows (under the least S sampled by no more than `within` and the change of S
// across its finest cells, each taken twice).
TEST(SurfaceMaps, NeverAboveTheSurface) {
    std::mt19937 g(29);
    constexpr double kWithin = 0.05, kStep = 2.0;
    for (int k = 0; k < 6; ++k) {
        const Site site = testing_sites::randomSite(g);
        const double x0 = testing_sites::uniform(g, -30, 20),
                     y0 = testing_sites::uniform(g, -30, 20);
        if (k % testing_sites::kSweepStride != 0) continue;  // the sanitizer build: a part
        const Engine e(site);
        const Box box{x0, y0, x0 + 4 * kStep, y0 + 2 * kStep};
        const SurfaceGrid fine = e.grid(box, kStep);
        const SurfaceGrid live = e.liveMap(box, kStep, kWithin);
        ASSERT_EQ(fine.s.size(), 15u);
        ASSERT_EQ(live.s.size(), 15u);
        for (int j = 0; j < fine.ny; ++j)
            for (int i = 0; i < fine.nx; ++i) {
                const std::size_t n = static_cast<std::size_t>(j * fine.nx + i);
                const Point2 c{x0 + i * kStep, y0 + j * kStep};
                const double s = e.surface(c);
                EXPECT_LE(fine.s[n], s) << "site " << k << " node " << i << "," << j;
                EXPECT_GE(fine.s[n], s - 1e-3 - 1e-6) << "site " << k << " node " << i << "," << j;
                double least = INFINITY, steepest = 0;
                double row[5][5];
                for (int b = 0; b < 5; ++b)
                    for (int d = 0; d < 5; ++d) {
                        const Point2 q{c.x + (b - 2) * kStep / 4, c.y + (d - 2) * kStep / 4};
                        const double sq = row[b][d] = e.surface(q);
                        least = std::min(least, sq);
                        if (b > 0) steepest = std::max(steepest, std::fabs(sq - row[b - 1][d]));
                        if (d > 0) steepest = std::max(steepest, std::fabs(sq - row[b][d - 1]));
                        EXPECT_LE(live.s[n], sq) << "site " << k << " at " << q.x << "," << q.y;
                    }
                // The samples are a quarter of the square apart, the finest cells a
                // sixteenth: the change across those, with a margin of twice.
                EXPECT_GE(live.s[n], least - 2 * kWithin - steepest / 2)
                    << "site " << k << " node " << i << "," << j;
            }
    }
}

}  // namespace
}  // namespace tervalen::sphere
