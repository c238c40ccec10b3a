// Earthing system: worked values with and without modules, the module inputs following
// the yes/no pick, the kept RMn, and the failed steps.

#include <gtest/gtest.h>

#include <ostream>

#include "calc/earthing/dz_xt.h"
#include "form_test_support.h"

using namespace tervalen;
using tervalen::forms::Icon;
using tervalen::forms::Message;
using tervalen::forms::testing::Recorded;

namespace {

struct SystemCase {
    const char *answer, *RB, *RP, *RM, *N, *rho, *L;
    const char *RMn, *R, *Ri;
};

std::ostream& operator<<(std::ostream& o, const SystemCase& c) {
    return o << c.answer << " RB " << c.RB << " RP " << c.RP << " RM " << c.RM << " N " << c.N;
}

class EarthingSystem : public ::testing::TestWithParam<SystemCase> {};

TEST_P(EarthingSystem, PrintsTheSystemResistanceAndItsImpulseResistance) {
    const SystemCase& c = GetParam();
    Recorded r("frmDZ_XT");
    // An earlier calculation with modules, whose RMn stays when this one has none.
    r.run({{"CmbRB", "1"}, {"CmbRP", "1"}, {"CmbRM", "9"}, {"CmbN", "2"}}, "CmdRun_GP");
    ASSERT_EQ(r.form.text("PicRMn"), " 4.5");
    r.form.pick("CmbYesNo", c.answer);
    EXPECT_TRUE(r.run({{"CmbRB", c.RB},
                       {"CmbRP", c.RP},
                       {"CmbRM", c.RM},
                       {"CmbN", c.N},
                       {"Cmbρ", c.rho},
                       {"CmbL", c.L}},
                      "CmdRun_GP")
                    .empty());
    EXPECT_EQ(r.form.text("PicRMn"), c.RMn);
    EXPECT_EQ(r.form.text("PicR"), c.R);
    EXPECT_EQ(r.form.text("PicRi"), "");
    EXPECT_EQ(r.form.focusRequest(), "CmdRun_CJ");
    EXPECT_TRUE(r.run({}, "CmdRun_CJ").empty());
    EXPECT_EQ(r.form.text("PicRi"), c.Ri);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, EarthingSystem,
    ::testing::Values(
        SystemCase{"是", "10", "20", "5", "4", "300", "20", " 1.25", " 1.403509", " 1.236088"},
        SystemCase{"否", "10", "20", "", "", "300", "20", " 4.5", " 8.888889", " 7.828555"},
        SystemCase{"是", "30", "60", "10", "2", "1000", "30", " 5", " 5.333333", " 3.218527"},
        SystemCase{"否", "4", "4", "", "", "80", "10", " 4.5", " 2.666667", " 2.666667"},
        // Without modules, RM and N are neither tested nor converted.
        SystemCase{"否", "4", "4", "x.x", "", "80", "10", " 4.5", " 2.666667", " 2.666667"},
        SystemCase{"否", "0", "4", "", "", "80", "10", " 4.5", " 0", " 0"},
        SystemCase{"是", "10", "0", "5", "4", "300", "20", " 1.25", " 0", " 0"}));

TEST(EarthingSystemForm, AnswerPickEnablesOrDisablesTheModuleInputsTypingDoesNot) {
    Recorded r("frmDZ_XT");
    const auto enabled = [&](bool expected) {
        for (const char* c : {"LabRM", "CmbRM", "LabN", "CmbN"})
            EXPECT_EQ(r.form.state(c).enabled, expected) << c;
    };
    enabled(true);
    r.form.setText("CmbRM", "5");
    r.form.pick("CmbYesNo", "否");
    enabled(false);
    EXPECT_EQ(r.form.text("CmbRM"), "5");
    r.form.pick("CmbYesNo", "是");
    enabled(true);
    // Typed "否" computes without modules, yet the inputs stay enabled.
    r.form.setText("CmbYesNo", "");
    r.form.typeText("CmbYesNo", "否");
    enabled(true);
    r.run({{"CmbRB", "10"}, {"CmbRP", "20"}}, "CmdRun_GP");
    EXPECT_EQ(r.form.text("PicR"), " 8.888889");
    EXPECT_EQ(r.form.text("PicRMn"), "");
    r.form.pick("CmbYesNo", "否");
    r.form.load();
    enabled(true);
}

TEST(EarthingSystemForm, AnyOtherAnswerComputesNothingButMovesTheFocus) {
    Recorded r("frmDZ_XT");
    r.run({{"CmbRB", "10"},
           {"CmbRP", "20"},
           {"CmbRM", "5"},
           {"CmbN", "4"},
           {"Cmbρ", "300"},
           {"CmbL", "20"}},
          "CmdRun_GP");
    r.run({}, "CmdRun_CJ");
    ASSERT_EQ(r.form.text("PicRi"), " 1.236088");
    r.form.setText("CmbYesNo", "有");
    EXPECT_TRUE(r.run({{"CmbRB", "4"}, {"CmbRP", "4"}}, "CmdRun_GP").empty());
    EXPECT_EQ(r.form.text("PicR"), "");
    EXPECT_EQ(r.form.text("PicRi"), "");
    EXPECT_EQ(r.form.text("PicRMn"), " 1.25");
    EXPECT_EQ(r.form.focusRequest(), "CmdRun_CJ");
    // RB and RP are still converted.
    EXPECT_EQ(r.run({{"CmbRB", "."}}, "CmdRun_GP").size(), 1u);
    r.run({}, "CmdRun_CJ");
    EXPECT_EQ(r.form.text("PicRi"), " 1.236088");
}

TEST(EarthingSystemForm, BlankModuleInputStopsAfterClearingWithoutMovingTheFocus) {
    Recorded r("frmDZ_XT");
    r.run({{"CmbRB", "10"},
           {"CmbRP", "20"},
           {"CmbRM", "5"},
           {"CmbN", "4"},
           {"Cmbρ", "300"},
           {"CmbL", "20"}},
          "CmdRun_GP");
    r.run({}, "CmdRun_CJ");
    for (const char* box : {"CmbRM", "CmbN"}) {
        const std::string kept = r.form.text(box);
        EXPECT_TRUE(r.run({{box, ""}}, "CmdRun_GP").empty());
        EXPECT_EQ(r.form.text("PicR"), "") << box;
        EXPECT_EQ(r.form.text("PicRi"), "") << box;
        EXPECT_EQ(r.form.text("PicRMn"), " 1.25") << box;
        EXPECT_EQ(r.form.focusRequest(), "") << box;
        r.form.setText(box, kept);
    }
}

struct SystemFailure {
    const char *answer, *RB, *RP, *RM, *N;
    const char* message;
};

std::ostream& operator<<(std::ostream& o, const SystemFailure& c) {
    return o << c.answer << " RB " << c.RB << " RP " << c.RP << " RM " << c.RM << " N " << c.N;
}

class EarthingSystemFailures : public ::testing::TestWithParam<SystemFailure> {};

TEST_P(EarthingSystemFailures, NameTheFailedStepAndKeepTheStoredResistance) {
    const SystemFailure& c = GetParam();
    Recorded r("frmDZ_XT");
    r.run({{"CmbRB", "4"},
           {"CmbRP", "4"},
           {"CmbRM", "1"},
           {"CmbN", "1"},
           {"Cmbρ", "80"},
           {"CmbL", "10"}},
          "CmdRun_GP");
    r.form.setText("CmbYesNo", c.answer);
    const auto shown =
        r.run({{"CmbRB", c.RB}, {"CmbRP", c.RP}, {"CmbRM", c.RM}, {"CmbN", c.N}}, "CmdRun_GP");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Message{c.message, Icon::None}));
    EXPECT_EQ(r.form.text("PicR"), "");
    EXPECT_EQ(r.form.text("PicRMn"), " 1");
    r.run({}, "CmdRun_CJ");
    EXPECT_EQ(r.form.text("PicRi"), " 0.8888889");
}

