// Expected lightning strikes per year: the collection area, the flash density and N,
// through the computation unit and through frmLJCS.

#include <gtest/gtest.h>

#include <ostream>

#include "calc/other/ljcs.h"
#include "form_test_support.h"
#include "forms/display.h"

using namespace tervalen;
using tervalen::forms::formatResult;
using tervalen::forms::Icon;
using tervalen::forms::Message;
using tervalen::forms::testing::expectPress;
using tervalen::forms::testing::OtherResults;
using tervalen::forms::testing::PressCase;
using tervalen::forms::testing::pressing;
using tervalen::forms::testing::Recorded;

namespace {

struct StrikeCase {
    const char* why;
    float K, Td;
    double L;
    float W, H;
    const char *Ae, *Ng, *N;  // as a result box would show them
};

std::ostream& operator<<(std::ostream& o, const StrikeCase& c) {
    return o << c.why << ": K " << c.K << " Td " << c.Td << " L " << c.L << " W " << c.W << " H "
             << c.H;
}

class LJCSUnit : public ::testing::TestWithParam<StrikeCase> {};

TEST_P(LJCSUnit, AreaDensityAndStrikes) {
    const StrikeCase& c = GetParam();
    const auto r = std::get<LJCS>(calcLJCS({c.K, c.Td, c.L, c.W, c.H}));
    EXPECT_EQ(formatResult(r.Ae), c.Ae);
    EXPECT_EQ(formatResult(r.Ng), c.Ng);
    EXPECT_EQ(formatResult(r.N), c.N);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, LJCSUnit,
    ::testing::Values(
        StrikeCase{"low building", 1, 40, 50, 20, 30, " 0.02702012", " 2.903282", " 0.07844704"},
        StrikeCase{"100 m takes the second formula", 1, 40, 50, 20, 100, " 0.04641593", " 2.903282",
                   " 0.1347585"},
        StrikeCase{"no height: the footprint", 1, 40, 50, 20, 0, " 0.001", " 2.903282",
                   " 0.002903282"},
        StrikeCase{"above 200 m still computed", 1.7f, 40, 50, 20, 250, " 0.2323495", " 2.903282",
                   " 1.14678"},
        // With the full value of pi the area would show 0.008784366.
        StrikeCase{"pi is 3.1415926", 1, 40, 10, 20, 10, " 0.008784365", " 2.903282",
                   " 0.02550349"},
        StrikeCase{"no thunderstorm days", 2, 0, 50, 20, 30, " 0.02702012", " 0", " 0"}));

TEST(LJCSUnit, BothHeightFormulasMeetAt100Metres) {
    const float below = std::get<LJCS>(calcLJCS({1, 40, 50, 20, 99.999f})).Ae;
    const float at = std::get<LJCS>(calcLJCS({1, 40, 50, 20, 100})).Ae;
    EXPECT_NEAR(below, at, 1e-7f);
}

TEST(LJCSUnit, ImpossibleArithmeticNamesTheQuantity) {
    try {
        calcLJCS({1, 40, 50, 20, -1});
        FAIL() << "a negative height has no collection area";
    } catch (const ArithmeticFailure& e) {
        EXPECT_EQ(e.kind(), ArithmeticFailure::Kind::NegativeRoot);
        EXPECT_EQ(e.quantity(), "Ae");
    }
    try {
        calcLJCS({1, -40, 50, 20, 30});
        FAIL() << "a negative Td has no real power 1.3";
    } catch (const ArithmeticFailure& e) {
        EXPECT_EQ(e.quantity(), "Ng");
    }
}

const char* const k1e30 = "1000000000000000000000000000000";

// frmLJCS pressed with K, Td, L, W and H: PicN, its only result box, and the message.
PressCase strikes(const char* why, const char* K, const char* Td, const char* L, const char* W,
                  const char* H, const char* N, const char* message = nullptr) {
    return {why,
            "frmLJCS",
            pressing({{"CmbK", K}, {"CmbTd", Td}, {"CmbL", L}, {"CmbW", W}, {"CmbH", H}}),
            {{"PicN", N}},
            message ? std::vector<std::string>{message} : std::vector<std::string>{},
            OtherResults::Empty};
}

class LJCSForm : public ::testing::TestWithParam<PressCase> {};

TEST_P(LJCSForm, PrintsNOrStops) {
    expectPress(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LJCSForm,
    ::testing::Values(
        strikes("worked building", "1.0", "40", "50", "20", "30", " 0.07844704", nullptr),
        strikes("worked building at 100 m", "1.0", "40", "50", "20", "100", " 0.1347585", nullptr),
        strikes("K from the list", "1.5", "40", "50", "20", "30", " 0.1176706", nullptr),
        // 16777217 has no single-precision value: rounded, N would show 48.70899.
        strikes("L is kept in double precision", "1.0", "40", "16777217", "1", "0", " 48.709",
                nullptr),
        strikes("negative height", "1.0", "40", "50", "20", "-1", "",
                "输入的数据无法计算！\n计算 Ae 时遇到负数开平方！"),
        strikes("negative Td", "1.0", "-40", "50", "20", "30", "",
                "输入的数据无法计算！\n计算 Ng 时数值超出范围！"),
        strikes("L not a number", "1.0", "40", "5..0", "20", "30", "",
                "输入的 L 数值错误！\nL 的数值不是一个有效的数字！"),
        strikes("area beyond single precision", "1.0", "40", k1e30, k1e30, "0", "",
                "输入的数据无法计算！\n计算 Ae 时数值超出范围！")));

TEST(LJCSForm, AnyBlankInputStopsSilentlyAfterClearing) {
    for (const char* box : {"CmbK", "CmbTd", "CmbL", "CmbW", "CmbH"}) {
        Recorded r("frmLJCS");
        r.run({{"CmbTd", "40"}, {"CmbL", "50"}, {"CmbW", "20"}, {"CmbH", "30"}});
        ASSERT_EQ(r.form.text("PicN"), " 0.07844704");
        // The other boxes are not numbers: the blank test comes first.
        for (const char* other : {"CmbK", "CmbTd", "CmbL", "CmbW", "CmbH"})
            r.form.setText(other, ".");
        EXPECT_TRUE(r.run({{box, ""}}).empty()) << box;
        EXPECT_EQ(r.form.text("PicN"), "") << box;
    }
}

TEST(LJCSForm, KTakesWholeNumbersTypedAndFractionsOnlyFromItsList) {
    Recorded r("frmLJCS");
    EXPECT_FALSE(r.form.typeKey("CmbK", '.'));
    EXPECT_EQ(r.form.text("CmbK"), "1.0");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "K 值错误，只为数字！");
    r.form.setText("CmbK", "");
    r.form.typeText("CmbK", "2");
    EXPECT_EQ(r.form.text("CmbK"), "2");
    r.form.pick("CmbK", "1.7");
    EXPECT_EQ(r.form.text("CmbK"), "1.7");
    // The Td box takes the point.
    r.messages.clear();
    r.form.typeText("CmbTd", "40.5");
    EXPECT_EQ(r.form.text("CmbTd"), "40.5");
    EXPECT_TRUE(r.messages.empty());
}

TEST(LJCSForm, EnterCalculatesAndEscapeCloses) {
    for (const char* box : {"CmbK", "CmbTd", "CmbL", "CmbW", "CmbH"}) {
        Recorded r("frmLJCS");
        for (auto [b, t] :
             {std::pair{"CmbTd", "40"}, {"CmbL", "50"}, {"CmbW", "20"}, {"CmbH", "30"}})
            r.form.setText(b, t);
        const std::string before = r.form.text(box);
        EXPECT_FALSE(r.form.typeKey(box, 13));
        EXPECT_EQ(r.form.text("PicN"), " 0.07844704") << box;
        EXPECT_EQ(r.form.text(box), before);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_FALSE(r.form.closeRequested());
        r.form.typeKey(box, 27);
        EXPECT_TRUE(r.form.closeRequested()) << box;
    }
}

}  // namespace
