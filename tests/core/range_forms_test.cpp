// The protection range forms of two, three and four rods and of one and two wires: what
// each form adds to the shared calculate sequence (which boxes it tests for blank, its key
// filters, the boxes it clears and fills, the yes/no answer, the note beside Bx2).

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "forms/range/forms.h"

using namespace tervalen::forms;
using tervalen::forms::testing::Recorded;

namespace {

using Inputs = std::vector<std::pair<std::string, std::string>>;

// Inputs with which each form fills every result box it has.
const std::map<std::string, Inputs>& filling() {
    static const std::map<std::string, Inputs> m{
        {"frmRx_DLShuangZ", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD", "30"}}},
        {"frmRx_JSShuangZ", {{"CmbH", "40"}, {"CmbHx", "15"}, {"CmbD", "30"}}},
        {"frmRx_DLSanZ", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "30"}}},
        {"frmRx_DLSiZ", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbL", "30"}}},
        {"frmRxBx_DanX", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD", "100"}}},
        {"frmRxBx_ShuangX", {{"CmbH", "20"}, {"CmbHx", "5"}, {"CmbD1", "100"}, {"CmbD2", "20"}}},
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
struct RunCase {
    const char* form;
    Inputs changed;
    std::map<std::string, std::string> printed;
    std::vector<std::string> messages;
};

std::ostream& operator<<(std::ostream& o, const RunCase& c) {
    o << c.form;
    for (const auto& [box, text] : c.changed) o << ' ' << box << "=\"" << text << '"';
    return o;
}

class RangeFormRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(RangeFormRuns, ClearPrintAndTell) {
    const RunCase& c = GetParam();
    Recorded r(c.form);
    ASSERT_TRUE(r.run(filling().at(c.form)).empty());
    const auto shown = r.run(c.changed);
    for (const std::string& box : resultBoxes(r.form)) {
        const auto it = c.printed.find(box);
        EXPECT_EQ(r.form.text(box), it == c.printed.end() ? "" : it->second) << box;
    }
    std::vector<std::string> texts;
    for (const Message& m : shown) {
        texts.push_back(m.text);
        EXPECT_EQ(m.icon, Icon::None);
    }
    EXPECT_EQ(texts, c.messages);
}

const char* const kNotANumberHr = "输入的 Hr 数值错误！\nHr 的数值不是一个有效的数字！";

INSTANTIATE_TEST_SUITE_P(
    Rods, RangeFormRuns,
    ::testing::Values(
        RunCase{"frmRx_DLShuangZ",
                {{"CmbD", "50"}, {"CmbHx", "10"}},
                {{"PicRx", " 5.923592"}, {"PicHo", " 3.074176"}, {"PicBx", "-9.131923"}},
                {}},
        // Blank tests on H, Hx and D only, and before any conversion.
        RunCase{"frmRx_DLShuangZ", {{"CmbD", ""}, {"CmbHr", "."}}, {}, {}},
        RunCase{"frmRx_DLShuangZ", {{"CmbHx", ""}}, {}, {}},
        RunCase{"frmRx_DLShuangZ", {{"CmbH", ""}}, {}, {}},
        RunCase{"frmRx_DLShuangZ", {{"CmbHr", ""}}, {}, {kNotANumberHr}},
        RunCase{"frmRx_DLShuangZ",
                {{"CmbHr", "1..2"}, {"CmbD", "1..2"}},  // converted in order: Hr first
                {},
                {kNotANumberHr}},
        RunCase{"frmRx_JSShuangZ",
                {{"CmbYesNo", "否"}},
                {},
                {"避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！"}},
        RunCase{"frmRx_JSShuangZ", {{"CmbYesNo", "是 "}}, {}, {}},
        RunCase{"frmRx_JSShuangZ", {{"CmbYesNo", ""}}, {}, {}},
        RunCase{"frmRx_JSShuangZ", {{"CmbYesNo", "yes"}, {"CmbD", ""}}, {}, {}},
        RunCase{"frmRx_DLSanZ", {{"CmbL", ""}}, {}, {}},
        RunCase{"frmRx_DLSanZ",
                {{"CmbL", "57"}},
                {},
                {"避雷针之间距离太大！\n不能按等高三支避雷针方法计算！"}},
        RunCase{"frmRx_DLSiZ",
                {{"CmbL", "57"}},
                {},
                {"避雷针之间距离太大！\n不能按等高四支避雷针方法计算！"}},
        RunCase{"frmRx_DLSiZ", {{"CmbHx", ""}}, {}, {}},
        // The diagonal past √2·reach(H): the side and Ho2 are printed, Bx2 is not.
        RunCase{"frmRx_DLSiZ",
                {{"CmbL", "45"}},
                {{"PicRx", " 11.70115"},
                 {"PicHo1", " 5.377855"},
                 {"PicBx1", " 0.5560123"},
                 {"PicHo2", "-3.35416"}},
                {"对角线上无保护宽度！\n正方形对角线上的保护最低点 Ho2 "
                 "低于地面，对角线上没有保护宽度 Bx2 ！"}}));

INSTANTIATE_TEST_SUITE_P(
    Wires, RangeFormRuns,
    ::testing::Values(
        RunCase{"frmRxBx_DanX",
                {{"CmbD", "130"}},
                {{"PicHh", " 20"}, {"PicBx1", " 10.45389"}, {"PicBx2", " 11.70115"}},
                {}},
        RunCase{"frmRxBx_DanX", {{"CmbD", ""}, {"CmbHr", "."}}, {}, {}},
        RunCase{"frmRxBx_DanX", {{"CmbHr", ""}}, {}, {kNotANumberHr}},
        // Supports lower than the sag: nothing printed, not even Hh.
        RunCase{"frmRxBx_DanX",
                {{"CmbH", "1.5"}, {"CmbHx", "0"}},
                {},
                {"输入的数据无法计算！\n计算 Bx1 时遇到负数开平方！"}},
        RunCase{"frmRxBx_DanX",
                {{"CmbD", "150.5"}},
                {},
                {"支柱间距过大！\n避雷线支柱间距 D 不应大于150m！"}},
        RunCase{"frmRxBx_ShuangX", {{"CmbHr", ""}}, {}, {}},  // the radius is tested for blank
        RunCase{"frmRxBx_ShuangX", {{"CmbD2", ""}}, {}, {}},
        RunCase{"frmRxBx_ShuangX",
                {{"CmbD1", "130"}},
                {{"PicHo", " 15.28427"}, {"PicBx1", " 9.874389"}},
                {}},
        RunCase{"frmRxBx_ShuangX",
                {{"CmbD1", "200"}},
                {},
                {"支柱间距过大！\n避雷线支柱间距 D1 不应大于150m！"}},
        RunCase{"frmRxBx_ShuangX", {{"CmbH", "40"}}, {}, {"避雷线高度过高，无保护范围！"}}));

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

// Key filters: whether "." passes, and the refusal a "-" gets (none where the box has no filter).
struct KeyCase {
    const char* form;
    const char* box;
    bool pointPasses;
    const char* refusal;  // nullptr: no key filter
};

std::ostream& operator<<(std::ostream& o, const KeyCase& c) {
    return o << c.form << ' ' << c.box;
}

class RangeKeyFilters : public ::testing::TestWithParam<KeyCase> {};

TEST_P(RangeKeyFilters, PointAndMinus) {
    const KeyCase& c = GetParam();
    Recorded r(c.form);
    r.form.setText(c.box, "1");
    EXPECT_EQ(r.form.typeKey(c.box, U'.'), c.pointPasses);
    EXPECT_EQ(r.form.typeKey(c.box, U'-'), c.refusal == nullptr);
    if (c.refusal) {
        EXPECT_EQ(r.form.text(c.box), c.pointPasses ? "1." : "1");
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages.back(), (Message{c.refusal, Icon::Critical}));
    } else {
        EXPECT_EQ(r.form.text(c.box), "1.-");
        EXPECT_TRUE(r.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RangeKeyFilters,
    ::testing::Values(KeyCase{"frmRx_DLShuangZ", "CmbHr", true, nullptr},
                      KeyCase{"frmRx_DLShuangZ", "CmbH", true, "H 值输入错误，只为数字！"},
                      KeyCase{"frmRx_DLShuangZ", "CmbHx", true, "Hx 值输入错误，只为数字！"},
                      KeyCase{"frmRx_DLShuangZ", "CmbD", true, "D 值输入错误，只为数字！"},
                      KeyCase{"frmRx_JSShuangZ", "CmbHr", true, nullptr},
                      KeyCase{"frmRx_JSShuangZ", "CmbYesNo", true, nullptr},
                      KeyCase{"frmRx_JSShuangZ", "CmbD", true, "D 值输入错误，只为数字！"},
                      KeyCase{"frmRx_DLSanZ", "CmbHr", true, nullptr},
                      KeyCase{"frmRx_DLSanZ", "CmbL", true, "L 值输入错误，只为数字！"},
                      KeyCase{"frmRx_DLSiZ", "CmbHr", true, nullptr},
                      KeyCase{"frmRx_DLSiZ", "CmbH", true, "H 值输入错误，只为数字！"},
                      KeyCase{"frmRx_DLSiZ", "CmbL", true, "D 值输入错误，只为数字！"},
                      KeyCase{"frmRxBx_DanX", "CmbHr", false, "Hr 值错误，只为数字！"},
                      KeyCase{"frmRxBx_DanX", "CmbH", true, "H 值输入错误，只为数字！"},
                      KeyCase{"frmRxBx_DanX", "CmbD", true, "D 值输入错误，只为数字！"},
                      KeyCase{"frmRxBx_DanX", "CmbHx", true, "Hx 值输入错误，只为数字！"},
                      KeyCase{"frmRxBx_ShuangX", "CmbHr", true, "Hr 值错误，只为数字！"},
                      KeyCase{"frmRxBx_ShuangX", "CmbD1", true, "D1 值输入错误，只为数字！"},
                      KeyCase{"frmRxBx_ShuangX", "CmbD2", true, "D2 值输入错误，只为数字！"},
                      KeyCase{"frmRxBx_ShuangX", "CmbHx", true, "Hx 值输入错误，只为数字！"}));

TEST(RangeForms, ListedInMenuOrderWithTheirCaptionsAndEnterRunsEachOfThem) {
    const std::vector<std::pair<std::string, std::string>> expected{
        {"frmRx_DLDanZ", "独立单针保护范围计算"},
        {"frmRx_JSDanZ", "架设于建筑物上的单针保护范围计算"},
        {"frmRx_DLShuangZ", "独立等高双针保护范围计算"},
        {"frmRx_JSShuangZ", "架设于建筑物上的等高双针保护范围计算"},
        {"frmRx_DLSanZ", "独立等高等边三角形布置三针保护范围计算"},
        {"frmRx_DLSiZ", "独立等高正方形布置四针保护范围计算"},
        {"frmRxBx_DanX", "架空单线保护范围计算"},
        {"frmRxBx_ShuangX", "架空双线保护范围计算"}};
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
