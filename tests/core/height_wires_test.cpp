// Support heights of one and two overhead wires: the worked values, the sag rule, the
// three cases of the two-wire form with its note label, and when Hoo is read.

#include <gtest/gtest.h>

#include "calc/height/h_shuangx.h"
#include "form_test_support.h"

using namespace tervalen;
using tervalen::forms::testing::calculate;
using tervalen::forms::testing::HeightForm;
using tervalen::forms::testing::PressCase;
using tervalen::forms::testing::Recorded;
using tervalen::forms::testing::Texts;

namespace {

const char* const kHxTooLarge = "输入的 Hx 数值过大！\nHx 的数值不应大于滚球半径 Hr ！";
const char* const kBx1oExhausted = "被保护面高度 Hx 过高 或 所需的保护宽度 Bx1o 过大";
const char* const kHooExhausted = "被保护面高度 Hx 过高 或 所需的保护宽度 Hoo 过大";
const char* const kWiresTooHigh = "避雷线高度过高，无保护范围！";
const char* const kHooNotANumber = "输入的 Hoo 数值错误！\nHoo 的数值不是一个有效的数字！";
const char* const kHoRoot = "输入的数据无法计算！\n计算 Ho 时遇到负数开平方！";

PressCase danX(const char* Hr, const char* Bx1o, const char* Hx, const char* D, Texts shown,
               std::vector<std::string> messages = {}) {
    return calculate("frmH_DanX", {{"CmbHr", Hr}, {"CmbBx1o", Bx1o}, {"CmbHx", Hx}, {"CmbD", D}},
                     shown, messages);
}

Texts danXShown(const char* H, const char* Hc, const char* Bx1, const char* Bx2) {
    return {{"PicH", H}, {"PicHc", Hc}, {"PicHh", H}, {"PicBx1", Bx1}, {"PicBx2", Bx2}};
}

INSTANTIATE_TEST_SUITE_P(
    DanX, HeightForm,
    ::testing::Values(
        danX("30", "10", "5", "100", danXShown(" 18.10032", " 2", " 10.00257", " 10.9559")),
        danX("30", "10", "5", "130", danXShown(" 19.10034", " 3", " 10.00258", " 11.36679")),
        danX("60", "20", "10", "140", danXShown(" 35.2001", " 3", " 20.00485", " 21.46858")),
        danX("30", "10", "5", "160", {}, {kBx1oExhausted}),
        // Both ends of the 3 m band, and just below it.
        danX("30", "10", "5", "120", {{"PicHc", " 3"}, {"PicH", " 19.10034"}}),
        danX("30", "10", "5", "150", {{"PicHc", " 3"}, {"PicH", " 19.10034"}}),
        danX("30", "10", "5", "119.99", {{"PicHc", " 2"}, {"PicH", " 18.10032"}}),
        // No sag above 150 m: a width of 0 is met at the first trial.
        danX("30", "0", "0", "160", danXShown(" 3.01", " 0", " 0", " 13.09732")),
        danX("30", "0", "0", "100", danXShown(" 3.01", " 2", " 7.718801", " 13.09732")),
        danX("30", "10", "31", "100", {}, {kHxTooLarge}),
        danX("30", "30.5", "5", "100", {},
             {"输入的 Bx1o 数值过大！\nBx1o 的数值不应大于滚球半径 Hr ！"}),
        danX("2", "0", "0", "100", {}, {kBx1oExhausted}),  // no trial below 3.01
        danX("30", "十", "5", "100", {},
             {"输入的 Bx1o 数值错误！\nBx1o 的数值不是一个有效的数字！"}),
        danX("30", "10", "5", "", {}, {})));

PressCase shuangX(const char* Hoo, const char* Hx, const char* D1, const char* D2, Texts shown,
                  std::vector<std::string> messages = {}) {
    return calculate("frmH_ShuangX", {{"CmbHoo", Hoo}, {"CmbHx", Hx}, {"CmbD1", D1}, {"CmbD2", D2}},
                     shown, messages);
}

INSTANTIATE_TEST_SUITE_P(
    ShuangX, HeightForm,
    ::testing::Values(
        shuangX("10", "5", "100", "20",
                {{"PicH", " 13.72022"},
                 {"PicHc", " 2"},
                 {"PicBx1", " 6.546267"},
                 {"PicHo", " 10.00449"},
                 {"PicBx2", ""}}),
        shuangX("10", "5", "130", "20",
                {{"PicH", " 14.72024"},
                 {"PicHc", " 3"},
                 {"PicBx1", " 7.218746"},
                 {"PicHo", " 10.00451"},
                 {"PicBx2", ""}}),
        shuangX("10", "0", "100", "59.9",
                {{"PicH", " 40.26925"},
                 {"PicHc", " 2"},
                 {"PicBx1", " 0"},
                 {"PicHo", " 10.00056"},
                 {"PicBx2", " 28.13763"}}),
        shuangX("25", "5", "100", "50", {}, {kWiresTooHigh}),
        shuangX("10", "5", "160", "20", {}, {kHooExhausted}),
        shuangX("10", "5", "120", "20", {{"PicHc", " 3"}, {"PicH", " 14.72024"}}),
        shuangX("10", "5", "150", "20", {{"PicHc", " 3"}, {"PicH", " 14.72024"}}),
        // The lowest point between the supports below Hx: a negative width, printed.
        shuangX("5", "5", "100", "40", {{"PicBx1", "-0.3326546"}, {"PicHo", " 5.000919"}}),
        // No sag ever applied: the sag box stays empty rather than show a sag never used.
        shuangX("0", "0", "200", "1", {{"PicH", " 0.01"}, {"PicHc", ""}, {"PicHo", " 0"}}),
        shuangX(".", "5", "100", "20", {}, {kHooNotANumber}),
        // Hoo is read at its first comparison: checks and the first step's failure come first.
        shuangX(".", "31", "100", "20", {}, {kHxTooLarge}),
        shuangX(".", "5", "100", "61", {}, {kHoRoot}),
        shuangX("5", "5", "100", "61", {}, {kHoRoot}),
        // Found just above 2·Hr, where the sphere no longer reaches the wire.
        shuangX("29.73", "0", "100", "59.9", {},
                {"输入的数据无法计算！\n计算 Bx2 时遇到负数开平方！"}),
        calculate(
            "frmH_ShuangX",
            {{"CmbHr", ""}, {"CmbHoo", "10"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "20"}})));

TEST(TwoWireNote, ShownForWiresWithinTheSphereAndKeptByABlankStop) {
    Recorded r("frmH_ShuangX");
    EXPECT_FALSE(r.form.state("LabJG").visible);
    r.run({{"CmbHoo", "10"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "20"}});
    EXPECT_TRUE(r.form.state("LabJG").visible);
    for (const char* box : {"CmbD2", "CmbHr"}) {
        const std::string kept = r.form.text(box);
        r.run({{box, ""}});
        EXPECT_EQ(r.form.text("PicH"), "");
        EXPECT_TRUE(r.form.state("LabJG").visible) << box;
        r.form.setText(box, kept);
    }
    r.run({{"CmbHx", "0"}, {"CmbD2", "59.9"}});  // wires above the sphere
    EXPECT_EQ(r.form.text("PicBx2"), " 28.13763");
    EXPECT_FALSE(r.form.state("LabJG").visible);
}

TEST(TwoWireNote, HiddenByEveryRunPastTheBlankTests) {
    for (const Texts& second : {Texts{{"CmbHoo", "25"}, {"CmbD2", "50"}}, Texts{{"CmbHoo", "."}},
                                Texts{{"CmbHx", "40"}}}) {
        Recorded r("frmH_ShuangX");
        r.run({{"CmbHoo", "10"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "20"}});
        ASSERT_TRUE(r.form.state("LabJG").visible);
        EXPECT_EQ(r.run(second).size(), 1u);
        EXPECT_FALSE(r.form.state("LabJG").visible) << second.front().first;
    }
}

// A Hoo a hair above the Ho found is not met by it, as it would be were Hoo rounded to
// single precision.
TEST(TwoWireUnit, ReadsHooOnceAtTheFirstComparisonInDoublePrecision) {
    int reads = 0;
    const auto Hoo = [&] {
        ++reads;
        return 10.0;
    };
    const auto r = std::get<HShuangX>(calcH_ShuangX(30, Hoo, 5, 100, 20));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(r.H, std::get<HShuangX>(calcH_ShuangX({30, 10.0, 5, 100, 20})).H);
    const double justBelow = static_cast<double>(r.Ho) - 1e-9;
    EXPECT_EQ(std::get<HShuangX>(calcH_ShuangX({30, justBelow, 5, 100, 20})).H, r.H);
    const double justAbove = static_cast<double>(r.Ho) + 1e-9;
    EXPECT_GT(std::get<HShuangX>(calcH_ShuangX({30, justAbove, 5, 100, 20})).H, r.H);

    reads = 0;
    EXPECT_TRUE(std::holds_alternative<Refusal>(calcH_ShuangX(30, Hoo, 31, 100, 20)));
    EXPECT_THROW(calcH_ShuangX(30, Hoo, 5, 100, 61), ArithmeticFailure);
    EXPECT_EQ(reads, 0);
}

}  // namespace
