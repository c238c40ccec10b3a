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

struct NumberCase {
    std::vector<std::string> labels;
    std::string added;
};

class SheetNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SheetNumbers, OneMoreThanTheHighestNumber) {
    Sheet sheet;
    for (const std::string& l : GetParam().labels) sheet.records.push_back(labelled(l));
    SheetRecord r;
    r.caption = "独立单针保护范围计算";
    sheet.add(r);
    EXPECT_EQ(sheet.records.back().label, GetParam().added);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, SheetNumbers,
    ::testing::Values(NumberCase{{}, "1# 独立单针保护范围计算"},
                      NumberCase{{"1# a", "2# b"}, "3# 独立单针保护范围计算"},
                      NumberCase{{"1# a", "5# b", "3# c"}, "6# 独立单针保护范围计算"},
                      NumberCase{{"屋面避雷针", "12号"}, "1# 独立单针保护范围计算"}));

TEST(SheetAdd, KeepsALabelGiven) {
    Sheet sheet;
    sheet.add(labelled("屋面避雷针"));
    EXPECT_EQ(sheet.records.back().label, "屋面避雷针");
    EXPECT_EQ(sheet.header.date.size(), 10u);  // today, 2024-05-17
}

}  // namespace
}  // namespace tervalen::sheet
