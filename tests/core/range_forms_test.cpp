// The protection range forms of two, three and four rods and of one and two wires: what
// each form adds to the shared calculate sequence (which boxes it tests for blank, the
// boxes it clears and fills, the yes/no answer, the note beside Bx2).

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "forms/range/forms.h"

using namespace tervalen::forms;
using tervalen::forms::testing::expectPress;
using tervalen::forms::testing::OtherResults;
using tervalen::forms::testing::PressCase;
using tervalen::forms::testing::pressing;
using tervalen::forms::testing::Recorded;
using tervalen::forms::testing::Texts;
using tervalen::forms::testing::operator+;

namespace {

using Inputs = std::vector<std::pair<std::string, std::string>>;

// Inputs with which each form fills every result box it has (the two-wire Bx2 aside).
const std::map<std::string, Inputs>& filling() {
    static const std::map<std::string, Inputs> m{
        {"frmRx_DLShuangZ", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD", "30"}}},
        {"frmRx_JSShuangZ", {{"CmbH", "40"}, {"CmbHx", "15"}, {"CmbD", "30"}}},
        {"frmRx_DLSanZ", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "30"}}},
        {"frmRx_DLSiZ", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "30"}}},
        {"frmRxBx_DanX", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD", "100"}}},
        {"frmRxBx_ShuangX", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "20"}}},
        {"frmRx_BDGShuangZ", {{"CmbH1", "20"}, {"CmbH2", "25"}, {"CmbD", "30"}, {"CmbHx", "5"}}},
    };
    return m;
}

std::vector<std::string> resultBoxes(const Form& f) {
    std::vector<std::string> boxes;
    for (const Control* c : f.controls())
        if (c->kind == Kind::Result) boxes.push_back(c->name);
    return boxes;
}

// A calculation after one that filled the form: the boxes it prints (every other result
// box must have been cleared) and the messages it shows, all without an icon.
PressCase afterFilling(const char* form, const Inputs& changed, Texts printed = {},
                       std::vector<std::string> messages = {}) {
    return {"",
            form,
            pressing(filling().at(form)) + pressing(changed),
            std::move(printed),
            std::move(messages),
            OtherResults::Empty};
}

class RangeFormRuns : public ::testing::TestWithParam<PressCase> {};

TEST_P(RangeFormRuns, ClearPrintAndTell) {
    expectPress(GetParam());
}

// The press every row above starts from: silent, and every result box filled but the
// two-wire Bx2, whose note stands in for it with the wires within the sphere.
TEST(RangeFormRuns, TheFillingPressShowsNoMessageAndFillsEveryResultBox) {
    for (const auto& [name, inputs] : filling()) {
        Recorded r(name.c_str());
        EXPECT_TRUE(r.run(inputs).empty()) << name;
        for (const std::string& box : resultBoxes(r.form)) {
            const bool noted = name == "frmRxBx_ShuangX" && box == "PicBx2";
            EXPECT_EQ(r.form.text(box).empty(), noted) << name << ' ' << box;
        }
    }
}

const char* const kNotANumberHr = "输入的 Hr 数值错误！\nHr 的数值不是一个有效的数字！";

