// Two rods of different heights: the range unit's printed values, its checks, when each
// rod is a single rod and why, its weak points; the height unit's least second rod.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "calc/height/h_bdgshuangz.h"
#include "calc/range/rx_bdgshuangz.h"
#include "calc/range/rx_shuangz.h"
#include "forms/display.h"

using namespace tervalen;
using tervalen::forms::formatResult;

namespace {

const char* const kH1TooHigh = "避雷针太高！\n避雷针高度 H1 不应大于滚球半径 Hr ！";
const char* const kH2TooHigh = "避雷针太高！\n避雷针高度 H2 不应大于滚球半径 Hr ！";
const char* const kAboveH1 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H1 ！";
const char* const kAboveH2 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H2 ！";
const char* const kApart =
    "避雷针之间距离太大！\n两针的保护范围在地面上不相连，各按单支避雷针计算保护范围。";
const char* const kNoLowest =
    "两针之间无保护最低点！\n较低的避雷针离较高的避雷针过近，各按单支避雷针计算保护范围。";

// What a form would show: "Rx1|Rx2|D1|Ho|Bx" (empty where nothing is printed), then the
// sentence that says each rod is a single rod; or the refusal.
std::string printed(const Outcome<RxBDGShuangZ>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    const auto& r = std::get<RxBDGShuangZ>(o);
    std::string s = formatResult(r.Rx1) + "|" + formatResult(r.Rx2) + "|";
    if (r.waist)
        s += formatResult(r.waist->D1) + "|" + formatResult(r.waist->Ho) + "|" +
             formatResult(r.waist->Bx);
    else
        s += "||";
    if (!r.single.empty()) s += "|" + r.single;
    return s;
}

struct RangeCase {
    std::string label;
    UnequalRodsInput in;
    std::string expected;
};
std::ostream& operator<<(std::ostream& o, const RangeCase& c) {
    return o << c.label;
}

class UnequalRods : public ::testing::TestWithParam<RangeCase> {};

TEST_P(UnequalRods, PrintOrRefuse) {
    EXPECT_EQ(printed(calcRx_BDGShuangZ(GetParam().in)), GetParam().expected);
}

// The limit r01 + r02 of Hr 45, H1 20, H2 30 in single precision.
const float kLimit = static_cast<float>(std::sqrt(1400.0) + std::sqrt(1800.0));

INSTANTIATE_TEST_SUITE_P(
    Range, UnequalRods,
    ::testing::Values(
        // The worked vector: in double precision D1 26.66667, Ho 8.447146, Bx 5.631165,
        // Rx1 16.80105, Rx2 21.81088; stored in single precision at each name (Bx from the
        // stored Ho) the printed digits are the same.
        RangeCase{
            "vector", {45, 20, 30, 60, 5}, " 16.80105| 21.81088| 26.66667| 8.447146| 5.631165"},
        // The taller rod first: the same lowest point and width, D1 from the other rod.
        RangeCase{
            "swapped", {45, 30, 20, 60, 5}, " 21.81088| 16.80105| 33.33333| 8.447146| 5.631165"},
        RangeCase{"heightsEqualHr", {30, 30, 30, 40, 0}, " 30| 30| 20| 10| 22.36068"},
        RangeCase{
            "HxEqualLowerRod", {45, 20, 30, 60, 20}, " 0| 5.009833| 26.66667| 8.447146|-11.16988"},
        // The checks in order, each naming its rod.
        RangeCase{"H1AboveHr", {30, 30.5f, 20, 10, 0}, kH1TooHigh},
        RangeCase{"H2AboveHr", {30, 20, 30.5f, 10, 0}, kH2TooHigh},
        RangeCase{"bothAboveHrNamesRod1", {30, 31, 31, 10, 40}, kH1TooHigh},
        RangeCase{"HxAboveH1", {30, 10, 20, 10, 12}, kAboveH1},
        RangeCase{"HxAboveH2", {30, 20, 10, 10, 12}, kAboveH2},
        // Each rod a single rod: apart at or past r01 + r02 (rounded), and with the line of
        // the lowest point not between the rods, on either side, or no spacing at all.
        RangeCase{
            "apart", {45, 20, 30, 80, 5}, std::string(" 16.80105| 21.81088|||") + "|" + kApart},
        RangeCase{"atTheLimit",
                  {45, 20, 30, kLimit, 5},
                  std::string(" 16.80105| 21.81088|||") + "|" + kApart},
        RangeCase{"lowerRodNearTallerBeyondRod2",
                  {45, 30, 20, 10, 5},
                  std::string(" 21.81088| 16.80105|||") + "|" + kNoLowest},
        RangeCase{"lowerRodNearTallerBehindRod1",
                  {45, 20, 30, 15, 5},
                  std::string(" 16.80105| 21.81088|||") + "|" + kNoLowest},
        RangeCase{"sameSpot",
                  {45, 20, 30, 0, 5},
                  std::string(" 16.80105| 21.81088|||") + "|" + kNoLowest},
        RangeCase{"negativeSpacing",
                  {45, 20, 30, -60, 5},
                  std::string(" 16.80105| 21.81088|||") + "|" + kNoLowest}),
    [](const ::testing::TestParamInfo<RangeCase>& i) { return i.param.label; });

// Just below the rounded limit the rods join, with the lowest point a hair above ground.
TEST(UnequalRodsLimit, NextSingleBelowJoins) {
    const auto r =
        std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 20, 30, std::nextafter(kLimit, 0.0f), 5}));
    EXPECT_EQ(r.limit, kLimit);
    if (r.waist) {
        EXPECT_GE(r.waist->Ho, 0);
        EXPECT_LT(r.waist->Ho, 1e-3);
        EXPECT_LT(r.waist->Bx, 0);
    } else {
        EXPECT_EQ(r.single, kApart);  // rounded to a lowest point below the ground
    }
}

