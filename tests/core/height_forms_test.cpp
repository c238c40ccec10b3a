// The height forms' definitions as a user meets them: menu order and captions, default
// texts, key filters, Enter and Escape, the two-wire note label.

#include <gtest/gtest.h>

#include <ostream>

#include "form_test_support.h"
#include "forms/height/forms.h"

using namespace tervalen::forms;
using tervalen::forms::testing::Recorded;

namespace {

TEST(HeightForms, ListedInMenuOrderWithTheirCaptions) {
    const std::vector<std::pair<std::string, std::string>> expected{
        {"frmH_DLDanZ", "独立单针针高计算"},
        {"frmH_JSDanZ", "架设于建筑物上的单针针高计算"},
        {"frmH_DLShuangZ", "独立等高双针针高计算"},
        {"frmH_JSShuangZ", "架设于建筑物上等高双针针高计算"},
        {"frmH_DLSanZ", "独立等高等边三角形布置三针针高计算"},
        {"frmH_DLSiZ", "独立等高正方形布置四针针高计算"},
        {"frmH_DanX", "架空单线高度计算"},
        {"frmH_ShuangX", "架空双线高度计算"}};
    std::vector<std::pair<std::string, std::string>> listed;
    for (const FormDef* def : heightForms()) listed.emplace_back(def->name, def->caption);
    EXPECT_EQ(listed, expected);
}

TEST(HeightForms, OpenWithTheirDefaultsEnterCalculatesEscapeCloses) {
    for (const FormDef* def : heightForms()) {
        Recorded r(def->name.c_str());
        EXPECT_EQ(r.form.text("CmbHr"), "30") << def->name;
        EXPECT_EQ(r.form.control("CmbHr").list, (std::vector<std::string>{"30", "45", "60"}));
        EXPECT_EQ(r.form.text("CmbHx"), "") << def->name;
        if (r.form.has("CmbYesNo")) {
            EXPECT_EQ(r.form.text("CmbYesNo"), "是") << def->name;
        }
        // Enter presses "计 算": with the inputs blank it stops silently, nothing is typed.
        EXPECT_FALSE(r.form.typeKey("CmbHx", 13)) << def->name;
        EXPECT_TRUE(r.messages.empty()) << def->name;
        EXPECT_EQ(r.form.text("CmbHx"), "");
        EXPECT_FALSE(r.form.typeKey("CmbHx", 27));
        EXPECT_TRUE(r.form.closeRequested()) << def->name;
    }
}

enum class Filter { Numeric, DigitsOnly, None };

struct FilterCase {
    const char* form;
    const char* box;
    Filter filter;
    const char* refusal;
};

std::ostream& operator<<(std::ostream& o, const FilterCase& c) {
    return o << c.form << ' ' << c.box;
}

class HeightKeyFilters : public ::testing::TestWithParam<FilterCase> {};

// A letter is refused with the box's own text (or typed where there is no filter); the
// point passes everywhere but in the digits-only radius boxes.
TEST_P(HeightKeyFilters, RefuseWithTheBoxText) {
    const FilterCase& c = GetParam();
    Recorded r(c.form);
    r.form.setText(c.box, "");
    r.form.typeText(c.box, "1a.");
    const std::string expected = c.filter == Filter::None         ? "1a."
                                 : c.filter == Filter::DigitsOnly ? "1"
                                                                  : "1.";
    EXPECT_EQ(r.form.text(c.box), expected);
    std::vector<Message> refusals;
    if (c.filter != Filter::None) refusals.push_back({c.refusal, Icon::Critical});
    if (c.filter == Filter::DigitsOnly) refusals.push_back({c.refusal, Icon::Critical});
    EXPECT_EQ(r.messages, refusals);
}

constexpr auto N = Filter::Numeric;
constexpr auto DO = Filter::DigitsOnly;
constexpr auto None = Filter::None;
const char* const kRxo = "Rxo 值输入错误，只为数字！";
const char* const kHx = "Hx 值输入错误，只为数字！";
const char* const kD = "D 值输入错误，只为数字！";
const char* const kHrDigits = "Hr 值错误，只为数字！";
const char* const kHrPick = "Hr 值输入错误，请选择！";

INSTANTIATE_TEST_SUITE_P(
    Boxes, HeightKeyFilters,
    ::testing::Values(
        FilterCase{"frmH_DLDanZ", "CmbHr", DO, kHrDigits},
        FilterCase{"frmH_DLDanZ", "CmbRxo", N, kRxo}, FilterCase{"frmH_DLDanZ", "CmbHx", N, kHx},
        FilterCase{"frmH_JSDanZ", "CmbYesNo", None, ""},
        FilterCase{"frmH_JSDanZ", "CmbHr", DO, kHrDigits},
        FilterCase{"frmH_JSDanZ", "CmbRxo", N, kRxo},
        FilterCase{"frmH_JSDanZ", "CmbG", N, "G 值输入错误，只为数字！"},
        FilterCase{"frmH_DLShuangZ", "CmbHr", N, kHrPick},
        FilterCase{"frmH_DLShuangZ", "CmbBxo", N, kRxo},
        FilterCase{"frmH_DLShuangZ", "CmbD", N, kD},
        FilterCase{"frmH_JSShuangZ", "CmbYesNo", N, kRxo},
        FilterCase{"frmH_JSShuangZ", "CmbHr", N, kHrPick},
        FilterCase{"frmH_JSShuangZ", "CmbHx", N, kHx},
        FilterCase{"frmH_JSShuangZ", "CmbG", None, ""},
        FilterCase{"frmH_DLSanZ", "CmbHr", N, kHrPick},
        FilterCase{"frmH_DLSanZ", "CmbBxo", N, kRxo}, FilterCase{"frmH_DLSanZ", "CmbL", N, kD},
        FilterCase{"frmH_DLSiZ", "CmbL", N, kD}, FilterCase{"frmH_DanX", "CmbHr", DO, kHrDigits},
        FilterCase{"frmH_DanX", "CmbBx1o", None, ""}, FilterCase{"frmH_DanX", "CmbD", N, kD},
        FilterCase{"frmH_DanX", "CmbHx", N, kHx}, FilterCase{"frmH_ShuangX", "CmbHr", N, kHrDigits},
        FilterCase{"frmH_ShuangX", "CmbHoo", N, "Hoo 值输入错误，只为数字！"},
        FilterCase{"frmH_ShuangX", "CmbD1", N, "D1 值输入错误，只为数字！"},
        FilterCase{"frmH_ShuangX", "CmbD2", N, "D2 值输入错误，只为数字！"},
        FilterCase{"frmH_ShuangX", "CmbHx", N, kHx}));

TEST(HeightForms, TwoWireNoteIsARedLabelAtTheRightOfItsHeadingThatTheDriverWatches) {
    Recorded r("frmH_ShuangX");
    const Control& note = r.form.control("LabJG");
    EXPECT_EQ(note.text, "该项无计算结果");
    EXPECT_TRUE(note.red && note.right && !note.visible);
    EXPECT_EQ(note.dynamic, unsigned{kVisible});
    EXPECT_FALSE(r.form.state("LabJG").visible);
}

}  // namespace
