// Rules that sit on a knife edge: a rounding before a comparison, a lowest point that is
// exactly zero, a malformed number whose first part underflows, the 100 m branch of the
// collection area. Each row here failed to notice nothing else in the suite when broken.

#include <gtest/gtest.h>

#include <string>

#include "calc/other/ljcs.h"
#include "form_test_support.h"
#include "forms/number.h"

using namespace tervalen;
using tervalen::forms::testing::calculate;
using tervalen::forms::testing::expectPress;
using tervalen::forms::testing::PressCase;

namespace {

class EdgeRules : public ::testing::TestWithParam<PressCase> {};

TEST_P(EdgeRules, PrintExactlyThis) {
    expectPress(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, EdgeRules,
    ::testing::Values(
        // 45.7 − 15.7 is 30.000001 in double precision; rounded to single it is 30, which
        // is not above Hr, so the rod is not refused as too high.
        calculate("frmRx_JSDanZ",
                  {{"CmbYesNo", "是"}, {"CmbHr", "30"}, {"CmbH", "45.7"}, {"CmbHx", "15.7"}},
                  {{"PicRx", " 30"}}),
        calculate("frmRx_JSShuangZ",
                  {{"CmbYesNo", "是"},
                   {"CmbHr", "30"},
                   {"CmbH", "45.7"},
                   {"CmbHx", "15.7"},
                   {"CmbD", "20"}},
                  {{"PicRx", " 30"}, {"PicHo", " 20"}, {"PicBx", " 28.28427"}}),
        // Diagonal 60 m: the lowest point between opposite rods is exactly on the ground.
        calculate("frmRx_DLSiZ",
                  {{"CmbHr", "30"}, {"CmbH", "30"}, {"CmbHx", "0"}, {"CmbL", "42.426407"}},
                  {{"PicRx", " 30"},
                   {"PicHo1", " 8.786797"},
                   {"PicBx1", " 21.2132"},
                   {"PicHo2", " 0"},
                   {"PicBx2", " 0"}})));

TEST(EdgeRules, TwoPointsAreNeverANumberEvenWhenTheFirstPartUnderflows) {
    const std::string underflowing = "0." + std::string(50, '0') + "1.5";
    EXPECT_FALSE(forms::toSingle(underflowing).has_value());
    EXPECT_FALSE(forms::toDouble("0." + std::string(400, '0') + "1.5").has_value());
    // Without its second part the same text is a (tiny) number.
    EXPECT_TRUE(forms::toSingle("0." + std::string(50, '0') + "1").has_value());
    expectPress(calculate("frmRx_DLDanZ", {{"CmbH", underflowing}, {"CmbHx", "0"}}, {{"PicRx", ""}},
                          {"输入的 H 数值错误！\nH 的数值不是一个有效的数字！"}));
}

TEST(EdgeRules, AHundredMetreBuildingCollectsOutToItsHeight) {
    // Both formulas give the same area to the displayed digits here: the branch itself
    // is what is pinned.
    const auto at = std::get<LJCS>(calcLJCS({1, 40, 50, 20, 100}));
    EXPECT_TRUE(at.fromHeight);
    EXPECT_EQ(at.reachOut, 100.0);
    const auto below = std::get<LJCS>(calcLJCS({1, 40, 50, 20, 99.99f}));
    EXPECT_FALSE(below.fromHeight);
    EXPECT_NEAR(below.reachOut, 100.0, 1e-3);
}

}  // namespace