// With equal heights the pair is the equal-rod pair: the same digits in every box.
TEST(UnequalRods, EqualHeightsPrintWhatTheEqualRodsPrint) {
    struct Equal {
        float Hr, H, Hx, D;
    };
    for (const Equal e : std::vector<Equal>{{30, 20, 5, 30},
                                            {30, 20, 10, 50},
                                            {30, 20, 20, 30},
                                            {30, 30, 0, 40},
                                            {45, 28.5f, 7.25f, 33.33f},
                                            {60, 40, 12, 17.3f},
                                            {30, 20, 0, 56.56854f}}) {
        const auto same = std::get<TwoRods>(calcRx_DLShuangZ({e.Hr, e.H, e.Hx, e.D}));
        const auto r = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({e.Hr, e.H, e.H, e.D, e.Hx}));
        ASSERT_TRUE(r.waist) << e.D;
        EXPECT_EQ(r.Rx1, same.Rx) << e.D;
        EXPECT_EQ(r.Rx2, same.Rx) << e.D;
        EXPECT_EQ(r.waist->D1, e.D / 2) << e.D;
        EXPECT_EQ(r.waist->Ho, same.Ho) << e.D;
        EXPECT_EQ(r.waist->Bx, same.Bx) << e.D;
        EXPECT_EQ(r.warnings, same.warnings) << e.D;
    }
}

// Naming the rods the other way round mirrors the pair: the radii change places, D1 is
// measured from the other rod, the lowest point and the width stay to the last digit.
TEST(UnequalRods, SwappingTheRodsMirrorsThePair) {
    for (const UnequalRodsInput in : std::vector<UnequalRodsInput>{{45, 20, 30, 60, 5},
                                                                   {45, 30, 20, 60, 5},
                                                                   {30, 12.5f, 27.3f, 33.3f, 4},
                                                                   {60, 55, 18, 70.7f, 10.1f},
                                                                   {45, 40, 39.99f, 1.7f, 0}}) {
        const auto a = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ(in));
        const auto b =
            std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({in.Hr, in.H2, in.H1, in.D, in.Hx}));
        EXPECT_EQ(a.Rx1, b.Rx2) << in.H1;
        EXPECT_EQ(a.Rx2, b.Rx1) << in.H1;
        ASSERT_TRUE(a.waist && b.waist) << in.H1;
        EXPECT_NEAR(a.waist->D1 + b.waist->D1, in.D, 4e-6 * in.D) << in.H1;
        EXPECT_EQ(a.waist->Ho, b.waist->Ho) << in.H1;
        EXPECT_EQ(a.waist->Bx, b.waist->Bx) << in.H1;
    }
}

// A lowest point below Hx is a weak point between the rods, stated with the width.
TEST(UnequalRods, NegativeWidthIsAWeakPoint) {
    const auto r = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 20, 30, 60, 9}));
    ASSERT_TRUE(r.waist);
    EXPECT_EQ(formatResult(r.waist->Bx), "-0.753307");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].place, Place::BetweenRods);
    EXPECT_EQ(sentence(r.warnings[0]), "两针之间：Hx 高度该处无保护（Bx = -0.753307 m < 0）");
    // Covered at Hx: no weak point, and the working says the level is covered.
    const auto ok = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 20, 30, 60, 5}));
    EXPECT_TRUE(ok.warnings.empty());
    EXPECT_EQ(ok.working.back().note, "Ho = 8.447146 ≥ Hx = 5：两针之间在 Hx 高度受保护");
    // Single rods leave the plane between them open where their circles at Hx do not meet,
    // and only there.
    const auto apart = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 20, 30, 80, 5}));
    ASSERT_EQ(apart.warnings.size(), 1u);
    EXPECT_EQ(sentence(apart.warnings[0]),
              "两针之间：Hx 高度该处无保护（各按单支避雷针：Rx1 + Rx2 = 38.61193 m < D = 80 m）");
    EXPECT_TRUE(std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 30, 20, 10, 5})).warnings.empty());
}

