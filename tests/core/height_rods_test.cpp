// Heights of one, two, three and four rods: the worked values, the checks, exhausted
// searches and failed steps, through the forms' calculate handlers.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/height/rod_pair_search.h"
#include "form_test_support.h"

using tervalen::forms::testing::calculate;
using tervalen::forms::testing::HeightForm;
using tervalen::forms::testing::PressCase;
using tervalen::forms::testing::Recorded;

namespace {

const char* const kHxTooLarge = "输入的 Hx 数值过大！\nHx 的数值不应大于滚球半径 Hr ！";
const char* const kRxoTooLarge = "输入的 Rxo 数值过大！\nRxo 的数值不应大于滚球半径 Hr ！";
const char* const kBxoTooLarge = "输入的 Bxo 数值过大！\nBxo 的数值不应大于滚球半径 Hr ！";
const char* const kExhausted = "被保护面高度 Hx 过高 或 所需的保护半径 Rxo 过大";
const char* const kUseStandalone = "请选用独立等高双针针高计算程序！";
const char* const kRxRoot = "输入的数据无法计算！\n计算 Rx 时遇到负数开平方！";

TEST_P(HeightForm, ShowsResultsOrItsMessage) {
    expectPress(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    DLDanZ, HeightForm,
    ::testing::Values(
        calculate("frmH_DLDanZ", {{"CmbRxo", "10"}, {"CmbHx", "5"}},
                  {{"PicH", " 16.10027"}, {"PicRx", " 10.00254"}}),
        calculate("frmH_DLDanZ", {{"CmbRxo", "20"}, {"CmbHx", "0"}},
                  {{"PicH", " 7.64008"}, {"PicRx", " 20.00085"}}),
        // The search runs to its last trial below the bound.
        calculate("frmH_DLDanZ", {{"CmbRxo", "30"}, {"CmbHx", "0"}},
                  {{"PicH", " 30.00059"}, {"PicRx", " 30"}}),
        calculate("frmH_DLDanZ", {{"CmbRxo", "10"}, {"CmbHx", "30.5"}}, {}, {kHxTooLarge}),
        calculate("frmH_DLDanZ", {{"CmbRxo", "31"}, {"CmbHx", "31"}}, {}, {kHxTooLarge}),
        calculate("frmH_DLDanZ", {{"CmbRxo", "30.01"}, {"CmbHx", "0"}}, {}, {kRxoTooLarge}),
        calculate("frmH_DLDanZ", {{"CmbRxo", "1"}, {"CmbHx", "30"}}, {}, {kExhausted}),
        calculate("frmH_DLDanZ", {{"CmbRxo", "29"}, {"CmbHx", "5"}}, {}, {kExhausted}),
        calculate("frmH_DLDanZ", {{"CmbRxo", ""}, {"CmbHx", "5"}}, {}, {}),
        calculate("frmH_DLDanZ", {{"CmbHr", "."}, {"CmbRxo", "10"}, {"CmbHx", ""}}, {}, {}),
        calculate("frmH_DLDanZ", {{"CmbHr", ""}, {"CmbRxo", "10"}, {"CmbHx", "5"}}, {},
                  {"输入的 Hr 数值错误！\nHr 的数值不是一个有效的数字！"}),
        calculate("frmH_DLDanZ", {{"CmbHr", "0"}, {"CmbRxo", "0"}, {"CmbHx", "0"}}, {},
                  {kRxRoot})));

INSTANTIATE_TEST_SUITE_P(
    JSDanZ, HeightForm,
    ::testing::Values(
        calculate("frmH_JSDanZ", {{"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", "5"}},
                  {{"PicHj", " 6.72"}, {"PicHt", " 1.72"}, {"PicRx", " 10.01207"}}),
        // The double-precision trial prints 16.1 where the standalone form shows 16.10027.
        calculate("frmH_JSDanZ",
                  {{"CmbYesNo", "否"}, {"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", "5"}},
                  {{"PicHj", " 16.1"}, {"PicHt", " 11.1"}, {"PicRx", " 10.0024"}}),
        // A mounting surface above the tip found: no rod has a negative length, so nothing
        // is printed and the message says why.
        calculate("frmH_JSDanZ", {{"CmbRxo", "5"}, {"CmbHx", "10"}, {"CmbG", "12"}}, {},
                  {"针体长度为负，不能按此安装面计算针高！\n所需针尖高度 H(针尖) = 10.42 m 低于"
                   "安装面高度 G = 12 m：安装面本身已高于所需的针尖。"}),
        calculate("frmH_JSDanZ", {{"CmbRxo", "5"}, {"CmbHx", "10"}, {"CmbG", "10.42"}},
                  {{"PicHj", " 10.42"}, {"PicHt", " 0"}, {"PicRx", " 5.002359"}}),
        calculate("frmH_JSDanZ", {{"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", "0"}}, {},
                  {kUseStandalone}),
        // G is tested only after a height was found.
        calculate("frmH_JSDanZ",
                  {{"CmbYesNo", "否"}, {"CmbRxo", "29"}, {"CmbHx", "5"}, {"CmbG", "0"}}, {},
                  {kExhausted}),
        calculate("frmH_JSDanZ",
                  {{"CmbYesNo", "否"}, {"CmbRxo", "1"}, {"CmbHx", "30"}, {"CmbG", "3"}}, {},
                  {kExhausted}),
        // Any other answer ends silently, but only after the checks.
        calculate("frmH_JSDanZ",
                  {{"CmbYesNo", "是 "}, {"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", "5"}}, {}, {}),
        calculate("frmH_JSDanZ",
                  {{"CmbYesNo", ""}, {"CmbRxo", "10"}, {"CmbHx", "31"}, {"CmbG", "5"}}, {},
                  {kHxTooLarge}),
        calculate("frmH_JSDanZ",
                  {{"CmbYesNo", "x"}, {"CmbRxo", "31"}, {"CmbHx", "5"}, {"CmbG", "5"}}, {},
                  {kRxoTooLarge}),
        calculate("frmH_JSDanZ", {{"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", ""}}, {}, {}),
        calculate("frmH_JSDanZ", {{"CmbHr", "0"}, {"CmbRxo", "0"}, {"CmbHx", "0"}, {"CmbG", "1"}},
                  {}, {kRxRoot})));

INSTANTIATE_TEST_SUITE_P(
    DLShuangZ, HeightForm,
    ::testing::Values(
        calculate("frmH_DLShuangZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}},
                  {{"PicH", " 20.35037"}, {"PicHo", " 16.1034"}, {"PicBx", " 10.00254"}}),
        calculate("frmH_DLShuangZ",
                  {{"CmbHr", "45"}, {"CmbBxo", "10"}, {"CmbHx", "10"}, {"CmbD", "30"}},
                  {{"PicH", " 26.72052"}, {"PicHo", " 21.35387"}, {"PicBx", " 10.00014"}}),
        // Rods standing together: the rod height is the lowest point required.
        calculate("frmH_DLShuangZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "0"}},
                  {{"PicH", " 16.10027"}, {"PicHo", " 16.10027"}, {"PicBx", " 10.00254"}}),
        calculate("frmH_DLShuangZ", {{"CmbBxo", "10"}, {"CmbHx", "31"}, {"CmbD", "20"}}, {},
                  {kHxTooLarge}),
        calculate("frmH_DLShuangZ", {{"CmbBxo", "31"}, {"CmbHx", "5"}, {"CmbD", "20"}}, {},
                  {kBxoTooLarge}),
        calculate("frmH_DLShuangZ", {{"CmbBxo", "29"}, {"CmbHx", "5"}, {"CmbD", "20"}}, {},
                  {kExhausted}),
        // The first search found Hm 16.10027; no height brings the lowest point there.
        calculate("frmH_DLShuangZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "40"}}, {},
                  {kExhausted}),
        calculate("frmH_DLShuangZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", ""}}, {}, {})));

