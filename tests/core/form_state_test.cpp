// What a form keeps and gives back: the snapshot and its restore (every form of the
// catalog), the record of the last press, the workspace's window rule, and programming
// errors inside handlers, which stop the handler without ending the program.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/range/rx_danz.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/display.h"
#include "forms/workspace.h"

using namespace tervalen;
using namespace tervalen::forms;

namespace {

// Everything the driver prints of a form: each control's text, visibility, enabled state
// and selection, in form order.
std::vector<std::string> shown(const Form& f) {
    std::vector<std::string> lines;
    for (const Control* c : f.controls()) {
        const ControlState& s = f.state(c->name);
        lines.push_back(c->name + '=' + s.text + (s.visible ? "" : " hidden") +
                        (s.enabled ? "" : " disabled") + (s.selected ? " selected" : ""));
    }
    return lines;
}

// Actions after which a form shows something other than its defaults: every input
// changed, the list picks and option selections its handlers react to, then a press.
std::vector<Action> busyActions(const Form& f) {
    std::vector<Action> actions;
    for (const Control* c : f.controls()) {
        if (c->kind == Kind::Input && !c->list.empty())
            actions.push_back(Action::pick(c->name, c->list.back()));
        else if (c->kind == Kind::Input)
            actions.push_back(Action::set(c->name, "7"));
    }
    for (const Control* c : f.controls())
        if (c->kind == Kind::Option) actions.push_back(Action::select(c->name));
    if (const std::string b = f.firstCalculateButton(); !b.empty())
        actions.push_back(Action::press(b));
    return actions;
}

class EveryForm : public ::testing::TestWithParam<const FormDef*> {};

TEST_P(EveryForm, SnapshotRestoresOnAFreshFormToTheSameState) {
    Form used(*GetParam());
    applyAll(used, busyActions(used));
    const FormSnapshot snap = used.snapshot();
    Form fresh(*GetParam());
    EXPECT_TRUE(fresh.restore(snap).empty());
    EXPECT_EQ(shown(fresh), shown(used));
    EXPECT_EQ(fresh.snapshot(), snap);
    EXPECT_FALSE(fresh.lastPress()) << "restoring is no press";
}

TEST_P(EveryForm, NoPressEscapesWithDefaultsOrWithInputs) {
    Form f(*GetParam());
    f.setSink([](const Message&) {});
    // No internal-error sink: a fault inside a handler would be thrown here.
    for (const Control* b : f.controls())
        if (b->kind == Kind::Button) {
            EXPECT_NO_THROW(f.press(b->name)) << b->name;
        }
    EXPECT_NO_THROW(applyAll(f, busyActions(f)));
    for (const Control* b : f.controls())
        if (b->kind == Kind::Button) {
            EXPECT_NO_THROW(f.press(b->name)) << b->name;
        }
}

INSTANTIATE_TEST_SUITE_P(Catalog, EveryForm, ::testing::ValuesIn(allForms()),
                         [](const auto& info) { return info.param->name; });

struct ChangedState {
    const char* form;
    std::vector<Action> actions;
    const char* control;
    std::string text;
    bool enabled;
};

class RunTimeState : public ::testing::TestWithParam<ChangedState> {};

TEST_P(RunTimeState, SurvivesTheRoundTrip) {
    const ChangedState& c = GetParam();
    Form used(*findForm(c.form));
    applyAll(used, c.actions);
    ASSERT_EQ(used.text(c.control), c.text);
    ASSERT_EQ(used.state(c.control).enabled, c.enabled);
    Form fresh(*findForm(c.form));
    ASSERT_TRUE(fresh.restore(used.snapshot()).empty());
    EXPECT_EQ(fresh.text(c.control), c.text);
    EXPECT_EQ(fresh.state(c.control).enabled, c.enabled);
    EXPECT_EQ(shown(fresh), shown(used));
}

INSTANTIATE_TEST_SUITE_P(
    Picks, RunTimeState,
    ::testing::Values(
        ChangedState{
            "frmDZ_ShuiPing", {Action::pick("CmbGx", "扁钢")}, "LabGg", "扁钢的边长（b）:", true},
        ChangedState{"frmDZ_XT", {Action::pick("CmbYesNo", "否")}, "CmbRM", "", false},
        ChangedState{"frmDZ_XT",
                     {Action::pick("CmbYesNo", "否")},
                     "LabN",
                     "接地系统中接地模块块数（N）：",
                     false}));

TEST(Snapshot, KeptValuesTravelAndUnknownNamesAreReportedNotFatal) {
    Form chuizhi(*findForm("frmDZ_ChuiZhi"));
    applyAll(chuizhi, std::vector{Action::set("CmbGg", "0.05"), Action::set("Cmbρ", "300"),
                                  Action::set("CmbL1", "2.5"), Action::set("CmbN", "4"),
                                  Action::press("CmdRun_GP")});
    FormSnapshot snap = chuizhi.snapshot();
    ASSERT_NE(snap.kept.at("R"), 0.0f);
    snap.controls["CmbNoSuchBox"].text = "1";
    snap.controls["Lab_JieGuo"].text = "a fixed caption";  // known, but nothing a snapshot holds
    snap.kept["Q"] = 1;
    Form fresh(*findForm("frmDZ_ChuiZhi"));
    const auto problems = fresh.restore(snap);
    EXPECT_EQ(problems.size(), 3u);
    EXPECT_EQ(fresh.kept("R"), snap.kept.at("R"));
    // The impulse button converts the restored resistance as it would the computed one.
    applyAll(chuizhi, std::vector{Action::set("CmbL2", "10"), Action::press("CmdRun_CJ")});
    applyAll(fresh, std::vector{Action::set("CmbL2", "10"), Action::press("CmdRun_CJ")});
    EXPECT_EQ(fresh.text("PicRi"), chuizhi.text("PicRi"));
    EXPECT_NE(fresh.text("PicRi"), "");
}

TEST(LastPress, RecordsTheUnitItsInputAndResultUntilTheNextPress) {
    Form f(*findForm("frmRx_DLDanZ"));
    f.setSink([](const Message&) {});
    applyAll(f, std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                            Action::press("CmdRun")});
    ASSERT_TRUE(f.lastPress());
    EXPECT_EQ(f.lastPress()->unit(), "calcRx_DLDanZ");
    ASSERT_TRUE(f.lastPress()->result<RxDanZ>());
    EXPECT_EQ(formatResult(f.lastPress()->result<RxDanZ>()->Rx), " 11.70115");
    ASSERT_TRUE(f.lastPress()->input<RodInput>());
    EXPECT_EQ(f.lastPress()->input<RodInput>()->H, 20.0f);
    EXPECT_EQ(f.lastPress()->result<float>(), nullptr);
    // A refusal, a text that is not a number and a blank input each leave no record.
    for (const auto& [box, text] : std::vector<std::pair<std::string, std::string>>{
             {"CmbH", "31"}, {"CmbH", "abc"}, {"CmbH", ""}}) {
        applyAll(f, std::vector{Action::set("CmbH", "20"), Action::press("CmdRun")});
        ASSERT_TRUE(f.lastPress());
        applyAll(f, std::vector{Action::set(box, text), Action::press("CmdRun")});
        EXPECT_FALSE(f.lastPress()) << box << '=' << text;
    }
    applyAll(f, std::vector{Action::set("CmbH", "20"), Action::press("CmdRun")});
    f.load();
    EXPECT_FALSE(f.lastPress());
}

