// Protection radius of a single rod: the worked values and the checks, through the
// computation units and through the forms' calculate handlers.

#include "calc/range/rx_danz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "form_test_support.h"

using namespace tervalen;
using tervalen::forms::Icon;
using tervalen::forms::Message;
using tervalen::forms::testing::Recorded;

namespace {

const char* const M1 = "避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！";
const char* const M2 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H ！";

struct RodCase {
    const char* form;
    const char* yesNo;  // nullptr: standalone form
    const char *Hr, *H, *Hx;
    const char* shown;    // PicRx, "" when refused
    const char* refusal;  // nullptr when computed
};

std::ostream& operator<<(std::ostream& o, const RodCase& c) {
    return o << c.form << (c.yesNo ? c.yesNo : "") << " Hr " << c.Hr << " H " << c.H << " Hx "
             << c.Hx;
}

class SingleRodForms : public ::testing::TestWithParam<RodCase> {};

TEST_P(SingleRodForms, PrintRadiusOrRefuse) {
    const RodCase& c = GetParam();
    Recorded r(c.form);
    std::vector<std::pair<std::string, std::string>> in{
        {"CmbHr", c.Hr}, {"CmbH", c.H}, {"CmbHx", c.Hx}};
    if (c.yesNo) in.emplace_back("CmbYesNo", c.yesNo);
    const auto shown = r.run(in);
    EXPECT_EQ(r.form.text("PicRx"), c.shown);
    if (c.refusal) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], (Message{c.refusal, Icon::None}));
    } else {
        EXPECT_TRUE(shown.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, SingleRodForms,
    ::testing::Values(
        RodCase{"frmRx_DLDanZ", nullptr, "30", "30", "0", " 30", nullptr},
        RodCase{"frmRx_DLDanZ", nullptr, "30", "20", "5", " 11.70115", nullptr},
        RodCase{"frmRx_DLDanZ", nullptr, "45", "25", "10", " 12.02702", nullptr},
        RodCase{"frmRx_DLDanZ", nullptr, "60", "40", "12", " 20.56854", nullptr},
        RodCase{"frmRx_DLDanZ", nullptr, "30", "17.5", "17.5", " 0", nullptr},
        RodCase{"frmRx_DLDanZ", nullptr, "30", "30.5", "0", "", M1},
        RodCase{"frmRx_DLDanZ", nullptr, "30", "20", "21", "", M2},
        RodCase{"frmRx_DLDanZ", nullptr, "30", "31", "40", "", M1},  // M1 is tested first
        RodCase{"frmRx_JSDanZ", "是", "30", "40", "15", " 29.5804", nullptr},
        RodCase{"frmRx_JSDanZ", "否", "30", "40", "15", "", M1},
        RodCase{"frmRx_JSDanZ", "否", "30", "20", "5", " 11.70115", nullptr},
        RodCase{"frmRx_JSDanZ", "是", "30", "50", "15", "", M1},
        RodCase{"frmRx_JSDanZ", "是", "30", "10", "12", "", M2},
        RodCase{"frmRx_JSDanZ", "是", "30", "45", "15", " 30", nullptr},  // h = Hr passes
        RodCase{"frmRx_JSDanZ", "是", "30", "15", "15", " 0", nullptr}));

TEST(SingleRodForms, MountedFormStopsSilentlyOnAnyOtherAnswer) {
    for (const char* answer : {"", "是 ", "yes", "否否"}) {
        Recorded r("frmRx_JSDanZ");
        r.run({{"CmbH", "40"}, {"CmbHx", "15"}});
        ASSERT_EQ(r.form.text("PicRx"), " 29.5804");
        EXPECT_TRUE(r.run({{"CmbYesNo", answer}}).empty()) << answer;
        EXPECT_EQ(r.form.text("PicRx"), "") << answer;
    }
}

TEST(SingleRodForms, BlankTestsComeBeforeConversionAndTheRadiusBoxIsNotTested) {
    Recorded r("frmRx_DLDanZ");
    EXPECT_TRUE(r.run({{"CmbHr", "."}, {"CmbH", ""}, {"CmbHx", "5"}}).empty());
    EXPECT_TRUE(r.run({{"CmbH", "20"}, {"CmbHx", ""}}).empty());
    EXPECT_EQ(r.run({{"CmbHr", ""}, {"CmbH", "20"}, {"CmbHx", "5"}}).size(), 1u);
}

TEST(SingleRodUnits, ReturnTheReachesBesideTheRadius) {
    const auto r = std::get<RxDanZ>(calcRx_DLDanZ({30, 20, 5}));
    EXPECT_DOUBLE_EQ(r.reachH, std::sqrt(800.0));
    EXPECT_DOUBLE_EQ(r.reachHx, std::sqrt(275.0));
    EXPECT_EQ(r.Rx, static_cast<float>(std::sqrt(800.0) - std::sqrt(275.0)));
    const auto m = std::get<RxDanZ>(calcRx_JSDanZ({true, 30, 40, 15}));
    EXPECT_EQ(m.h, 25.0f);
    EXPECT_EQ(m.reachHx, 0.0);
    EXPECT_EQ(std::get<Refusal>(calcRx_DLDanZ({30, 30.5f, 0})).text, M1);
}

}  // namespace
