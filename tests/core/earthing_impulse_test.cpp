// Impulse conversion: the whole conversion through frmDZ_GC, the banded coefficient with
// its band edges, the flat part of the chart, and the failures.

#include <gtest/gtest.h>

#include <ostream>

#include "calc/earthing/dz_gc.h"
#include "form_test_support.h"
#include "forms/display.h"

using namespace tervalen;
using tervalen::forms::formatResult;
using tervalen::forms::Icon;
using tervalen::forms::Message;
using tervalen::forms::testing::Recorded;

namespace {

std::string shownA(float rho, float L) {
    return formatResult(std::get<DzGc>(calcDZ_GC({10, rho, L})).A);
}

struct ConversionCase {
    const char *rho, *L;
    const char *Le, *A, *Ri;  // as shown, for R = 10
};

std::ostream& operator<<(std::ostream& o, const ConversionCase& c) {
    return o << "rho " << c.rho << " L " << c.L;
}

class ImpulseConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ImpulseConversion, PrintsRiAndLeAndReadsTheChartCoefficient) {
    const ConversionCase& c = GetParam();
    Recorded r("frmDZ_GC");
    EXPECT_TRUE(r.run({{"CmbR", "10"}, {"Cmbρ", c.rho}, {"CmbL", c.L}}).empty());
    EXPECT_EQ(r.form.text("PicRi"), c.Ri);
    EXPECT_EQ(r.form.text("PicLe"), c.Le);
    EXPECT_EQ(shownA(std::stof(c.rho), std::stof(c.L)), c.A);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, ImpulseConversion,
    ::testing::Values(ConversionCase{"50", "10", " 14.14214", " 1", " 10"},
                      ConversionCase{"150", "5", " 24.4949", " 1.054381", " 9.484239"},
                      ConversionCase{"300", "10", " 34.64102", " 1.224326", " 8.167763"},
                      ConversionCase{"500", "5", " 44.72136", " 1.5", " 6.666667"},
                      ConversionCase{"500", "20", " 44.72136", " 1.394847", " 7.169243"},
                      // Just above 500 the angle starts again from zero: A drops.
                      ConversionCase{"510", "5", " 45.16636", " 1.071877", " 9.32943"},
                      ConversionCase{"1000", "10", " 63.24555", " 2", " 5"},
                      ConversionCase{"1050", "10", " 64.8074", " 1.09751", " 9.111536"},
                      ConversionCase{"1500", "20", " 77.45966", " 1.479638", " 6.758411"},
                      ConversionCase{"2000", "5", " 89.44272", " 2.999998", " 3.333336"},
                      ConversionCase{"3000", "30", " 109.5445", " 2.61364", " 3.826082"},
                      // L beyond Le is cut to Le: the line's end, A = 1.
                      ConversionCase{"3000", "200", " 109.5445", " 1", " 10"},
                      ConversionCase{"0", "7", " 0", " 1", " 10"}));

// Coefficient on the flat part of the chart, one column per block, k = 1, 2, ...
struct BandColumn {
    float lower, width;
    std::vector<const char*> A;
};

std::ostream& operator<<(std::ostream& o, const BandColumn& c) {
    return o << "above " << c.lower;
}

class FlatPartCoefficient : public ::testing::TestWithParam<BandColumn> {};

TEST_P(FlatPartCoefficient, IsConstantWithinABandAndTheUpperEdgeBelongsToIt) {
    const BandColumn& c = GetParam();
    for (std::size_t i = 0; i < c.A.size(); ++i) {
        const float k = static_cast<float>(i + 1);
        const float first = c.lower + (k - 1) * c.width + 0.01f, edge = c.lower + k * c.width;
        for (float rho : {first, c.lower + (k - 0.5f) * c.width, edge})
            EXPECT_EQ(shownA(rho, 1), c.A[i]) << "rho " << rho;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bands, FlatPartCoefficient,
    ::testing::Values(BandColumn{100,
                                 50,
                                 {" 1.054381", " 1.109422", " 1.165817", " 1.224326", " 1.285822",
                                  " 1.351348", " 1.422192", " 1.5"}},
                      BandColumn{500,
                                 50,
                                 {" 1.071877", " 1.144924", " 1.220388", " 1.299682", " 1.3845",
                                  " 1.476974", " 1.579915", " 1.6972", " 1.834412", " 2"}},
                      BandColumn{
                          1000,
                          100,
                          {" 1.103771", " 1.210338", " 1.322808", " 1.444982", " 1.581927",
                           " 1.740936", " 1.933299", " 2.177909", " 2.509465", " 2.999998"}}));

TEST(FlatPartCoefficient, OutsideTheBlocksTheLimitingLinesHold) {
    EXPECT_EQ(shownA(100, 1), " 1");
    EXPECT_EQ(shownA(100.01f, 1), " 1.054381");
    for (float rho : {2000.01f, 5000.0f, 1e30f}) EXPECT_EQ(shownA(rho, 1), " 2.999998") << rho;
}

TEST(ImpulseConversionUnit, TheTwoFormulasMeetWhereTheLineStarts) {
    // ρ 400: Le = 40 exactly, so L 12 puts L/Le on the start of the ρ = 500 line (x0 = 0.3).
    const auto at = std::get<DzGc>(calcDZ_GC({10, 400, 12}));
    const auto left = std::get<DzGc>(calcDZ_GC({10, 400, 1}));
    const auto right = std::get<DzGc>(calcDZ_GC({10, 400, 12.5f}));
    EXPECT_TRUE(at.flat);
    EXPECT_FALSE(right.flat);
    EXPECT_EQ(at.A, left.A);
    EXPECT_LT(right.A, at.A);
    EXPECT_GT(right.A, 1.0f);
}

TEST(ImpulseConversionUnit, NegativeLengthIsOnTheFlatPartAndLowResistivityKeepsR) {
    // A negative length lies left of every line's start.
    EXPECT_EQ(shownA(300, -5), " 1.224326");
    // ρ ≤ 100: Ri = R whatever L is; R = 0 gives Ri = 0.
    const auto low = std::get<DzGc>(calcDZ_GC({7.5f, 80, 1000}));
    EXPECT_EQ(low.Ri, 7.5f);
    EXPECT_EQ(low.L, low.Le);
    EXPECT_EQ(std::get<DzGc>(calcDZ_GC({0, 3000, 30})).Ri, 0.0f);
}

TEST(ImpulseConversionForm, BlankInputsStopSilentlyAndNegativeResistivityFailsAtTheRoot) {
    Recorded r("frmDZ_GC");
    r.run({{"CmbR", "10"}, {"Cmbρ", "300"}, {"CmbL", "10"}});
    ASSERT_EQ(r.form.text("PicRi"), " 8.167763");
    for (const char* box : {"CmbR", "Cmbρ", "CmbL"}) {
        Recorded b("frmDZ_GC");
        b.run({{"CmbR", "10"}, {"Cmbρ", "300"}, {"CmbL", "10"}});
        EXPECT_TRUE(b.run({{box, ""}}).empty()) << box;
        EXPECT_EQ(b.form.text("PicRi"), "") << box;
        EXPECT_EQ(b.form.text("PicLe"), "") << box;
    }
    // A pasted negative resistivity gets past the key filter.
    const auto shown = r.run({{"Cmbρ", "-300"}});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Message{"输入的数据无法计算！\n计算 Le 时遇到负数开平方！", Icon::None}));
    EXPECT_EQ(r.form.text("PicRi"), "");
    EXPECT_EQ(r.form.text("PicLe"), "");
}

}  // namespace