// A form saved after a successful press comes back with that press run again: the same
// record (unit, working, actions) beside what it showed, texts typed after the press too.
struct SavedPress {
    const char* name;
    const char* form;
    Settings settings;
    std::vector<Action> actions;
    std::vector<Action> typedAfter;
};

class ReplayedPress : public ::testing::TestWithParam<SavedPress> {};

TEST_P(ReplayedPress, ComesBackWithItsRecordBesideWhatWasShown) {
    const SavedPress& c = GetParam();
    Form used(*findForm(c.form));
    used.setSink([](const Message&) {});
    used.setSettings(c.settings);
    applyAll(used, c.actions);
    ASSERT_TRUE(used.lastPress());
    applyAll(used, c.typedAfter);
    const FormSnapshot snap = used.snapshot();
    ASSERT_EQ(snap.lastPress, used.lastPress()->actions());

    Form fresh(*findForm(c.form));
    std::vector<Message> told;
    fresh.setSink([&](const Message& m) { told.push_back(m); });
    bool observed = false;
    fresh.setPressObserver([&](std::string_view, const std::vector<Message>&) { observed = true; });
    ASSERT_TRUE(fresh.restore(snap).empty());
    EXPECT_FALSE(fresh.lastPress()) << "restoring alone runs nothing";
    EXPECT_EQ(fresh.snapshot(), snap) << "and keeps the press for the next save";
    ASSERT_TRUE(fresh.replayLastPress(snap));
    ASSERT_TRUE(fresh.lastPress());
    EXPECT_EQ(fresh.lastPress()->unit(), used.lastPress()->unit());
    EXPECT_EQ(fresh.lastPress()->working(), used.lastPress()->working());
    EXPECT_EQ(fresh.lastPress()->actions(), used.lastPress()->actions());
    EXPECT_EQ(fresh.lastPress()->settings(), used.lastPress()->settings());
    EXPECT_EQ(shown(fresh), shown(used));
    EXPECT_EQ(fresh.snapshot(), snap);
    EXPECT_TRUE(told.empty()) << told.front().text;
    EXPECT_FALSE(observed) << "the views are not told of a press nobody made";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ReplayedPress,
    ::testing::Values(
        SavedPress{"rod_typed_after",
                   "frmRx_DLDanZ",
                   {},
                   {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")},
                   {Action::set("CmbHx", "7")}},
        SavedPress{
            "height_search",
            "frmH_DLDanZ",
            {},
            {Action::set("CmbRxo", "10"), Action::set("CmbHx", "5"), Action::press("CmdRun")},
            {}},
        // The impulse press reads what the power-frequency press kept: both run again.
        SavedPress{
            "earthing_chain",
            "frmDZ_ChuiZhi",
            {},
            {Action::set("CmbGg", "0.05"), Action::set("Cmbρ", "300"), Action::set("CmbL1", "2.5"),
             Action::set("CmbN", "4"), Action::set("CmbL2", "5"), Action::press("CmdRun_GP"),
             Action::press("CmdRun_CJ")},
            {}},
        SavedPress{"edition_2010",
                   "frmLJCS",
                   {{"edition", "2010"}},
                   {Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                    Action::set("CmbW", "20"), Action::set("CmbH", "15"), Action::press("CmdRun")},
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a press would show now differs from what was saved (another version computed it,
// or the file was edited): the form shows what was saved, with no record beside it, and
// keeps the saved press for the next save. A snapshot with no press runs nothing.
TEST(ReplayedPress, ResultsThatDifferOrNoPressLeaveTheFormAsRestored) {
    Form used(*findForm("frmRx_DLDanZ"));
    applyAll(used, std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                               Action::press("CmdRun")});
    FormSnapshot snap = used.snapshot();
    snap.controls.at("PicRx").text = " 11.8";
    Form fresh(*findForm("frmRx_DLDanZ"));
    ASSERT_TRUE(fresh.restore(snap).empty());
    EXPECT_FALSE(fresh.replayLastPress(snap));
    EXPECT_FALSE(fresh.lastPress());
    EXPECT_EQ(fresh.text("PicRx"), " 11.8");
    EXPECT_EQ(fresh.snapshot(), snap);

    // A saved press that is refused now (H above Hr) leaves no record either.
    snap = used.snapshot();
    snap.lastPress = {Action::set("CmbH", "40"), Action::press("CmdRun")};
    EXPECT_FALSE(fresh.replayLastPress(snap));
    EXPECT_FALSE(fresh.lastPress());
    EXPECT_EQ(fresh.text("PicRx"), " 11.70115");

    Form typedOnly(*findForm("frmRx_DLDanZ"));
    typedOnly.setText("CmbH", "12");
    const FormSnapshot noPress = typedOnly.snapshot();
    EXPECT_TRUE(noPress.lastPress.empty());
    EXPECT_FALSE(fresh.replayLastPress(noPress));
    EXPECT_EQ(fresh.text("CmbH"), "20") << "nothing ran: the form is as it was";
}

TEST(Workspace, ANewWindowLoadsItsFormUnlessTheFormWasJustRestored) {
    Workspace ws;
    EXPECT_EQ(ws.forms().size(), allForms().size());
    Form& f = ws.openWindow("frmRx_DLDanZ");
    applyAll(f, std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                            Action::press("CmdRun")});
    const auto snaps = ws.snapshot();
    // Closing the window and opening it again: Form_Load.
    EXPECT_EQ(ws.openWindow("frmRx_DLDanZ").text("PicRx"), "");
    EXPECT_TRUE(ws.restore(snaps).empty());
    EXPECT_EQ(ws.openWindow("frmRx_DLDanZ").text("PicRx"), " 11.70115");
    EXPECT_EQ(ws.openWindow("frmRx_DLDanZ").text("PicRx"), "") << "only the first window";
    FormSnapshot stranger{"frmNoSuchForm", {}, {}, {}, {}, {}};
    EXPECT_EQ(ws.restore({stranger}).size(), 1u);
}

// A definition whose handlers hold programming errors.
const FormDef& faultyForm() {
    static const FormDef def{
        .name = "frmFaulty",
        .caption = "faulty",
        .frames = {inputFrame({{input("CmbH", "1"), result("PicH")}})},
        .buttons = {button("CmdRun", "unknown control",
                           [](Form& f) {
                               f.print("PicH", 1);
                               f.print("PicNoSuchBox", 2);
                           }),
                    button("CmdRun2", "any exception", [](Form&) { throw std::bad_alloc(); })},
        .defaultButton = "",
        .cancelButton = "",
    };
    return def;
}

TEST(InternalError, StopsTheHandlerReportsOnceAndLeavesTheFormUsable) {
    Form f(faultyForm());
    EXPECT_THROW(f.press("CmdRun"), InternalError) << "no sink: the caller learns of it";
    std::vector<std::string> reported;
    f.setInternalErrorSink([&](const std::string& detail) { reported.push_back(detail); });
    f.press("CmdRun");
    f.press("CmdRun2");
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_NE(reported[0].find("PicNoSuchBox"), std::string::npos);
    EXPECT_FALSE(f.lastPress());
    EXPECT_EQ(f.text("PicH"), " 1");
    f.setText("CmbH", "2");
    EXPECT_EQ(f.text("CmbH"), "2");
}

}  // namespace
