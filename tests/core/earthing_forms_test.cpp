// What the three forms with "求工频电阻" and "求冲击电阻" share: the stored power-frequency
// resistance and its life across presses and reopening, the focus, the boxes each button
// clears and Enter; and the subsystem's form list.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "form_test_support.h"
#include "forms/catalog.h"
#include "forms/earthing/earthing_controls.h"
#include "forms/earthing/forms.h"

using namespace tervalen::forms;
using tervalen::forms::testing::Recorded;

namespace {

struct TwoButtonForm {
    const char* form;
    std::vector<std::pair<std::string, std::string>> inputs;  // a complete power-frequency press
    const char* stored;                                       // the box showing the stored value
    const char* firstTested;                                  // first box of the blank test
    const char* lengthBox;                                    // the impulse button's length
    const char* RiWithRho300L20;                              // impulse of the stored value
    std::vector<const char*> clearedByGP;
};

std::ostream& operator<<(std::ostream& o, const TwoButtonForm& c) {
    return o << c.form;
}

class StoredResistance : public ::testing::TestWithParam<TwoButtonForm> {
protected:
    Recorded r{GetParam().form};
    void powerFrequency() { r.run(GetParam().inputs, "CmdRun_GP"); }
    std::string impulse(const char* rho = "300", const char* L = "20") {
        r.run({{"Cmbρ", rho}, {GetParam().lengthBox, L}}, "CmdRun_CJ");
        return r.form.text("PicRi");
    }
};

// Before any power-frequency result there is nothing to convert: the 0 the form starts
// with would print Ri = 0 Ω, which passes every requirement.
TEST_P(StoredResistance, ImpulseBeforeAnyPowerFrequencyResultAsksForItAndPrintsNothing) {
    const auto said = r.run({{"Cmbρ", "300"}, {GetParam().lengthBox, "20"}}, "CmdRun_CJ");
    EXPECT_EQ(said, (std::vector<Message>{{kPowerFrequencyFirst, Icon::None}}));
    EXPECT_EQ(r.form.text("PicRi"), "");
    EXPECT_FALSE(r.form.lastPress().has_value());
    // A power-frequency press that stops at a blank input stores nothing either.
    r.run({{GetParam().firstTested, ""}}, "CmdRun_GP");
    EXPECT_EQ(impulse(), "");
}

TEST_P(StoredResistance, BelongsToTheLastCompletePressNotToTheBoxes) {
    const TwoButtonForm& c = GetParam();
    powerFrequency();
    EXPECT_EQ(r.form.focusRequest(), "CmdRun_CJ");
    const std::string shown = r.form.text(c.stored);
    EXPECT_EQ(impulse(), c.RiWithRho300L20);
    // Editing the inputs changes nothing until the next power-frequency press...
    r.form.setText(c.firstTested, "7");
    EXPECT_EQ(impulse(), c.RiWithRho300L20);
    // ...and a press stopped at a blank input clears its boxes but keeps the stored value.
    EXPECT_TRUE(r.run({{c.firstTested, ""}}, "CmdRun_GP").empty());
    EXPECT_EQ(r.form.focusRequest(), "");
    for (const char* box : c.clearedByGP) EXPECT_EQ(r.form.text(box), "") << box;
    EXPECT_EQ(impulse(), c.RiWithRho300L20);
    // The impulse button converts the old value with new ρ and L.
    EXPECT_EQ(impulse("50", "1"), shown);
}

TEST_P(StoredResistance, SurvivesClosingAndReopeningTheForm) {
    const TwoButtonForm& c = GetParam();
    powerFrequency();
    r.form.typeKey(c.firstTested, 27);
    EXPECT_TRUE(r.form.closeRequested());
    r.form.load();
    EXPECT_EQ(r.form.text(c.stored), "");
    EXPECT_EQ(r.form.text(c.firstTested), "");
    EXPECT_EQ(impulse(), c.RiWithRho300L20);
}

// The impulse result converts the power-frequency resistance a new press replaces: Enter
// (the power-frequency button) empties it with the other results, so no stale Ri stands
// beside new ones.
TEST_P(StoredResistance, EnterRunsThePowerFrequencyButtonAndClearsTheImpulseResultItMakesStale) {
    const TwoButtonForm& c = GetParam();
    powerFrequency();
    EXPECT_EQ(impulse(), c.RiWithRho300L20);
    for (auto& [box, text] : c.inputs) r.form.setText(box, text);
    r.form.setText("Cmbρ", "250");
    EXPECT_FALSE(r.form.typeKey(c.firstTested, 13));
    EXPECT_NE(r.form.text(c.stored), "");
    EXPECT_EQ(r.form.text("PicRi"), "");
    // The impulse button clears only its own box.
    const std::string stored = r.form.text(c.stored);
    r.run({{c.lengthBox, ""}}, "CmdRun_CJ");
    EXPECT_EQ(r.form.text("PicRi"), "");
    EXPECT_EQ(r.form.text(c.stored), stored);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StoredResistance,
    ::testing::Values(
        TwoButtonForm{"frmDZ_ChuiZhi",
                      {{"CmbGg", "0.05"}, {"Cmbρ", "300"}, {"CmbL1", "2.5"}, {"CmbN", "4"}},
                      "PicRn",
                      "CmbGg",
                      "CmbL2",
                      " 30.68411",
                      {"PicD", "PicR", "PicRn", "PicRi"}},
        TwoButtonForm{"frmDZ_ShuiPing",
                      {{"CmbGg", "0.04"}, {"Cmbρ", "300"}, {"CmbL1", "20"}, {"CmbH", "0.8"}},
                      "PicR",
                      "CmbGg",
                      "CmbL2",
                      " 21.29171",
                      {"PicA", "PicD", "PicR", "PicRi"}},
        TwoButtonForm{"frmDZ_XT",
                      {{"CmbRB", "10"}, {"CmbRP", "20"}, {"CmbRM", "5"}, {"CmbN", "4"}},
                      "PicR",
                      "CmbRB",
                      "CmbL",
                      " 1.236088",
                      {"PicR", "PicRi"}}));

TEST(EarthingForms, ListedInMenuOrderWithTheirCaptions) {
    std::vector<std::pair<std::string, std::string>> listed;
    for (const FormDef* def : earthingForms()) listed.emplace_back(def->name, def->caption);
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::string>>{
                          {"frmDZ_ChuiZhi", "人工垂直接地体工频接地电阻计算"},
                          {"frmDZ_ShuiPing", "人工水平接地体工频接地电阻计算"},
                          {"frmDZ_XT", "接地系统工频冲击接地电阻计算"},
                          {"frmDZ_GC", "人工接地系统工频冲击接地电阻值互算"},
                          {"frmDZ_TuRang", "土壤电阻率参考值"}}));
    for (const FormDef* def : earthingForms()) EXPECT_EQ(findForm(def->name), def);
}

