// A record states what its press computed: read again from the press's actions, with the
// working of every press of a chain, whatever the window shows since.

#include <gtest/gtest.h>

#include "forms/catalog.h"
#include "sheet/document.h"
#include "sheet_test_support.h"

namespace tervalen::sheet {
namespace {

using forms::Action;
using testing_support::chainForm;

TEST(RecordOf, StatesThePressNotWhatWasTypedSince) {
    forms::Form f(*forms::findForm("frmRx_DLDanZ"));
    forms::applyAll(f, std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                                   Action::press("CmdRun")});
    f.setText("CmbH", "25");  // typed after the press, not pressed
    const auto r = recordOf(f);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->form, "frmRx_DLDanZ");
    EXPECT_EQ(r->caption, "独立单针保护范围计算");
    EXPECT_EQ(r->button, "CmdRun");
    EXPECT_EQ(r->actions, f.lastPress()->actions());
    EXPECT_EQ(r->known[1], (Quantity{"H", "避雷针高度", "20", "m"}));
    EXPECT_EQ(r->results,
              (std::vector<Quantity>{{"Rx", "避雷针在Hx高度的平面上的保护半径", "11.70115", "m"}}));
    EXPECT_TRUE(r->messages.empty());
}

TEST(RecordOf, AChainCarriesTheWorkingOfEveryPress) {
    forms::Form f(chainForm());
    forms::applyAll(f, std::vector{Action::set("Cmbρ", "100"), Action::set("CmbL", "5"),
                                   Action::press("CmdRun_GP"), Action::press("CmdRun_CJ")});
    const auto r = recordOf(f, "我的标签");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->label, "我的标签");
    EXPECT_EQ(r->button, "CmdRun_CJ");
    ASSERT_EQ(r->working.size(), 3u);
    EXPECT_EQ(r->working[0].substituted, "100/10");
    EXPECT_EQ(r->working[1].note, "L > 0");
    EXPECT_EQ(r->working[2].value, "5");
    EXPECT_EQ(r->results, (std::vector<Quantity>{{"R", "", "10", "Ω"}, {"Ri", "", "5", "Ω"}}));
    EXPECT_TRUE(r->earlierInputs.empty());
}

TEST(RecordOf, AnEarlierPressWithOtherInputsIsStated) {
    forms::Form f(chainForm());
    forms::applyAll(f, std::vector{Action::set("Cmbρ", "100"), Action::press("CmdRun_GP"),
                                   Action::set("Cmbρ", "200"), Action::set("CmbL", "5"),
                                   Action::press("CmdRun_CJ")});
    const auto r = recordOf(f);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->known.front(), (Quantity{"ρ", "土壤电阻率", "200", "Ω·m"}));
    EXPECT_EQ(r->earlierInputs, std::vector<std::string>{
                                    "“求工频电阻”按以下不同的输入计算：土壤电阻率（ρ） 100 Ω·m。"});
    EXPECT_EQ(r->results.front().value, "10");  // R as that press computed it
}

TEST(Replay, NoRecordWithoutASuccessfulLastPress) {
    const auto& def = chainForm();
    const std::vector<std::vector<Action>> cases = {
        {},
        {Action::set("Cmbρ", "100")},
        {Action::set("Cmbρ", "100"), Action::press("CmdRun_GP"), Action::set("Cmbρ", "7")},
        {Action::set("Cmbρ", "100"), Action::press("CmdRun_GP"), Action::set("CmbL", "0"),
         Action::press("CmdRun_CJ")},                              // refused
        {Action::set("Cmbρ", "abc"), Action::press("CmdRun_GP")},  // not a number
        {Action::press("CmdRun_GP")},                              // blank
    };
    for (const auto& actions : cases) EXPECT_FALSE(replay(def, actions)) << actions.size();
    forms::Form f(def);
    forms::applyAll(f, std::vector{Action::set("Cmbρ", "100"), Action::press("CmdRun_GP"),
                                   Action::set("Cmbρ", "x"), Action::press("CmdRun_GP")});
    EXPECT_FALSE(recordOf(f));
}

TEST(Replay, WhatASuccessfulPressSaysIsKept) {
    const auto r =
        replay(chainForm(), std::vector{Action::set("Cmbρ", "100"), Action::set("CmbL", "150"),
                                        Action::press("CmdRun_GP"), Action::press("CmdRun_CJ")});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->messages, std::vector<std::string>{"长度大于有效长度\n按有效长度计算"});
}

SheetRecord labelled(std::string label) {
    SheetRecord r;
    r.label = std::move(label);
    return r;
}

TEST(SheetAdd, AnEmptyLabelIsTheCaptionWithoutANumber) {
    Sheet sheet;
    sheet.add(labelled("1# a"));
    SheetRecord r;
    r.caption = "独立单针保护范围计算";
    sheet.add(r);
    EXPECT_EQ(sheet.records.back().label, "独立单针保护范围计算");
}

struct ShownCase {
    std::string label;
    std::string shown;
};

class ShownLabels : public ::testing::TestWithParam<ShownCase> {};

