// Vertical and horizontal earth electrodes: equivalent diameter, the worked values of
// both forms through their two buttons, the size label, and the failed steps.

#include <gtest/gtest.h>

#include <ostream>

#include "calc/earthing/dz_electrodes.h"
#include "form_test_support.h"

using namespace tervalen;
using tervalen::forms::Icon;
using tervalen::forms::Message;
using tervalen::forms::testing::Recorded;

namespace {

TEST(EquivalentDiameter, FollowsTheSteelTypeAndOtherTextsHaveNone) {
    EXPECT_EQ(equivalentDiameter("圆钢", 0.02f), 0.02f);
    EXPECT_EQ(equivalentDiameter("钢管", 0.05f), 0.05f);
    EXPECT_EQ(equivalentDiameter("扁钢", 0.04f), 0.02f);
    EXPECT_EQ(equivalentDiameter("等边角钢", 0.05f), static_cast<float>(0.84 * 0.05f));
    for (const char* other : {"", "角钢", "扁钢 ", "steel"})
        EXPECT_FALSE(equivalentDiameter(other, 0.05f).has_value()) << other;
}

// Vertical electrodes. The group of N is R / N divided by the utilisation factor 0.75:
// electrodes that screen each other give more than R / N, never less.
struct VerticalCase {
    const char *type, *s, *rho, *L1, *N, *L2;
    const char *D, *R, *Rn, *Ri;
};

std::ostream& operator<<(std::ostream& o, const VerticalCase& c) {
    return o << c.type << " s " << c.s << " rho " << c.rho << " L1 " << c.L1 << " N " << c.N;
}

class VerticalElectrodes : public ::testing::TestWithParam<VerticalCase> {};

TEST_P(VerticalElectrodes, PrintDiameterResistancesAndTheGroupsImpulseResistance) {
    const VerticalCase& c = GetParam();
    Recorded r("frmDZ_ChuiZhi");
    r.form.pick("CmbGx", c.type);
    EXPECT_TRUE(
        r.run({{"CmbGg", c.s}, {"Cmbρ", c.rho}, {"CmbL1", c.L1}, {"CmbN", c.N}, {"CmbL2", c.L2}},
              "CmdRun_GP")
            .empty());
    EXPECT_EQ(r.form.text("PicD"), c.D);
    EXPECT_EQ(r.form.text("PicR"), c.R);
    EXPECT_EQ(r.form.text("PicRn"), c.Rn);
    EXPECT_TRUE(r.run({}, "CmdRun_CJ").empty());
    EXPECT_EQ(r.form.text("PicRi"), c.Ri);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, VerticalElectrodes,
    ::testing::Values(
        VerticalCase{"等边角钢", "0.05", "300", "2.5", "4", "10", " 0.042", " 104.5203",
                     " 34.84011", " 28.45657"},
        // One electrode: Rn = R / 0.75.
        VerticalCase{"圆钢", "0.02", "100", "2.5", "1", "5", " 0.02", " 39.56342", " 52.75123",
                     " 52.75123"},
        VerticalCase{"钢管", "0.05", "500", "3", "6", "20", " 0.05", " 145.3785", " 32.30632",
                     " 23.16119"},
        VerticalCase{"扁钢", "0.04", "200", "2.5", "10", "15", " 0.02", " 79.12685", " 10.55025",
                     " 9.82865"},
        // Shorter than a quarter of its diameter: a negative resistance, printed as it is.
        VerticalCase{"圆钢", "0.05", "100", "0.01", "1", "1", " 0.05", "-355.1441", "-473.5254",
                     "-473.5254"}));

struct HorizontalCase {
    const char *type, *s, *rho, *L1, *H, *option, *L2;
    const char *A, *D, *R, *Ri;
};

std::ostream& operator<<(std::ostream& o, const HorizontalCase& c) {
    return o << c.type << " " << (*c.option ? c.option : "no option") << " rho " << c.rho << " L1 "
             << c.L1;
}

class HorizontalElectrodes : public ::testing::TestWithParam<HorizontalCase> {};

TEST_P(HorizontalElectrodes, PrintShapeCoefficientDiameterResistanceAndImpulseResistance) {
    const HorizontalCase& c = GetParam();
    Recorded r("frmDZ_ShuiPing");
    r.form.pick("CmbGx", c.type);
    if (*c.option) r.form.select(c.option);
    EXPECT_TRUE(
        r.run({{"CmbGg", c.s}, {"Cmbρ", c.rho}, {"CmbL1", c.L1}, {"CmbH", c.H}, {"CmbL2", c.L2}},
              "CmdRun_GP")
            .empty());
    EXPECT_EQ(r.form.text("PicA"), c.A);
    EXPECT_EQ(r.form.text("PicD"), c.D);
    EXPECT_EQ(r.form.text("PicR"), c.R);
    EXPECT_TRUE(r.run({}, "CmdRun_CJ").empty());
    EXPECT_EQ(r.form.text("PicRi"), c.Ri);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, HorizontalElectrodes,
    ::testing::Values(HorizontalCase{"扁钢", "0.04", "100", "10", "0.8", "OptA1", "10", " 0",
                                     " 0.02", " 13.91068", " 13.91068"},
                      HorizontalCase{"扁钢", "0.04", "100", "10", "0.8", "OptA2", "10", " 0.378",
                                     " 0.02", " 14.51228", " 14.51228"},
                      HorizontalCase{"扁钢", "0.04", "300", "20", "0.8", "OptA3", "20", " 0.867",
                                     " 0.02", " 26.24536", " 23.11461"},
                      HorizontalCase{"圆钢", "0.01", "300", "20", "0.6", "OptA4", "20", " 2.14",
                                     " 0.01", " 31.62598", " 27.85339"},
                      HorizontalCase{"扁钢", "0.04", "1000", "40", "0.8", "OptA5", "40", " 5.27",
                                     " 0.02", " 66.77714", " 45.75561"},
                      HorizontalCase{"等边角钢", "0.05", "600", "30", "0.7", "OptA6", "30", " 3.81",
                                     " 0.042", " 45.00633", " 42.05333"},
                      HorizontalCase{"钢管", "0.05", "100", "10", "0.8", "OptA7", "10", " 1.69",
                                     " 0.05", " 15.14207", " 15.14207"},
                      // No layout chosen counts as the straight line.
                      HorizontalCase{"扁钢", "0.04", "100", "10", "0.8", "", "10", " 0", " 0.02",
                                     " 13.91068", " 13.91068"}));

TEST(HorizontalElectrodes, NegativeLengthGivesANegativeResistanceWithoutFailing) {
    Recorded r("frmDZ_ShuiPing");
    r.form.select("OptA1");
    EXPECT_TRUE(
        r.run({{"CmbGg", "0.04"}, {"Cmbρ", "100"}, {"CmbL1", "-10"}, {"CmbH", "0.8"}}, "CmdRun_GP")
            .empty());
    EXPECT_EQ(r.form.text("PicR"), "-13.91068");
}

// The size label follows a pick from the type list, never typing.
TEST(SteelTypeBox, PickSwitchesTheSizeLabelTypingDoesNot) {
    struct Start {
        const char *form, *initial;
    };
    for (const Start& s : {Start{"frmDZ_ChuiZhi", "等边角钢的边长（b）："},
                           Start{"frmDZ_ShuiPing", "扁钢的边长（b）："}}) {
        Recorded r(s.form);
        EXPECT_EQ(r.form.text("LabGg"), s.initial);
        r.form.pick("CmbGx", "扁钢");
        EXPECT_EQ(r.form.text("LabGg"), "扁钢的边长（b）:");
        r.form.pick("CmbGx", "钢管");
        EXPECT_EQ(r.form.text("LabGg"), "钢管的外径(d)：");
        r.form.pick("CmbGx", "圆钢");
        EXPECT_EQ(r.form.text("LabGg"), "圆钢的直径（d）：");
        r.form.pick("CmbGx", "等边角钢");
        EXPECT_EQ(r.form.text("LabGg"), "等边角钢的边长（b）：");
        r.form.pick("CmbGx", "铜排");
        EXPECT_EQ(r.form.text("LabGg"), "等边角钢的边长（b）：");
        r.form.setText("CmbGx", "");
        r.form.typeText("CmbGx", "钢管");
        EXPECT_EQ(r.form.text("LabGg"), "等边角钢的边长（b）：");
        r.form.load();
        EXPECT_EQ(r.form.text("LabGg"), s.initial) << s.form;
    }
}

TEST(SteelTypeBox, ATypedTypeComputesWhileTheLabelStays) {
    Recorded r("frmDZ_ChuiZhi");
    r.form.setText("CmbGx", "");
    r.form.typeText("CmbGx", "圆钢");
    r.run({{"CmbGg", "0.02"}, {"Cmbρ", "100"}, {"CmbL1", "2.5"}, {"CmbN", "1"}}, "CmdRun_GP");
    EXPECT_EQ(r.form.text("PicD"), " 0.02");
    EXPECT_EQ(r.form.text("PicR"), " 39.56342");
    EXPECT_EQ(r.form.text("LabGg"), "等边角钢的边长（b）：");
}

// Inputs whose arithmetic cannot be carried out: one message naming the failed step,
// no result boxes filled, and the stored resistance of the last complete press kept.
struct FailureCase {
    const char* form;
    std::vector<std::pair<std::string, std::string>> inputs;
    const char* message;
};

std::ostream& operator<<(std::ostream& o, const FailureCase& c) {
    o << c.form;
    for (const auto& [box, text] : c.inputs) o << " " << box << "=" << text;
    return o;
}

class ElectrodeFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ElectrodeFailures, ShowTheFailedStepAndKeepTheStoredResistance) {
    const FailureCase& c = GetParam();
    Recorded r(c.form);
    const std::string fourth = r.form.has("CmbN") ? "CmbN" : "CmbH";
    r.run({{"CmbGg", "0.04"}, {"Cmbρ", "300"}, {"CmbL1", "20"}, {fourth, "1"}, {"CmbL2", "20"}},
          "CmdRun_GP");
    r.run({}, "CmdRun_CJ");
    const std::string ri = r.form.text("PicRi");
    ASSERT_NE(ri, "");
    const auto shown = r.run(c.inputs, "CmdRun_GP");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Message{c.message, Icon::None}));
    for (const char* box : {"PicD", "PicR"}) EXPECT_EQ(r.form.text(box), "") << box;
    EXPECT_EQ(r.form.focusRequest(), "");
    r.run({{"Cmbρ", "300"}, {"CmbL2", "20"}}, "CmdRun_CJ");
    EXPECT_EQ(r.form.text("PicRi"), ri);
}

