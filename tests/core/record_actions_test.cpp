// The actions a record carries reproduce its press on a freshly opened form: the same
// unit, the same result texts, the same working.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"
#include "worked_presses.h"

namespace tervalen::forms {
namespace {

struct Replay {
    std::string form;
    std::vector<Action> actions;  // ends with the press whose record is replayed
};

std::vector<std::string> resultTexts(const Form& f) {
    std::vector<std::string> out;
    for (const Control* c : f.controls())
        if (c->kind == Kind::Result) out.push_back(f.text(c->name));
    return out;
}

class RecordActions : public ::testing::TestWithParam<Replay> {};

TEST_P(RecordActions, ReproduceThePressOnAFreshForm) {
    const Replay& r = GetParam();
    Form original(*findForm(r.form));
    original.setSink([](const Message&) {});
    applyAll(original, r.actions);
    ASSERT_TRUE(original.lastPress()) << "the press leaves a record";
    const Record& record = *original.lastPress();
    EXPECT_EQ(record.actions().back(), r.actions.back());

    Form fresh(*findForm(r.form));
    fresh.setSink([](const Message&) {});
    applyAll(fresh, record.actions());
    ASSERT_TRUE(fresh.lastPress());
    EXPECT_EQ(fresh.lastPress()->unit(), record.unit());
    EXPECT_EQ(fresh.lastPress()->working(), record.working());
    EXPECT_EQ(resultTexts(fresh), resultTexts(original));
}

INSTANTIATE_TEST_SUITE_P(
    Worked, RecordActions,
    ::testing::Values(
        Replay{"frmRx_DLDanZ",
               {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")}},
        // A list choice whose handler changed nothing the unit reads, then typed inputs.
        Replay{"frmRx_JSDanZ",
               {Action::pick("CmbYesNo", "是"), Action::set("CmbH", "40"),
                Action::set("CmbHx", "15"), Action::press("CmdRun")}}));

// A worked press of every calculate button, an impulse press after the power-frequency
// press whose resistance it converts among them.
std::vector<Replay> everyWorkedPress() {
    std::vector<Replay> out;
    for (const auto& w : testing::workedPresses()) out.push_back({w.form, w.actions});
    return out;
}

INSTANTIATE_TEST_SUITE_P(Catalog, RecordActions, ::testing::ValuesIn(everyWorkedPress()));

// A press that reads what an earlier press stored is reproduced with that press first,
// on the inputs that press had, not on the inputs of the moment.
TEST(RecordActions, StoredValuesAreReproducedByThePressThatStoredThem) {
    Form f(*findForm("frmRx_DLDanZ"));
    f.setSink([](const Message&) {});
    applyAll(f, std::vector{Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                            Action::press("CmdRun")});
    ASSERT_TRUE(f.lastPress());
    // This form stores nothing: its record starts with its own inputs.
    EXPECT_EQ(f.lastPress()->actions().front(), Action::set("CmbHr", "30"));
}

}  // namespace
}  // namespace tervalen::forms