INSTANTIATE_TEST_SUITE_P(
    JSShuangZ, HeightForm,
    ::testing::Values(
        // Ho is measured from the plane Hx, the tip from the ground.
        calculate("frmH_JSShuangZ",
                  {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "5"}},
                  {{"PicHj", " 8.549997"},
                   {"PicHt", " 3.549997"},
                   {"PicHo", " 1.722754"},
                   {"PicBx", " 10.01207"}}),
        calculate(
            "frmH_JSShuangZ",
            {{"CmbYesNo", "否"}, {"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "5"}},
            {{"PicHj", " 20.35037"},
             {"PicHt", " 15.35037"},
             {"PicHo", " 16.1034"},
             {"PicBx", " 10.00254"}}),
        calculate("frmH_JSShuangZ",
                  {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "0"}}, {},
                  {kUseStandalone}),
        calculate(
            "frmH_JSShuangZ",
            {{"CmbYesNo", "否"}, {"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "40"}, {"CmbG", "0"}},
            {}, {kExhausted}),
        calculate(
            "frmH_JSShuangZ",
            {{"CmbYesNo", "1"}, {"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "5"}},
            {}, {}),
        calculate(
            "frmH_JSShuangZ",
            {{"CmbYesNo", "1"}, {"CmbBxo", "30.5"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "5"}},
            {}, {kBxoTooLarge}),
        // CmbG has no key filter: letters reach the conversion.
        calculate("frmH_JSShuangZ",
                  {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "五"}}, {},
                  {"输入的 G 数值错误！\nG 的数值不是一个有效的数字！"})));

INSTANTIATE_TEST_SUITE_P(
    DLSanZ, HeightForm,
    ::testing::Values(
        // 0.12000946 is the single-precision width of the 508th trial, whose width in
        // double precision lies just below it: the triangle, comparing stored widths,
        // stops there; the square, comparing them as computed, one step later.
        calculate("frmH_DLSanZ", {{"CmbBxo", "0.12000946"}, {"CmbHx", "5"}, {"CmbL", "20"}},
                  {{"PicH", " 7.180069"}}),
        calculate("frmH_DLSanZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbL", "20"}},
                  {{"PicH", " 20.35037"}, {"PicHo", " 16.1034"}, {"PicBx", " 10.00254"}}),
        calculate("frmH_DLSanZ",
                  {{"CmbHr", "45"}, {"CmbBxo", "10"}, {"CmbHx", "10"}, {"CmbL", "30"}},
                  {{"PicH", " 26.72052"}, {"PicHo", " 21.35387"}, {"PicBx", " 10.00014"}}),
        calculate("frmH_DLSanZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbL", "40"}}, {},
                  {kExhausted}),
        calculate("frmH_DLSanZ", {{"CmbBxo", "31"}, {"CmbHx", "5"}, {"CmbL", "20"}}, {},
                  {kBxoTooLarge})));

