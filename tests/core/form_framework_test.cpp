// What every calculator form shares: key filters, Enter and Escape, the calculate
// sequence's failure rule, reloading with defaults.

#include <gtest/gtest.h>

#include "form_test_support.h"
#include "forms/key_filter.h"

using namespace tervalen::forms;
using tervalen::forms::testing::Recorded;

TEST(KeyFilter, NumericAndDigitsOnlyAcceptTheirCodes) {
    for (char32_t code = 0; code < 200; ++code) {
        const bool digit = code >= '0' && code <= '9';
        EXPECT_EQ(passes(KeyFilter::Numeric, code), digit || code == 8 || code == '.') << int(code);
        EXPECT_EQ(passes(KeyFilter::DigitsOnly, code), digit || code == 8) << int(code);
        EXPECT_TRUE(passes(KeyFilter::None, code));
    }
    EXPECT_FALSE(passes(KeyFilter::Numeric, U'五'));
    EXPECT_FALSE(passes(KeyFilter::Numeric, 22));  // Ctrl+V
}

TEST(KeyFilter, RefusedKeyLeavesTheTextAndShowsTheBoxMessageWithTheCriticalIcon) {
    Recorded r("frmRx_DLDanZ");
    r.form.typeText("CmbH", "2");
    for (char32_t code :
         {U'-', U'+', U'e', U',', U' ', char32_t{3}, char32_t{22}, char32_t{24}, U'是'}) {
        r.messages.clear();
        EXPECT_FALSE(r.form.typeKey("CmbH", code));
        EXPECT_EQ(r.form.text("CmbH"), "2");
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0], (Message{"H 值输入错误，只为数字！", Icon::Critical}));
    }
}

TEST(KeyFilter, SeveralPointsPassAndBackspaceEdits) {
    Recorded r("frmRx_DLDanZ");
    r.form.typeText("CmbHx", "1..2");
    EXPECT_EQ(r.form.text("CmbHx"), "1..2");
    r.form.typeKey("CmbHx", 8);
    EXPECT_EQ(r.form.text("CmbHx"), "1..");
    EXPECT_TRUE(r.messages.empty());
    // ...and the text is then not a number when the calculation runs.
    r.form.setText("CmbH", "20");
    const auto shown = r.run({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "输入的 Hx 数值错误！\nHx 的数值不是一个有效的数字！");
    EXPECT_EQ(r.form.text("PicRx"), "");
}

TEST(KeyFilter, DigitsOnlyRefusesThePointButAPickIsNotFiltered) {
    Recorded r("frmRx_DLDanZ");
    r.form.setText("CmbHr", "");
    r.form.typeText("CmbHr", "4.5");
    EXPECT_EQ(r.form.text("CmbHr"), "45");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], (Message{"Hr 值错误，只为数字！", Icon::Critical}));
    r.form.pick("CmbHr", "1.5");
    EXPECT_EQ(r.form.text("CmbHr"), "1.5");
}

TEST(Keyboard, EnterPressesTheDefaultButtonWhereThereIsOne) {
    Recorded dl("frmRx_DLDanZ");
    dl.form.setText("CmbH", "20");
    dl.form.setText("CmbHx", "5");
    EXPECT_FALSE(dl.form.typeKey("CmbHx", 13));
    EXPECT_EQ(dl.form.text("PicRx"), " 11.70115");
    EXPECT_EQ(dl.form.text("CmbHx"), "5");

    Recorded js("frmRx_JSDanZ");
    js.form.setText("CmbH", "40");
    js.form.setText("CmbHx", "15");
    for (const char* box : {"CmbHr", "CmbH", "CmbHx"}) {
        js.messages.clear();
        EXPECT_FALSE(js.form.typeKey(box, 13));
        ASSERT_EQ(js.messages.size(), 1u) << box;
        EXPECT_EQ(js.messages[0].icon, Icon::Critical);
    }
    EXPECT_EQ(js.messages[0].text, "Hx 值输入错误，只为数字！");
    EXPECT_EQ(js.form.text("PicRx"), "");
}

TEST(Keyboard, EscapeClosesAndReloadShowsTheDefaults) {
    Recorded r("frmRx_DLDanZ");
    r.form.setText("CmbHr", "45");
    r.run({{"CmbH", "20"}, {"CmbHx", "5"}});
    ASSERT_NE(r.form.text("PicRx"), "");
    r.form.typeKey("CmbH", 27);
    EXPECT_TRUE(r.form.closeRequested());
    EXPECT_TRUE(r.messages.empty());
    r.form.load();
    EXPECT_EQ(r.form.text("CmbHr"), "30");
    EXPECT_EQ(r.form.text("CmbH"), "");
    EXPECT_EQ(r.form.text("PicRx"), "");
    EXPECT_FALSE(r.form.closeRequested());
}

TEST(CalculateSequence, BlankStopsSilentlyButSpacesAndALonePointAreNotBlank) {
    Recorded r("frmRx_DLDanZ");
    r.run({{"CmbH", "20"}, {"CmbHx", "5"}});
    ASSERT_EQ(r.form.text("PicRx"), " 11.70115");
    EXPECT_TRUE(r.run({{"CmbH", ""}}).empty());
    EXPECT_EQ(r.form.text("PicRx"), "");
    EXPECT_EQ(r.run({{"CmbH", " "}}).size(), 1u);
    EXPECT_EQ(r.run({{"CmbH", "."}}).size(), 1u);
    EXPECT_EQ(r.form.text("PicRx"), "");
}

TEST(CalculateSequence, FirstInputThatIsNotANumberIsNamedAndInputsKeepTheirTexts) {
    Recorded r("frmRx_DLDanZ");
    const auto shown = r.run({{"CmbHr", ""}, {"CmbH", "x"}, {"CmbHx", "5"}});
    ASSERT_EQ(shown.size(), 1u);
    // Converted in the order Hr, H, Hx: the empty radius box is the first failure.
    EXPECT_EQ(shown[0],
              (Message{"输入的 Hr 数值错误！\nHr 的数值不是一个有效的数字！", Icon::None}));
    EXPECT_EQ(r.form.text("CmbH"), "x");
    EXPECT_EQ(r.form.text("PicRx"), "");
}

TEST(CalculateSequence, ArithmeticFailureIsAMessageNotANumber) {
    Recorded r("frmRx_DLDanZ");
    // Hr 0 with negative heights passes both checks; the reach then has no real value.
    const auto shown = r.run({{"CmbHr", "0"}, {"CmbH", "-1"}, {"CmbHx", "-2"}});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Message{"输入的数据无法计算！\n计算 Rx 时遇到负数开平方！", Icon::None}));
    EXPECT_EQ(r.form.text("PicRx"), "");
}

TEST(CalculateSequence, ValuesBeyondSinglePrecisionAreRefusedAtConversionOrStore) {
    Recorded r("frmRx_DLDanZ");
    auto shown = r.run({{"CmbHr", "1" + std::string(39, '0')}, {"CmbH", "1"}, {"CmbHx", "0"}});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "输入的 Hr 数值错误！\nHr 的数值不是一个有效的数字！");
    // The largest radii still compute and print in exponent form.
    shown = r.run({{"CmbHr", "3" + std::string(38, '0')},
                   {"CmbH", "3" + std::string(38, '0')},
                   {"CmbHx", "0"}});
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(r.form.text("PicRx"), " 3E+38");
}
