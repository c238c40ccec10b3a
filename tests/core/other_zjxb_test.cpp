// Right triangle: the hypotenuse and the other leg, two independent calculations on
// frmZJXB, a form without a default button.

#include <gtest/gtest.h>

#include <ostream>

#include "calc/other/zjxb.h"
#include "form_test_support.h"

using namespace tervalen;
using tervalen::forms::Icon;
using tervalen::forms::Message;
using tervalen::forms::testing::expectPress;
using tervalen::forms::testing::OtherResults;
using tervalen::forms::testing::PressCase;
using tervalen::forms::testing::pressing;
using tervalen::forms::testing::Recorded;

namespace {

// frmZJXB's two sides pressed on a fresh form: CmdRun1 reads La1 and Lb and prints PicLc,
// CmdRun2 reads La2 and Lc and prints PicLb; the other result box stays empty.
PressCase side(const char* button, const char* first, const char* second, const char* shown,
               const char* message = nullptr) {
    const bool hyp = std::string(button) == "CmdRun1";
    return {
        "",
        "frmZJXB",
        pressing({{hyp ? "CmbLa1" : "CmbLa2", first}, {hyp ? "CmbLb" : "CmbLc", second}}, button),
        {{hyp ? "PicLc" : "PicLb", shown}},
        message ? std::vector<std::string>{message} : std::vector<std::string>{},
        OtherResults::Empty};
}

class TriangleForm : public ::testing::TestWithParam<PressCase> {};

TEST_P(TriangleForm, PrintsTheSideOrStops) {
    expectPress(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, TriangleForm,
    ::testing::Values(
        side("CmdRun1", "3", "4", " 5", nullptr), side("CmdRun1", "1", "1", " 1.414214", nullptr),
        side("CmdRun1", "30", "45", " 54.08327", nullptr), side("CmdRun1", "0", "0", " 0", nullptr),
        side("CmdRun2", "3", "5", " 4", nullptr),
        side("CmdRun2", "12.5", "60", " 58.68347", nullptr),
        side("CmdRun2", "7", "7", " 0", nullptr),
        side("CmdRun2", "8", "7", "", "输入的数据无法计算！\n计算 Lb 时遇到负数开平方！"),
        // Both legs fit single precision, the hypotenuse does not.
        side("CmdRun1", "300000000000000000000000000000000000000",
             "300000000000000000000000000000000000000", "",
             "输入的数据无法计算！\n计算 Lc 时数值超出范围！"),
        side("CmdRun1", "3..", "4", "", "输入的 La 数值错误！\nLa 的数值不是一个有效的数字！"),
        side("CmdRun2", "3", ".", "", "输入的 Lc 数值错误！\nLc 的数值不是一个有效的数字！"),
        side("CmdRun1", "", "4", "", nullptr), side("CmdRun1", "3", "", "", nullptr),
        side("CmdRun2", "", "5", "", nullptr), side("CmdRun2", "3", "", "", nullptr)));

TEST(TriangleUnits, SquaresAndRootInDoublePrecision) {
    // Squares of 1e20 and beyond would overflow in single precision.
    EXPECT_EQ(std::get<Leg>(calcZJXB_Leg({3e20f, 5e20f})).Lb, 4e20f);
    EXPECT_EQ(std::get<Leg>(calcZJXB_Leg({1e20f, 1e20f})).Lb, 0.0f);
    EXPECT_EQ(std::get<Hypotenuse>(calcZJXB_Hypotenuse({3e20f, 4e20f})).Lc, 5e20f);
}

TEST(TriangleForm, EachButtonTouchesOnlyItsOwnResultBox) {
    Recorded r("frmZJXB");
    r.run({{"CmbLa1", "3"}, {"CmbLb", "4"}}, "CmdRun1");
    r.run({{"CmbLa2", "3"}, {"CmbLc", "5"}}, "CmdRun2");
    ASSERT_EQ(r.form.text("PicLc"), " 5");
    ASSERT_EQ(r.form.text("PicLb"), " 4");

    EXPECT_TRUE(r.run({{"CmbLc", ""}}, "CmdRun2").empty());
    EXPECT_EQ(r.form.text("PicLb"), "");
    EXPECT_EQ(r.form.text("PicLc"), " 5");

    r.run({{"CmbLc", "5"}}, "CmdRun2");
    EXPECT_EQ(r.run({{"CmbLa1", "."}}, "CmdRun1").size(), 1u);
    EXPECT_EQ(r.form.text("PicLc"), "");
    EXPECT_EQ(r.form.text("PicLb"), " 4");
}

TEST(TriangleForm, EnterIsRefusedByEachBoxAndEscapeCloses) {
    const std::pair<const char*, const char*> boxes[] = {{"CmbLa1", "La 值错误，只为数字！"},
                                                         {"CmbLb", "Lb 值错误，只为数字！"},
                                                         {"CmbLa2", "La 值错误，只为数字！"},
                                                         {"CmbLc", "Lc 值错误，只为数字！"}};
    Recorded r("frmZJXB");
    r.form.setText("CmbLa1", "3");
    r.form.setText("CmbLb", "4");
    r.form.setText("CmbLa2", "3");
    r.form.setText("CmbLc", "5");
    for (const auto& [box, refusal] : boxes) {
        const std::string before = r.form.text(box);
        r.messages.clear();
        EXPECT_FALSE(r.form.typeKey(box, 13));
        EXPECT_EQ(r.form.text(box), before);
        ASSERT_EQ(r.messages.size(), 1u) << box;
        EXPECT_EQ(r.messages[0], (Message{refusal, Icon::Critical}));
        r.messages.clear();
        EXPECT_FALSE(r.form.typeKey(box, U'-'));
        EXPECT_EQ(r.messages.at(0), (Message{refusal, Icon::Critical}));
    }
    EXPECT_EQ(r.form.text("PicLc"), "");
    EXPECT_EQ(r.form.text("PicLb"), "");
    EXPECT_FALSE(r.form.closeRequested());
    r.form.typeKey("CmbLc", 27);
    EXPECT_TRUE(r.form.closeRequested());
}

TEST(TriangleForm, TheDriverPressesTheHypotenuseButton) {
    Recorded r("frmZJXB");
    EXPECT_EQ(r.form.firstCalculateButton(), "CmdRun1");
}

}  // namespace
