// Expected lightning strikes per year: the collection area, the flash density and N,
// through the computation unit and through frmLJCS, by either edition of the code; the
// protection category each edition gives by N; the edition carried by the form's
// settings, its press record and its snapshot.

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "calc/other/ljcs.h"
#include "form_test_support.h"
#include "forms/display.h"

using namespace tervalen;
using tervalen::forms::Action;
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
    CodeEdition edition = CodeEdition::GB50057_94;
};

std::ostream& operator<<(std::ostream& o, const StrikeCase& c) {
    return o << c.why << ": K " << c.K << " Td " << c.Td << " L " << c.L << " W " << c.W << " H "
             << c.H;
}

class LJCSUnit : public ::testing::TestWithParam<StrikeCase> {};

TEST_P(LJCSUnit, AreaDensityAndStrikes) {
    const StrikeCase& c = GetParam();
    const auto r = std::get<LJCS>(calcLJCS({c.K, c.Td, c.L, c.W, c.H, c.edition}));
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
        StrikeCase{"no thunderstorm days", 2, 0, 50, 20, 30, " 0.02702012", " 0", " 0"},
        StrikeCase{"taller building, 1994", 1, 41.1f, 60, 20, 50, " 0.03861835", " 3.0075",
                   " 0.1161447"}));

constexpr auto k2010 = CodeEdition::GB50057_2010;

// The same buildings by GB 50057-2010: the area is the same, Ng = 0.1·Td.
INSTANTIATE_TEST_SUITE_P(Edition2010, LJCSUnit,
                         ::testing::Values(StrikeCase{"low building", 1, 40, 50, 20, 30,
                                                      " 0.02702012", " 4", " 0.1080805", k2010},
                                           StrikeCase{"taller building", 1, 41.1f, 60, 20, 50,
                                                      " 0.03861835", " 4.11", " 0.1587214", k2010},
                                           StrikeCase{"100 m takes the second formula", 1, 40, 50,
                                                      20, 100, " 0.04641593", " 4", " 0.1856637",
                                                      k2010},
                                           StrikeCase{"K from the list", 1.7f, 10, 50, 20, 30,
                                                      " 0.02702012", " 1", " 0.04593421", k2010}));

TEST(LJCSUnit, TheWorkingShowsTheFormulaOfTheEdition) {
    for (const auto& [edition, formula, substituted] :
         {std::tuple{CodeEdition::GB50057_94, "0.024×Td^1.3", "0.024×40^1.3"},
          std::tuple{k2010, "0.1×Td", "0.1×40"}}) {
        const auto r = std::get<LJCS>(calcLJCS({1, 40, 50, 20, 30, edition}));
        ASSERT_EQ(r.working.size(), 4u);
        const Step& ng = r.working[2];
        EXPECT_EQ(ng.symbol, "Ng");
        EXPECT_EQ(ng.formula, formula);
        EXPECT_EQ(ng.substituted, substituted);
        EXPECT_EQ(ng.value, formatResult(r.Ng).substr(1));
        EXPECT_EQ(r.working[3].substituted, "1×" + ng.value + "×0.02702012");
    }
}

struct CategoryCase {
    CodeEdition edition;
    BuildingUse use;
    double N;
    int category;
    const char* clause;
};

std::ostream& operator<<(std::ostream& o, const CategoryCase& c) {
    return o << editionName(c.edition) << " use " << static_cast<int>(c.use) << " N " << c.N;
}

class Category : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(Category, ByNAtEachThresholdAndBesideIt) {
    const CategoryCase& c = GetParam();
    const CategoryByN got = categoryByN(c.edition, c.use, c.N);
    EXPECT_EQ(got.category, c.category);
    EXPECT_EQ(got.clause, c.clause);
}

constexpr auto k94 = CodeEdition::GB50057_94;
constexpr auto kCivil = BuildingUse::Civil;
constexpr auto kIndustrial = BuildingUse::Industrial;
constexpr auto kPublic = BuildingUse::Important;