// Only the exact "n# caption" the program once wrote loses its number.
TEST_P(ShownLabels, OnlyTheProgramsOwnNumberGoes) {
    SheetRecord r = labelled(GetParam().label);
    r.caption = "独立单针保护范围计算";
    EXPECT_EQ(shownLabel(r), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, ShownLabels,
    ::testing::Values(ShownCase{"3# 独立单针保护范围计算", "独立单针保护范围计算"},
                      ShownCase{"12# 独立单针保护范围计算", "独立单针保护范围计算"},
                      ShownCase{"3# 屋面避雷针", "3# 屋面避雷针"},
                      ShownCase{"3#独立单针保护范围计算", "3#独立单针保护范围计算"},
                      ShownCase{"03# 独立单针保护范围计算", "03# 独立单针保护范围计算"},
                      ShownCase{"3# 独立单针保护范围计算 东", "3# 独立单针保护范围计算 东"},
                      ShownCase{"# 独立单针保护范围计算", "# 独立单针保护范围计算"},
                      ShownCase{"独立单针保护范围计算", "独立单针保护范围计算"}));

SheetRecord rod(const char* H) {
    return *replay(
        *forms::findForm("frmRx_DLDanZ"),
        std::vector{Action::set("CmbH", H), Action::set("CmbHx", "5"), Action::press("CmdRun")});
}

// 更新此记录: the record found where it was, or where it moved, takes the new calculation
// with its own label and requirement; gone, nothing changes.
TEST(SheetUpdate, TheRecordTakesTheNewCalculationInItsPlace) {
    Sheet sheet;
    sheet.add(rod("15"));
    SheetRecord was = rod("20");
    was.label = "屋面避雷针";
    was.requirement = Requirement{"10", 10, "Rx"};
    sheet.add(was);
    sheet.add(rod("25"));

    Sheet::Updated u = sheet.update(was, 1, rod("22"));
    EXPECT_EQ(u.index, 1);
    EXPECT_FALSE(u.requirementDropped);
    ASSERT_EQ(sheet.records.size(), 3u);
    EXPECT_EQ(sheet.records[1].label, "屋面避雷针");
    ASSERT_TRUE(sheet.records[1].requirement);
    EXPECT_EQ(sheet.records[1].requirement->text, "10");
    EXPECT_EQ(sheet.records[1].known, rod("22").known);
    EXPECT_EQ(sheet.records[1].results, rod("22").results);

    // Moved to the end since it was opened (the place remembered is stale).
    const SheetRecord opened = sheet.records[1];
    std::swap(sheet.records[1], sheet.records[2]);
    u = sheet.update(opened, 1, rod("18"));
    EXPECT_EQ(u.index, 2);
    EXPECT_EQ(sheet.records[2].label, "屋面避雷针");
    EXPECT_EQ(sheet.records[2].results, rod("18").results);
    EXPECT_EQ(sheet.records[1].results, rod("25").results);

    // Removed: nothing is updated.
    const SheetRecord last = sheet.records[2];
    sheet.records.pop_back();
    const Sheet before = sheet;
    EXPECT_EQ(sheet.update(last, 2, rod("30")).index, -1);
    EXPECT_EQ(sheet, before);
}

TEST(SheetUpdate, ARequirementTheNewResultsCannotTakeIsDroppedAndSaid) {
    Sheet sheet;
    SheetRecord was = rod("20");
    was.requirement = Requirement{"10", 10, "Bx"};  // a result the rod form has not
    sheet.add(was);
    const Sheet::Updated u = sheet.update(was, 0, rod("22"));
    EXPECT_EQ(u.index, 0);
    EXPECT_TRUE(u.requirementDropped);
    EXPECT_FALSE(sheet.records[0].requirement);
}

// 采用重新计算结果: the mark goes and the values computed now stay; a record whose press
// gave no result has nothing to take.
TEST(SheetAdopt, TheRecomputedValuesStayAndTheMarkGoes) {
    Sheet sheet;
    SheetRecord differs = rod("20");
    differs.mismatch = Mismatch{false, {}, {{"Rx", "保护半径", "11.7", "m"}}};
    SheetRecord refused = rod("20");
    refused.mismatch = Mismatch{true, "H 不是数字", refused.results};
    sheet.add(differs);
    sheet.add(refused);
    sheet.add(rod("25"));
    EXPECT_TRUE(sheet.adoptRecomputed(0));
    EXPECT_FALSE(sheet.records[0].mismatch);
    EXPECT_EQ(sheet.records[0].results, rod("20").results);
    EXPECT_FALSE(sheet.adoptRecomputed(1));
    EXPECT_TRUE(sheet.records[1].mismatch);
    EXPECT_FALSE(sheet.adoptRecomputed(2));
    EXPECT_FALSE(sheet.adoptRecomputed(3));
}

TEST(SheetAdd, KeepsALabelGiven) {
    Sheet sheet;
    sheet.add(labelled("屋面避雷针"));
    EXPECT_EQ(sheet.records.back().label, "屋面避雷针");
    EXPECT_EQ(sheet.header.date.size(), 10u);  // today, 2024-05-17
}

}  // namespace
}  // namespace tervalen::sheet