INSTANTIATE_TEST_SUITE_P(
    DLSiZ, HeightForm,
    ::testing::Values(
        calculate("frmH_DLSiZ", {{"CmbBxo", "0.12000946"}, {"CmbHx", "5"}, {"CmbL", "20"}},
                  {{"PicH", " 7.19007"}}),
        // Bx1 is the width of Ho1 itself, recomputed from the final H.
        calculate("frmH_DLSiZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbL", "20"}},
                  {{"PicH", " 20.35037"},
                   {"PicHo1", " 16.1034"},
                   {"PicBx1", " 10.00418"},
                   {"PicHo2", " 12.87939"},
                   {"PicBx2", " 8.051905"}}),
        calculate("frmH_DLSiZ",
                  {{"CmbHr", "45"}, {"CmbBxo", "10"}, {"CmbHx", "10"}, {"CmbL", "30"}},
                  {{"PicH", " 26.72052"},
                   {"PicHo1", " 21.35387"},
                   {"PicBx1", " 10.00229"},
                   {"PicHo2", " 16.99751"},
                   {"PicBx2", " 6.941578"}}),
        // The diagonal's lowest point below the ground: no width there, one message.
        calculate("frmH_DLSiZ", {{"CmbBxo", "5"}, {"CmbHx", "0"}, {"CmbL", "20"}},
                  {{"PicH", " 2.169998"},
                   {"PicHo1", " 0.4279019"},
                   {"PicBx1", " 5.048862"},
                   {"PicHo2", "-1.217126"},
                   {"PicBx2", ""}},
                  {"对角线上无保护宽度！\n正方形对角线上的保护最低点 Ho2 "
                   "低于地面，对角线上没有保护宽度 Bx2 ！"}),
        // Between the ground and Hx the diagonal's width is negative and printed.
        calculate("frmH_DLSiZ", {{"CmbBxo", "1"}, {"CmbHx", "5"}, {"CmbL", "20"}},
                  {{"PicHo2", " 3.728802"}, {"PicBx2", "-2.097815"}}),
        calculate("frmH_DLSiZ", {{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbL", "40"}}, {},
                  {kExhausted}),
        calculate("frmH_DLSiZ", {{"CmbHx", "31"}, {"CmbBxo", "10"}, {"CmbL", "20"}}, {},
                  {kHxTooLarge})));