const char* const kDivision = "输入的数据无法计算！\n计算 R 时遇到除数为零！";
const char* const kLog = "输入的数据无法计算！\n计算 R 时遇到零或负数取对数！";

INSTANTIATE_TEST_SUITE_P(
    FailedSteps, ElectrodeFailures,
    ::testing::Values(FailureCase{"frmDZ_ChuiZhi", {{"CmbGx", "铜"}}, kDivision},
                      FailureCase{"frmDZ_ChuiZhi", {{"CmbGg", "0"}}, kDivision},
                      FailureCase{"frmDZ_ChuiZhi", {{"CmbL1", "0"}}, kDivision},
                      FailureCase{"frmDZ_ChuiZhi", {{"CmbL1", "-2.5"}}, kLog},
                      FailureCase{"frmDZ_ChuiZhi",
                                  {{"CmbN", "0"}},
                                  "输入的数据无法计算！\n计算 Rn 时遇到除数为零！"},
                      FailureCase{"frmDZ_ChuiZhi",
                                  {{"CmbL1", "2.5."}},
                                  "输入的 L1 数值错误！\nL1 的数值不是一个有效的数字！"},
                      FailureCase{"frmDZ_ShuiPing", {{"CmbGx", "铜"}}, kDivision},
                      FailureCase{"frmDZ_ShuiPing", {{"CmbH", "0"}}, kDivision},
                      FailureCase{"frmDZ_ShuiPing", {{"CmbL1", "0"}}, kDivision},
                      FailureCase{"frmDZ_ShuiPing",
                                  {{"Cmbρ", "1e3"}},
                                  "输入的 ρ 数值错误！\nρ 的数值不是一个有效的数字！"}));

}  // namespace