TEST(EarthingForms, TheSoilTableIsOnePictureWithoutButtons) {
    const FormDef& def = frmDZ_TuRang();
    EXPECT_TRUE(def.buttons.empty());
    EXPECT_EQ(def.defaultButton, "");
    EXPECT_EQ(def.cancelButton, "");
    ASSERT_EQ(def.frames.size(), 1u);
    ASSERT_EQ(def.frames[0].rows.size(), 1u);
    ASSERT_EQ(def.frames[0].rows[0].size(), 1u);
    EXPECT_EQ(def.frames[0].rows[0][0].kind, Kind::Picture);
    EXPECT_EQ(def.frames[0].rows[0][0].name, "soil-table");
    Form f(def);
    EXPECT_TRUE(f.controls().empty());
    EXPECT_EQ(f.firstCalculateButton(), "");
}

TEST(EarthingForms, ShapeOptionsStartUnselectedAndSelectingOneDeselectsTheOthers) {
    Recorded r("frmDZ_ShuiPing");
    for (int i = 1; i <= 7; ++i) EXPECT_FALSE(r.form.selected("OptA" + std::to_string(i)));
    r.form.select("OptA5");
    r.form.select("OptA3");
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(r.form.selected("OptA" + std::to_string(i)), i == 3);
}

}  // namespace

namespace {

// Each layout drawing fills the 16-pixel cell above its own option marker: the number of
// strokes per cell tells the layouts apart (line, L, three-armed star, cross, six- and
// eight-armed stars, square).
TEST(EarthingForms, EachShapeDrawingStandsInTheCellAboveItsOption) {
    const Frame& frame = frmDZ_ShuiPing().frames[2];
    ASSERT_EQ(frame.caption, "选择水平接地体形状：");
    std::vector<const Control*> options, lines;
    for (const Control& c : frame.rows.at(0))
        (c.kind == Kind::Option ? options : lines).push_back(&c);
    ASSERT_EQ(options.size(), 7u);
    ASSERT_EQ(lines.size(), 19u);
    std::vector<int> strokes(7, 0);
    for (const Control* l : lines) {
        int cell = -1;
        for (int i = 0; i < 7; ++i) {
            const int left = options[i]->x;
            if (std::min(l->x, l->x2) >= left && std::max(l->x, l->x2) <= left + 16) cell = i;
        }
        ASSERT_NE(cell, -1) << l->name;
        ++strokes[cell];
        EXPECT_GE(std::min(l->y, l->y2), 24) << l->name;
        EXPECT_LE(std::max(l->y, l->y2), 40) << l->name;
        EXPECT_LT(std::max(l->y, l->y2), options[cell]->y) << l->name;
    }
    EXPECT_EQ(strokes, (std::vector<int>{1, 2, 3, 2, 3, 4, 4}));
    EXPECT_GE(frame.height, options[0]->y + options[0]->height);
}

}  // namespace