INSTANTIATE_TEST_SUITE_P(
    Rods, RangeFormRuns,
    ::testing::Values(
        afterFilling("frmRx_DLShuangZ", {{"CmbD", "50"}, {"CmbHx", "10"}},
                     {{"PicRx", " 5.923592"}, {"PicHo", " 3.074176"}, {"PicBx", "-9.131923"}}, {}),
        // Blank tests on H, Hx and D only, and before any conversion.
        afterFilling("frmRx_DLShuangZ", {{"CmbD", ""}, {"CmbHr", "."}}, {}, {}),
        afterFilling("frmRx_DLShuangZ", {{"CmbHx", ""}}, {}, {}),
        afterFilling("frmRx_DLShuangZ", {{"CmbH", ""}}, {}, {}),
        afterFilling("frmRx_DLShuangZ", {{"CmbHr", ""}}, {}, {kNotANumberHr}),
        afterFilling("frmRx_DLShuangZ",
                     {{"CmbHr", "1..2"}, {"CmbD", "1..2"}},  // converted in order: Hr first
                     {}, {kNotANumberHr}),
        afterFilling("frmRx_JSShuangZ", {{"CmbYesNo", "否"}}, {},
                     {"避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！"}),
        afterFilling("frmRx_JSShuangZ", {{"CmbYesNo", "是 "}}, {}, {}),
        afterFilling("frmRx_JSShuangZ", {{"CmbYesNo", ""}}, {}, {}),
        afterFilling("frmRx_JSShuangZ", {{"CmbYesNo", "yes"}, {"CmbD", ""}}, {}, {}),
        afterFilling("frmRx_DLSanZ", {{"CmbL", ""}}, {}, {}),
        afterFilling("frmRx_DLSanZ", {{"CmbL", "57"}}, {},
                     {"避雷针之间距离太大！\n不能按等高三支避雷针方法计算！"}),
        afterFilling("frmRx_DLSiZ", {{"CmbL", "57"}}, {},
                     {"避雷针之间距离太大！\n不能按等高四支避雷针方法计算！"}),
        afterFilling("frmRx_DLSiZ", {{"CmbHx", ""}}, {}, {}),
        // The diagonal past √2·reach(H): the side and Ho2 are printed, Bx2 is not.
        afterFilling("frmRx_DLSiZ", {{"CmbL", "45"}},
                     {{"PicRx", " 11.70115"},
                      {"PicHo1", " 5.377855"},
                      {"PicBx1", " 0.5560123"},
                      {"PicHo2", "-3.35416"}},
                     {"对角线上无保护宽度！\n正方形对角线上的保护最低点 Ho2 "
                      "低于地面，对角线上没有保护宽度 Bx2 ！"})));

INSTANTIATE_TEST_SUITE_P(
    Wires, RangeFormRuns,
    ::testing::Values(
        afterFilling("frmRxBx_DanX", {{"CmbD", "130"}},
                     {{"PicHh", " 20"}, {"PicBx1", " 10.45389"}, {"PicBx2", " 11.70115"}}, {}),
        afterFilling("frmRxBx_DanX", {{"CmbD", ""}, {"CmbHr", "."}}, {}, {}),
        afterFilling("frmRxBx_DanX", {{"CmbHr", ""}}, {}, {kNotANumberHr}),
        // Supports lower than the sag: nothing printed, not even Hh.
        afterFilling("frmRxBx_DanX", {{"CmbH", "1.5"}, {"CmbHx", "0"}}, {},
                     {"输入的数据无法计算！\n计算 Bx1 时遇到负数开平方！"}),
        afterFilling("frmRxBx_DanX", {{"CmbD", "150.5"}}, {},
                     {"支柱间距过大！\n避雷线支柱间距 D 不应大于150m！"}),
        afterFilling("frmRxBx_ShuangX", {{"CmbHr", ""}}, {}, {}),  // the radius is tested for blank
        afterFilling("frmRxBx_ShuangX", {{"CmbD2", ""}}, {}, {}),
        afterFilling("frmRxBx_ShuangX", {{"CmbD1", "130"}},
                     {{"PicHo", " 15.28427"}, {"PicBx1", " 9.874389"}}, {}),
        afterFilling("frmRxBx_ShuangX", {{"CmbD1", "200"}}, {},
                     {"支柱间距过大！\n避雷线支柱间距 D1 不应大于150m！"}),
        afterFilling("frmRxBx_ShuangX", {{"CmbH", "40"}}, {}, {"避雷线高度过高，无保护范围！"})));

// The note beside the heading of Bx2: hidden at load, hidden again by every calculation
// that passes the blank tests, then shown when H is not above Hr, before any check.
struct NoteCase {
    Inputs inputs;
    bool shownBefore;  // the note's state left by the previous calculation
    bool shownAfter;
};

std::ostream& operator<<(std::ostream& o, const NoteCase& c) {
    for (const auto& [box, text] : c.inputs) o << box << "=\"" << text << "\" ";
    return o << (c.shownBefore ? "shown" : "hidden");
}

class ShuangXNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(ShuangXNote, FollowsHAgainstHr) {
    const NoteCase& c = GetParam();
    Recorded r("frmRxBx_ShuangX");
    EXPECT_FALSE(r.form.state("LabJG").visible);
    r.run(filling().at("frmRxBx_ShuangX"));
    r.run({{"CmbH", c.shownBefore ? "20" : "40"}});
    ASSERT_EQ(r.form.state("LabJG").visible, c.shownBefore);
    r.run(c.inputs);
    EXPECT_EQ(r.form.state("LabJG").visible, c.shownAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShuangXNote,
    ::testing::Values(NoteCase{{{"CmbH", "30"}}, false, true},                   // H equal to Hr
                      NoteCase{{{"CmbH", "30.01"}}, true, false},                // high wire
                      NoteCase{{{"CmbH", "20"}, {"CmbHx", "25"}}, false, true},  // refused: MB
                      NoteCase{{{"CmbH", "5"}, {"CmbD2", "40"}}, false, true},   // refused: MC
                      NoteCase{{{"CmbH", "61"}}, true, false},                   // refused: MA2
                      NoteCase{{{"CmbH", "20"}, {"CmbD1", "151"}}, false, true},
                      NoteCase{{{"CmbHx", ""}}, true, true},  // a blank stop changes nothing
                      NoteCase{{{"CmbHr", ""}}, false, false},
                      NoteCase{{{"CmbH", "1..2"}}, true, false},  // hidden, then H not a number
                      NoteCase{{{"CmbHx", "."}}, true, true}));   // H and Hr read before Hx

TEST(ShuangXNote, IsARedLabelAtTheRightOfItsHeadingThatChangesVisibility) {
    const Control& note = Recorded("frmRxBx_ShuangX").form.control("LabJG");
    EXPECT_EQ(note.text, "该项无计算结果");
    EXPECT_TRUE(note.red);
    EXPECT_TRUE(note.right);
    EXPECT_FALSE(note.visible);
    EXPECT_EQ(note.dynamic, unsigned{kVisible});
}

TEST(RangeForms, ListedInMenuOrderWithTheirCaptionsAndEnterRunsEachOfThem) {
    const std::vector<std::pair<std::string, std::string>> expected{
        {"frmRx_DLDanZ", "独立单针保护范围计算"},
        {"frmRx_JSDanZ", "架设于建筑物上的单针保护范围计算"},
        {"frmRx_DLShuangZ", "独立等高双针保护范围计算"},
        {"frmRx_JSShuangZ", "架设于建筑物上的等高双针保护范围计算"},
        {"frmRx_DLSanZ", "独立等高等边三角形布置三针保护范围计算"},
        {"frmRx_DLSiZ", "独立等高正方形布置四针保护范围计算"},
        {"frmRxBx_DanX", "架空单线保护范围计算"},
        {"frmRxBx_ShuangX", "架空双线保护范围计算"},
        {"frmRx_BDGShuangZ", "不等高双针保护范围计算"}};
    std::vector<std::pair<std::string, std::string>> listed;
    for (const FormDef* def : rangeForms()) listed.emplace_back(def->name, def->caption);
    EXPECT_EQ(listed, expected);

    for (const auto& [name, inputs] : filling()) {
        Recorded r(name.c_str());
        for (const auto& [box, text] : inputs) r.form.setText(box, text);
        r.form.typeKey("CmbHx", 13);
        EXPECT_NE(r.form.text(resultBoxes(r.form).front()), "") << name;
        r.form.typeKey("CmbHx", 27);
        EXPECT_TRUE(r.form.closeRequested()) << name;
    }
}

TEST(RangeForms, WireFormsCarryTheTwoLineSpanNote) {
    const std::string note = "支柱间距说明：D小于120m，弧垂为2m。D在120m与" + std::string(15, ' ') +
                             "150m之间，弧垂为3m。";
    for (const char* name : {"frmRxBx_DanX", "frmRxBx_ShuangX"}) {
        int found = 0;
        for (const Frame& frame : findForm(name)->frames)
            for (const Row& row : frame.rows)
                for (const Control& c : row)
                    if (c.text == note) found += c.wrap ? 1 : 100;
        EXPECT_EQ(found, 1) << name;
    }
}

}  // namespace
