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
using tervalen::forms::testing::expectPress;
using tervalen::forms::testing::OtherResults;
using tervalen::forms::testing::PressCase;
using tervalen::forms::testing::pressing;
using tervalen::forms::testing::Recorded;
using tervalen::forms::testing::Texts;

namespace {

const char* const M1 = "避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！";
const char* const M2 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H ！";

// A single-rod form pressed with Hr, H and Hx (and the yes/no answer of the mounted form):
// PicRx, its only result box, and the refusal.
PressCase rod(const char* form, const char* yesNo, const char* Hr, const char* H, const char* Hx,
              const char* shown, const char* refusal) {
    Texts in{{"CmbHr", Hr}, {"CmbH", H}, {"CmbHx", Hx}};
    if (yesNo) in.emplace_back("CmbYesNo", yesNo);
    return {"",
            form,
            pressing(in),
            {{"PicRx", shown}},
            refusal ? std::vector<std::string>{refusal} : std::vector<std::string>{},
            OtherResults::Empty};
}

class SingleRodForms : public ::testing::TestWithParam<PressCase> {};

TEST_P(SingleRodForms, PrintRadiusOrRefuse) {
    expectPress(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, SingleRodForms,
    ::testing::Values(rod("frmRx_DLDanZ", nullptr, "30", "30", "0", " 30", nullptr),
                      rod("frmRx_DLDanZ", nullptr, "30", "20", "5", " 11.70115", nullptr),
                      rod("frmRx_DLDanZ", nullptr, "45", "25", "10", " 12.02702", nullptr),
                      rod("frmRx_DLDanZ", nullptr, "60", "40", "12", " 20.56854", nullptr),
                      rod("frmRx_DLDanZ", nullptr, "30", "17.5", "17.5", " 0", nullptr),
                      rod("frmRx_DLDanZ", nullptr, "30", "30.5", "0", "", M1),
                      rod("frmRx_DLDanZ", nullptr, "30", "20", "21", "", M2),
                      rod("frmRx_DLDanZ", nullptr, "30", "31", "40", "", M1),  // M1 is tested first
                      rod("frmRx_JSDanZ", "是", "30", "40", "15", " 29.5804", nullptr),
                      rod("frmRx_JSDanZ", "否", "30", "40", "15", "", M1),
                      rod("frmRx_JSDanZ", "否", "30", "20", "5", " 11.70115", nullptr),
                      rod("frmRx_JSDanZ", "是", "30", "50", "15", "", M1),
                      rod("frmRx_JSDanZ", "是", "30", "10", "12", "", M2),
                      rod("frmRx_JSDanZ", "是", "30", "45", "15", " 30", nullptr),  // h = Hr passes
                      rod("frmRx_JSDanZ", "是", "30", "15", "15", " 0", nullptr)));

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
