// The proof that S stays at or above a level over a whole square, which the site window's
// coarse map shows as protected: never given where the exact engine finds a sphere lower
// at a point of the square, and when refused, the sphere it names is admissible and does
// reach below the level over the square. And the test of a centre against objects that
// a drag uses to keep such a sphere.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "calc/sphere/engine.h"
#include "random_sites.h"

namespace tervalen::sphere {
namespace {

using testing_sites::uniform;

// The square's point nearest to c in plan, and how far it is.
Point2 nearestOf(Point2 centre, double half, Point3 c) {
    return {std::clamp(c.x, centre.x - half, centre.x + half),
            std::clamp(c.y, centre.y - half, centre.y + half)};
}

// A named sphere is genuine: admissible among the site's objects (touching allowed), at
// Hr or higher, within Hr of the square in plan and its bottom there below z; and the
// exact engine finds S below z there too.
void expectGenuine(const Engine& e, Point2 centre, double half, double z, Point3 c,
                   const std::string& where) {
    const double hr = e.hr();
    EXPECT_GE(c.z, hr - 1e-9) << where;
    EXPECT_TRUE(e.clearOf(c, -1e-7)) << where;
    const Point2 q = nearestOf(centre, half, c);
    const double d2 = (q.x - c.x) * (q.x - c.x) + (q.y - c.y) * (q.y - c.y);
    ASSERT_LE(d2, hr * hr) << where;
    EXPECT_LT(c.z - std::sqrt(hr * hr - d2), z) << where;
    EXPECT_LT(e.surface(q), z + 1e-6) << where;
}

// On random sites, squares of 1 to 4 m and levels about S at their centres: a proof is
// never given where S dips below the level at any of 25 points of the square (its corners
// and edges among them), and a refusal that names a sphere names a genuine one. Both
// outcomes occur often (a proof that always refuses, or never names a sphere, fails too).
TEST(SquareProof, NeverGivenWhereASphereReachesBelow) {
    std::mt19937 g(71);
    int proved = 0, refuted = 0;
    for (int k = 0; k < 60; ++k) {
        const Site site = testing_sites::randomSite(g);
        const Point2 centre{uniform(g, -35, 35), uniform(g, -35, 35)};
        const double half = uniform(g, 0.5, 2.0);
        const double dz = uniform(g, -2.0, 0.3);
        if (k % testing_sites::kSweepStride != 0) continue;  // the sanitizer build: a part
        const Engine e(site);
        const double z = std::max(0.01, e.surface(centre) + dz);
        const std::string where = "site " + std::to_string(k);
        const Proof proof = e.proveAtLeast(centre, half, z);
        if (proof.proved) {
            ++proved;
            EXPECT_FALSE(proof.witness) << where;
            for (int i = 0; i < 5; ++i)
                for (int j = 0; j < 5; ++j) {
                    const Point2 q{centre.x + (i - 2) * half / 2, centre.y + (j - 2) * half / 2};
                    EXPECT_GE(e.surface(q), z - 1e-6) << where << " at " << q.x << "," << q.y;
                }
        } else if (proof.witness) {
            ++refuted;
            expectGenuine(e, centre, half, z, *proof.witness, where);
        }
    }
    if (testing_sites::kSweepStride == 1) {
        EXPECT_GE(proved, 8);
        EXPECT_GE(refuted, 8);
    }
}

// A rod alone on open ground: S at a distance d is the closed form
// Hr − √(Hr² − (a − d)²), a = √(2 Hr h − h²), falling with d, so its least over a square
// is at the square's farthest corner. 5 cm under that the square is proved (the proof's
// finest cells are a sixty-fourth of the square); 1 cm over it refused, naming a sphere
// that reaches below it.
struct RodSquare {
    double hr, h, dx, dy, half;
};

class RodAlone : public testing::TestWithParam<RodSquare> {};

TEST_P(RodAlone, ProvedJustUnderTheClosedFormAndRefutedJustOver) {
    const RodSquare c = GetParam();
    Site site;
    site.hr = c.hr;
    site.rods.push_back({0, 0, 0, c.h});
    const Engine e(site);
    const double a = std::sqrt(2 * c.hr * c.h - c.h * c.h);
    const double far = std::hypot(std::fabs(c.dx) + c.half, std::fabs(c.dy) + c.half);
    ASSERT_LT(far, a);
    const double least = c.hr - std::sqrt(c.hr * c.hr - (a - far) * (a - far));
    EXPECT_NEAR(e.surface({c.dx + std::copysign(c.half, c.dx), c.dy + std::copysign(c.half, c.dy)}),
                least, 1e-6);
    EXPECT_TRUE(e.proveAtLeast({c.dx, c.dy}, c.half, least - 0.05).proved);
    const Proof over = e.proveAtLeast({c.dx, c.dy}, c.half, least + 0.01);
    EXPECT_FALSE(over.proved);
    ASSERT_TRUE(over.witness);
    expectGenuine(e, {c.dx, c.dy}, c.half, least + 0.01, *over.witness, "rod");
}

INSTANTIATE_TEST_SUITE_P(Sphere, RodAlone,
                         testing::Values(RodSquare{45, 10, 5, 3, 1}, RodSquare{30, 20, -8, 2, 2},
                                         RodSquare{60, 5, 3, -4, 0.5},
                                         RodSquare{45, 30, 12, 12, 1.5}));

// clearOf: a centre beside a rod is clear of it at Hr and beyond in 3D, and not within;
// the margin counts in height on the centre's vertical.
TEST(ClearOf, TheRodsReachAndTheMargin) {
    Site site;
    site.hr = 30;
    site.rods.push_back({0, 0, 0, 10});
    const Engine e(site);
    const double side = std::sqrt(30.0 * 30.0 - 18.0 * 18.0);  // at 18 m in plan: 24 m
    struct Case {
        Point3 c;
        double margin;
        bool clear;
    };
    for (const Case& k : {Case{{31, 0, 30}, 0, true},                // out of reach in plan
                          Case{{18, 0, 10 + side + 0.01}, 0, true},  // above the tip's reach
                          Case{{18, 0, 10 + side - 0.01}, 0, false},
                          Case{{18, 0, 10 + side + 0.01}, 0.02, false},  // not by the margin
                          Case{{0, 5, 39.7}, 0, true},  // over the tip: 10 + √(30² − 5²)
                          Case{{0, 5, 39.4}, 0, false}})
        EXPECT_EQ(e.clearOf(k.c, k.margin), k.clear) << k.c.x << "," << k.c.y << "," << k.c.z;
}

}  // namespace
}  // namespace tervalen::sphere