// The working says why each rod is a single rod, and computes nothing it does not print.
TEST(UnequalRods, WorkingOfSingleRodsEndsWithTheReason) {
    const auto apart = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 20, 30, 80, 5}));
    EXPECT_EQ(apart.working.back().note,
              "D = 80 ≥ Dmax = 79.84298：两针的保护范围在地面上不相连，各按单支避雷针计算");
    const auto near = std::get<RxBDGShuangZ>(calcRx_BDGShuangZ({45, 20, 30, 15, 5}));
    EXPECT_EQ(near.working.back().note,
              "D1 = -5.833333 不在 0 与 D = 15 之间：两针之间无保护最低点，各按单支避雷针计算");
    for (const auto* w : {&apart.working, &near.working})
        for (const Step& s : *w) {
            EXPECT_NE(s.symbol, "Ho");
            EXPECT_NE(s.symbol, "Bx");
        }
}

// The height unit: what it prints (H2 and the pair's range), or its refusal.
std::string printed(const Outcome<HBDGShuangZ>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    const auto& r = std::get<HBDGShuangZ>(o);
    return formatResult(r.H2) + "|" + printed(Outcome<RxBDGShuangZ>(r.range));
}

struct HeightCase {
    std::string label;
    UnequalRodHeightInput in;
    std::string expected;
};
std::ostream& operator<<(std::ostream& o, const HeightCase& c) {
    return o << c.label;
}

class UnequalRodHeight : public ::testing::TestWithParam<HeightCase> {};

TEST_P(UnequalRodHeight, PrintOrRefuse) {
    EXPECT_EQ(printed(calcH_BDGShuangZ(GetParam().in)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Height, UnequalRodHeight,
    ::testing::Values(
        // The vector's width asks for rod 2 at 30: the accumulator prints it as 30.00059.
        HeightCase{"vector",
                   {45, 20, 60, 5, 5.631165f},
                   " 30.00059| 16.80105| 21.81109| 26.66652| 8.447254| 5.631315"},
        HeightCase{"narrower",
                   {45, 20, 60, 5, 5},
                   " 27.75054| 16.80105| 20.94715| 27.2712| 8.003807| 5.002468"},
        // Equal rods' width: the second rod comes out as high as the first.
        HeightCase{"equalRods",
                   {30, 20, 30, 5, 7.396033f},
                   " 20.00036| 11.70115| 11.70128| 14.99988| 11.97234| 7.39611"},
        HeightCase{"HxAboveHr",
                   {30, 20, 30, 31, 5},
                   "输入的 Hx 数值过大！\nHx 的数值不应大于滚球半径 Hr ！"},
        HeightCase{"BxoAboveHr",
                   {30, 20, 30, 5, 31},
                   "输入的 Bxo 数值过大！\nBxo 的数值不应大于滚球半径 Hr ！"},
        HeightCase{"H1AboveHr", {30, 31, 30, 5, 5}, kH1TooHigh},
        HeightCase{"HxAboveH1", {30, 10, 30, 12, 5}, kAboveH1},
        HeightCase{"tooFarForAnyHeight",
                   {45, 20, 100, 5, 5},
                   "避雷针之间距离太大\n不能按不等高双针方法计算出针高"},
        HeightCase{"widthBeyondReach",
                   {45, 20, 60, 5, 30},
                   "被保护面高度 Hx 过高 或 所需的保护宽度 Bxo 过大"}),
    [](const ::testing::TestParamInfo<HeightCase>& i) { return i.param.label; });

// The height found is the least: one step lower, the pair falls short of Bxo or has no
// lowest point between the rods.
TEST(UnequalRodHeight, OneStepLowerFallsShort) {
    for (const UnequalRodHeightInput in : std::vector<UnequalRodHeightInput>{
             {45, 20, 60, 5, 5}, {45, 30, 30, 5, 10}, {30, 25, 20, 10, 3}, {60, 12, 40, 2, 0}}) {
        const auto found = calcH_BDGShuangZ(in);
        ASSERT_TRUE(std::holds_alternative<HBDGShuangZ>(found)) << std::get<Refusal>(found).text;
        const auto& r = std::get<HBDGShuangZ>(found);
        ASSERT_TRUE(r.range.waist);
        EXPECT_GE(r.range.waist->Bx, in.Bxo);
        const auto lower = unequalRodsQuiet({in.Hr, in.H1, r.H2 - 0.01f, in.D, in.Hx});
        EXPECT_TRUE(!lower || !lower->waist || lower->waist->Bx < in.Bxo) << r.H2;
    }
}

}  // namespace
