// The engine against every closed formula of the rolling-sphere method, each a special
// case of the exact geometry: to 1e-6 m.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/sphere/engine.h"

namespace tervalen::sphere {
namespace {

// One rod of height H: the protected height at distance x from it, from
// x = √(H(2Hr − H)) − √(z(2Hr − z)).
double oneRod(double H, double Hr, double x) {
    const double R = std::sqrt(H * (2 * Hr - H));
    return Hr - std::sqrt(Hr * Hr - (R - x) * (R - x));
}

struct Case {
    std::string name;
    Site site;
    Point2 at;
    double expected;
};

Site rods(double hr, std::vector<Rod> rs) {
    Site s;
    s.hr = hr;
    s.rods = std::move(rs);
    return s;
}

// n rods of height H on a regular polygon of side L around the origin.
Site ring(int n, double L, double H, double hr) {
    const double R = L / (2 * std::sin(M_PI / n));
    std::vector<Rod> rs;
    for (int i = 0; i < n; ++i)
        rs.push_back(
            {R * std::cos(2 * M_PI * i / n + 0.3), R * std::sin(2 * M_PI * i / n + 0.3), 0, H});
    return rods(hr, rs);
}

Site wire(double hr, double height, double span, std::optional<double> sag) {
    Site s;
    s.hr = hr;
    s.wires.push_back({{-span / 2, 0, height}, {span / 2, 0, height}, sag});
    return s;
}

class ClosedForm : public testing::TestWithParam<Case> {};

TEST_P(ClosedForm, SurfaceMatchesTheFormula) {
    const Case& c = GetParam();
    const Engine e(c.site);
    EXPECT_NEAR(e.surface(c.at), c.expected, 1e-6) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Sphere, ClosedForm,
    testing::Values(
        Case{"OneRodAtItsFoot", rods(30, {{0, 0, 0, 20}}), {0, 0}, 20},
        Case{"OneRodAt5m", rods(30, {{0, 0, 0, 20}}), {5, 0}, oneRod(20, 30, 5)},
        Case{"OneRodAt15m", rods(45, {{3, -2, 0, 20}}), {3, 13}, oneRod(20, 45, 15)},
        Case{"OneRodNearItsReach", rods(60, {{0, 0, 0, 35}}), {0, 44.5}, oneRod(35, 60, 44.5)},
        Case{"OneRodBeyondItsReach", rods(30, {{0, 0, 0, 20}}), {30, 0}, 0},
        Case{"OneRodOnARoof", rods(30, {{0, 0, 10, 20}}), {7, 0}, oneRod(20, 30, 7)},
        // Two equal rods midway: Hr − √((Hr − H)² + (D/2)²).
        Case{"TwoEqualRodsMidway",
             rods(45, {{-30, 0, 0, 20}, {30, 0, 0, 20}}),
             {0, 0},
             45 - std::sqrt(25.0 * 25 + 30.0 * 30)},
        Case{"TwoEqualRodsMidwayHr30",
             rods(30, {{0, 0, 0, 25}, {0, 40, 0, 25}}),
             {0, 20},
             30 - std::sqrt(25.0 + 400)},
        // Two unequal rods: the lowest point at D1 from the first (H1 20, H2 30, D 60,
        // Hr 45: D1 26.666667, 8.447146 m).
        Case{"TwoUnequalRodsLowestPoint",
             rods(45, {{0, 0, 0, 20}, {60, 0, 0, 30}}),
             {80.0 / 3, 0},
             8.447146484},
        // Resting on tips at R from the axis: H + √(Hr² − R²) − Hr.
        Case{"ThreeRodsSide30", ring(3, 30, 15, 30), {0, 0}, 9.494897428},
        Case{"ThreeRodsSide40", ring(3, 40, 15, 30), {0, 0}, 4.148542155},
        Case{"FourRodsSide30", ring(4, 30, 15, 30), {0, 0}, 6.213203436},
        // A wire at mid-span: one rod of the wire's lowest height.
        Case{"WireMidSpanGivenSag", wire(45, 25, 100, 2.0), {0, 10}, oneRod(23, 45, 10)},
        Case{"WireMidSpanSagRule", wire(30, 18, 130, std::nullopt), {0, 6}, oneRod(15, 30, 6)},
        Case{"WireBelowItsLowestPoint", wire(30, 18, 80, 0.0), {0, 0}, 18}),
    [](const testing::TestParamInfo<Case>& i) { return i.param.name; });

// The printed values of the formulas themselves, so that the table above checks against
// numbers and not only against formulas written the same way twice.
TEST(ClosedForm, PrintedValues) {
    EXPECT_NEAR(45 - std::sqrt(25.0 * 25 + 30.0 * 30), 5.948751, 1e-6);
    EXPECT_NEAR(15 + std::sqrt(900 - 1200.0 / 3 * 0.75) - 30, 9.494897, 1e-6);
}

// The lowest point between two unequal rods found along the line joining them.
TEST(ClosedForm, TwoUnequalRodsLowestAlongTheLine) {
    const Engine e(rods(45, {{0, 0, 0, 20}, {60, 0, 0, 30}}));
    const Lowest low = e.lowestAlong({0, 0}, {60, 0}, 1.0);
    EXPECT_NEAR(low.s, 8.447146, 1e-6);
    EXPECT_NEAR(low.at.x, 26.666667, 1e-3);
    const Lowest simple = lowestAlongOf(45, {{0, 0, 0, 20}, {60, 0, 0, 30}}, {}, {0, 0}, {60, 0});
    EXPECT_NEAR(simple.s, low.s, 1e-9);
    EXPECT_NEAR(surfaceOf(45, {{0, 0, 0, 20}, {60, 0, 0, 30}}, {}, {80.0 / 3, 0}), 8.447146, 1e-6);
}

// Where the four-rod form's diagonal formula says 4.019 m, the sphere resting on the four
// tips stays at 6.213203 m: the formula is the more conservative.
TEST(ClosedForm, FourRodsCentreAboveTheDiagonalFormula) {
    const Engine e(ring(4, 30, 15, 30));
    const double diagonal = 30 - std::sqrt(15.0 * 15 + 900.0 / 2);
    EXPECT_NEAR(diagonal, 4.019, 1e-3);
    const Touch t = e.touch({0, 0});
    EXPECT_NEAR(t.s, 6.213203, 1e-6);
    EXPECT_NEAR(t.centre.x, 0, 1e-4);
    EXPECT_NEAR(t.centre.y, 0, 1e-4);
    EXPECT_NEAR(t.centre.z, 36.213203, 1e-6);
}

}  // namespace
}  // namespace tervalen::sphere