INSTANTIATE_TEST_SUITE_P(
    FailedSteps, EarthingSystemFailures,
    ::testing::Values(
        SystemFailure{"否", "0", "0", "", "", "输入的数据无法计算！\n计算 R 时遇到除数为零！"},
        SystemFailure{"是", "0", "0", "5", "4", "输入的数据无法计算！\n计算 Rp 时遇到除数为零！"},
        SystemFailure{"是", "10", "20", "5", "0",
                      "输入的数据无法计算！\n计算 RMn 时遇到除数为零！"},
        SystemFailure{"是", "0", "20", "0", "4", "输入的数据无法计算！\n计算 R 时遇到除数为零！"},
        SystemFailure{"是", "10", "20", "5", "..",
                      "输入的 N 数值错误！\nN 的数值不是一个有效的数字！"}));

TEST(EarthingSystemForm, NegativeResistivityFailsAtTheImpulseButtonsRoot) {
    Recorded r("frmDZ_XT");
    r.form.pick("CmbYesNo", "否");
    r.run({{"CmbRB", "10"}, {"CmbRP", "20"}}, "CmdRun_GP");
    r.form.typeText("Cmbρ", "-300");
    r.form.typeText("CmbL", "20");
    const auto shown = r.run({}, "CmdRun_CJ");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Message{"输入的数据无法计算！\n计算 Le 时遇到负数开平方！", Icon::None}));
    EXPECT_EQ(r.form.text("PicRi"), "");
}

TEST(EarthingSystemUnit, CarriesTheParallelResistanceOfTheElectrodes) {
    const auto with = std::get<DzXt>(calcDZ_XT({10, 20, EarthingModules{5, 4}}));
    EXPECT_EQ(with.Rp, static_cast<double>(static_cast<float>(200.0 / 30.0)));
    EXPECT_EQ(with.RMn, 1.25f);
    const auto without = std::get<DzXt>(calcDZ_XT({10, 20, std::nullopt}));
    EXPECT_DOUBLE_EQ(without.Rp, 200.0 / 30.0);
    EXPECT_FALSE(without.RMn.has_value());
}

}  // namespace