// Each bound itself belongs to the third category; just above the upper one is the
// second, just below the lower one none.
INSTANTIATE_TEST_SUITE_P(
    Thresholds, Category,
    ::testing::Values(CategoryCase{k2010, kCivil, 0.2500001, 2, "第3.0.3条第10款"},
                      CategoryCase{k2010, kCivil, 0.25, 3, "第3.0.4条第3款"},
                      CategoryCase{k2010, kCivil, 0.05, 3, "第3.0.4条第3款"},
                      CategoryCase{k2010, kCivil, 0.04999999, 0, "第3.0.4条第3款"},
                      CategoryCase{k2010, kIndustrial, 0.2500001, 2, "第3.0.3条第10款"},
                      CategoryCase{k2010, kIndustrial, 0.25, 3, "第3.0.4条第3款"},
                      CategoryCase{k2010, kIndustrial, 0.05, 3, "第3.0.4条第3款"},
                      CategoryCase{k2010, kIndustrial, 0.04999999, 0, "第3.0.4条第3款"},
                      CategoryCase{k2010, kPublic, 0.05000001, 2, "第3.0.3条第9款"},
                      CategoryCase{k2010, kPublic, 0.05, 3, "第3.0.4条第2款"},
                      CategoryCase{k2010, kPublic, 0.01, 3, "第3.0.4条第2款"},
                      CategoryCase{k2010, kPublic, 0.009999999, 0, "第3.0.4条第2款"},
                      CategoryCase{k94, kCivil, 0.3000001, 2, "第2.0.3条"},
                      CategoryCase{k94, kCivil, 0.3, 3, "第2.0.4条"},
                      CategoryCase{k94, kCivil, 0.06, 3, "第2.0.4条"},
                      CategoryCase{k94, kCivil, 0.05999999, 0, "第2.0.4条"},
                      // No second category by N for an industrial building in 1994.
                      CategoryCase{k94, kIndustrial, 1000, 3, "第2.0.4条"},
                      CategoryCase{k94, kIndustrial, 0.06, 3, "第2.0.4条"},
                      CategoryCase{k94, kIndustrial, 0.05999999, 0, "第2.0.4条"},
                      CategoryCase{k94, kPublic, 0.06000001, 2, "第2.0.3条"},
                      CategoryCase{k94, kPublic, 0.06, 3, "第2.0.4条"},
                      CategoryCase{k94, kPublic, 0.012, 3, "第2.0.4条"},
                      CategoryCase{k94, kPublic, 0.01199999, 0, "第2.0.4条"},
                      // The worked buildings: third category by either edition.
                      CategoryCase{k94, kCivil, 0.07844704, 3, "第2.0.4条"},
                      CategoryCase{k2010, kCivil, 0.1080805, 3, "第3.0.4条第3款"}));

TEST(Category, BoundsAsTheCodeWritesThem) {
    const CategoryByN industrial94 = categoryByN(k94, kIndustrial, 0.1);
    EXPECT_EQ(industrial94.lower, "0.06");
    EXPECT_FALSE(industrial94.upper);
    const CategoryByN public2010 = categoryByN(k2010, kPublic, 0.1);
    EXPECT_EQ(public2010.lower, "0.01");
    EXPECT_EQ(public2010.upper, "0.05");
    EXPECT_EQ(categoryClauses(k2010, kCivil), "第3.0.3条第10款、第3.0.4条第3款");
    EXPECT_EQ(categoryClauses(k94, kIndustrial), "第2.0.4条");
}

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

// The form follows the edition of its settings; the default is the one its column has
// always computed by.
TEST(LJCSEdition, TheFormComputesByItsSetting) {
    Recorded r("frmLJCS");
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"CmbTd", "40"}, {"CmbL", "50"}, {"CmbW", "20"}, {"CmbH", "30"}};
    EXPECT_EQ(r.form.setting("edition"), "1994");
    EXPECT_EQ(r.form.setting("use"), "none");
    r.run(inputs);
    EXPECT_EQ(r.form.text("PicN"), " 0.07844704");
    ASSERT_TRUE(r.form.lastPress());
    EXPECT_EQ(r.form.lastPress()->settings().at("edition"), "1994");

    r.form.setSetting("edition", "2010");
    EXPECT_EQ(r.form.text("PicN"), " 0.07844704") << "setting a value runs nothing";
    r.run(inputs);
    EXPECT_EQ(r.form.text("PicN"), " 0.1080805");
    EXPECT_EQ(r.form.lastPress()->input<LjcsInput>()->edition, CodeEdition::GB50057_2010);
    EXPECT_EQ(r.form.lastPress()->settings().at("edition"), "2010");
    r.form.load();
    EXPECT_EQ(r.form.setting("edition"), "2010") << "a fresh window keeps the choice";
}