// Rods too far apart for the height found: 2·reach(H), stored as single precision, must
// be greater than the spacing. (A lowest point at or above the first trial 0.01 already
// keeps the spacing below 2·reach(H), so no search that succeeds meets this refusal.)
TEST(RodSpacing, MustBeBelowTwiceTheReachInSinglePrecision) {
    const float twiceReach = static_cast<float>(2 * std::sqrt(800.0));  // H 20, Hr 30
    EXPECT_TRUE(tervalen::spacingCovered(20, 30, std::nextafter(twiceReach, 0.0f)));
    EXPECT_FALSE(tervalen::spacingCovered(20, 30, twiceReach));
    EXPECT_FALSE(tervalen::spacingCovered(20, 30, 57));
}

// The equipotential box of the mounted two-rod form carries a numeric filter: the answer
// is picked, and a digit typed there makes it no answer at all.
TEST(MountedRodsAnswer, IsPickedNotTyped) {
    Recorded r("frmH_JSShuangZ");
    r.form.setText("CmbYesNo", "");
    r.form.typeText("CmbYesNo", "否");
    EXPECT_EQ(r.form.text("CmbYesNo"), "");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "Rxo 值输入错误，只为数字！");
    r.form.typeText("CmbYesNo", "1");
    EXPECT_TRUE(r.run({{"CmbBxo", "10"}, {"CmbHx", "5"}, {"CmbD", "20"}, {"CmbG", "5"}}).empty());
    EXPECT_EQ(r.form.text("PicHj"), "");
    r.form.pick("CmbYesNo", "否");
    EXPECT_TRUE(r.run({}).empty());
    EXPECT_EQ(r.form.text("PicHj"), " 20.35037");
}

// A refused or silent press clears what the previous one printed.
TEST(MountedRodsAnswer, EveryPressClearsTheResultsFirst) {
    Recorded r("frmH_JSDanZ");
    r.run({{"CmbRxo", "10"}, {"CmbHx", "5"}, {"CmbG", "5"}});
    ASSERT_EQ(r.form.text("PicHj"), " 6.72");
    for (const char* answer : {"yes", ""}) {
        EXPECT_TRUE(r.run({{"CmbYesNo", answer}}).empty());
        for (const char* box : {"PicHj", "PicHt", "PicRx"}) EXPECT_EQ(r.form.text(box), "") << box;
    }
}

}  // namespace
