// The working every calculator records: over a worked press of every form, its last
// steps are the result boxes the press filled, every substituted expression gives its
// step's value, and a press that shows no results leaves no working. A few working texts
// are pinned whole.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "expression_eval.h"
#include "forms/catalog.h"
#include "forms/form.h"
#include "worked_presses.h"

namespace tervalen::forms {
namespace {

using testing::WorkedPress;
using testing::workedPresses;

std::map<std::string, std::string> resultTexts(const Form& f) {
    std::map<std::string, std::string> out;
    for (const Control* c : f.controls())
        if (c->kind == Kind::Result) out[c->name] = f.text(c->name);
    return out;
}

// Runs the press's actions on a fresh form; returns the result texts just before its
// last action (the press) and leaves the form after it.
std::map<std::string, std::string> runUpToThePress(Form& f, const WorkedPress& w) {
    f.setSink([](const Message&) {});
    applyAll(f, std::span(w.actions).first(w.actions.size() - 1));
    auto before = resultTexts(f);
    applyAll(f, std::span(w.actions).last(1));
    return before;
}

class WorkingOfEveryForm : public ::testing::TestWithParam<WorkedPress> {};

TEST_P(WorkingOfEveryForm, ResultBoxesAreItsStepsAndEveryExpressionGivesItsValue) {
    const WorkedPress& w = GetParam();
    Form f(*findForm(w.form));
    const auto before = runUpToThePress(f, w);
    for (const auto& [box, text] : w.results) EXPECT_EQ(f.text(box), text) << box;
    ASSERT_TRUE(f.lastPress());
    const Working& working = f.lastPress()->working();
    ASSERT_FALSE(working.empty());

    // The last step of each symbol is the value the working ends with for it.
    std::map<std::string, std::string> last;
    for (const Step& s : working) {
        if (s.symbol.empty()) {
            EXPECT_FALSE(s.note.empty()) << "a step without a symbol states a check or a search";
            EXPECT_TRUE(s.formula.empty() && s.substituted.empty() && s.value.empty());
            continue;
        }
        EXPECT_FALSE(s.value.empty()) << s.symbol;
        EXPECT_NE(s.value.front(), ' ') << s.symbol;
        EXPECT_EQ(s.formula.empty(), s.substituted.empty()) << s.symbol;
        last[s.symbol] = s.value;
        if (s.substituted.empty()) continue;
        EXPECT_NO_THROW({
            EXPECT_TRUE(tervalen::testing::evaluatesTo(s.substituted, s.value))
                << s.symbol << " = " << s.substituted << " shown as " << s.value;
        }) << s.substituted;
    }
    // Every box the press filled is a step named after it, with the box's value.
    int filled = 0;
    for (const auto& [box, text] : resultTexts(f)) {
        if (text.empty() || !before.at(box).empty()) continue;
        ++filled;
        const std::string symbol = box.substr(3);  // "PicRx" → "Rx"
        ASSERT_TRUE(last.count(symbol)) << box << " has no step";
        EXPECT_EQ(last[symbol], text.front() == ' ' ? text.substr(1) : text) << box;
    }
    EXPECT_GT(filled, 0);
}

// Blanking the input set last before the press stops it silently: the working goes with
// the results.
TEST_P(WorkingOfEveryForm, ABlankStopLeavesNoWorking) {
    const WorkedPress& w = GetParam();
    Form f(*findForm(w.form));
    runUpToThePress(f, w);
    ASSERT_TRUE(f.lastPress());
    const auto lastSet = std::find_if(w.actions.rbegin(), w.actions.rend(),
                                      [](const Action& a) { return a.verb == Action::Verb::Set; });
    ASSERT_NE(lastSet, w.actions.rend());
    f.setText(lastSet->control, "");
    f.press(w.actions.back().control);
    EXPECT_FALSE(f.lastPress());
}

INSTANTIATE_TEST_SUITE_P(Catalog, WorkingOfEveryForm, ::testing::ValuesIn(workedPresses()),
                         [](const auto& info) { return info.param.name; });

// The worked presses through the shared press check: the results they list and every
// message they show.
class WorkedPresses : public ::testing::TestWithParam<WorkedPress> {};

TEST_P(WorkedPresses, ShowTheirResultsAndMessages) {
    testing::expectPress(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Catalog, WorkedPresses, ::testing::ValuesIn(workedPresses()),
                         [](const auto& info) { return info.param.name; });

TEST(WorkingOfEveryForm, EveryCalculateButtonOfTheCatalogHasAWorkedPress) {
    std::set<std::pair<std::string, std::string>> pressed;
    for (const WorkedPress& w : workedPresses())
        for (const Action& a : w.actions)
            if (a.verb == Action::Verb::Press) pressed.insert({w.form, a.control});
    for (const FormDef* def : allForms()) {
        Form f(*def);
        for (const Control* c : f.controls())
            if (c->kind == Kind::Button && c->name.starts_with("CmdRun")) {
                EXPECT_TRUE(pressed.count({def->name, c->name})) << def->name << ' ' << c->name;
            }
    }
}

}  // namespace
}  // namespace tervalen::forms