TEST(LJCSEdition, ChoosingComputesAgainOnlyAfterASuccessfulPress) {
    Recorded r("frmLJCS");
    // Nothing computed yet: the choice runs nothing and says nothing.
    r.form.choose("edition", "2010");
    EXPECT_EQ(r.form.text("PicN"), "");
    EXPECT_TRUE(r.messages.empty());
    r.run({{"CmbTd", "40"}, {"CmbL", "50"}, {"CmbW", "20"}, {"CmbH", "30"}});
    ASSERT_EQ(r.form.text("PicN"), " 0.1080805");
    r.form.choose("edition", "1994");
    EXPECT_EQ(r.form.text("PicN"), " 0.07844704");
    ASSERT_TRUE(r.form.lastPress());
    EXPECT_EQ(r.form.lastPress()->settings().at("edition"), "1994");
    r.form.choose("use", "public");
    EXPECT_EQ(r.form.lastPress()->settings().at("use"), "public") << "the record follows";
    // The same choice again runs nothing: inputs typed since stay unpressed.
    r.form.setText("CmbTd", "x");
    r.form.choose("use", "public");
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.form.text("PicN"), " 0.07844704");
    // A refused press leaves nothing to compute again.
    r.run({{"CmbL", "x"}});
    r.messages.clear();
    r.form.choose("edition", "2010");
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.form.text("PicN"), "");
}

TEST(LJCSEdition, UnknownSettingsAndValuesAreRefused) {
    forms::Form f(*forms::findForm("frmLJCS"));
    EXPECT_THROW(f.setSetting("edition", "2000"), std::invalid_argument);
    EXPECT_THROW(f.setSetting("year", "2010"), std::invalid_argument);
    EXPECT_THROW(f.choose("use", "farm"), std::invalid_argument);
    EXPECT_THROW(f.choose("year", "2010"), std::invalid_argument);
    EXPECT_THROW(f.setting("year"), std::out_of_range);
    EXPECT_EQ(f.setting("edition"), "1994");
    const auto problems = f.setSettings({{"edition", "2010"}, {"use", "farm"}, {"year", "1"}});
    EXPECT_EQ(problems.size(), 2u);
    EXPECT_EQ(f.setting("edition"), "2010");
    EXPECT_EQ(f.setting("use"), "none");
    // A form without settings has none.
    EXPECT_TRUE(forms::Form(*forms::findForm("frmRx_DLDanZ")).settings().empty());
}

TEST(LJCSEdition, TheSnapshotCarriesTheSettings) {
    forms::Form used(*forms::findForm("frmLJCS"));
    used.setSettings({{"edition", "2010"}, {"use", "industrial"}});
    forms::applyAll(used, std::vector{Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                                      Action::set("CmbW", "20"), Action::set("CmbH", "30"),
                                      Action::press("CmdRun")});
    forms::FormSnapshot snap = used.snapshot();
    EXPECT_EQ(snap.settings, (forms::Settings{{"edition", "2010"}, {"use", "industrial"}}));
    forms::Form fresh(*forms::findForm("frmLJCS"));
    ASSERT_TRUE(fresh.restore(snap).empty());
    EXPECT_EQ(fresh.snapshot(), snap);
    fresh.press("CmdRun");
    EXPECT_EQ(fresh.text("PicN"), " 0.1080805");

    // A snapshot without settings (saved before there were any) is the default edition,
    // whatever the form was set to; one naming what the form does not know is reported.
    snap.settings = {{"use", "public"}, {"colour", "red"}};
    EXPECT_EQ(fresh.restore(snap).size(), 1u);
    EXPECT_EQ(fresh.settings(), (forms::Settings{{"edition", "1994"}, {"use", "public"}}));
}

}  // namespace
