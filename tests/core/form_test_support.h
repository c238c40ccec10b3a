#pragma once
// A form with its messages recorded, as the headless driver and the tests use it; and the
// one table row of the tests that press a form and expect result texts and messages.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"

namespace tervalen::forms::testing {

using Texts = std::vector<std::pair<std::string, std::string>>;

struct Recorded {
    explicit Recorded(const char* formName) : form(*findForm(formName)) {
        form.setSink([this](const Message& m) { messages.push_back(m); });
    }
    // Sets the given inputs as if pasted, presses the button, and returns the messages.
    std::vector<Message> run(std::vector<std::pair<std::string, std::string>> inputs,
                             const std::string& buttonName = "CmdRun") {
        for (auto& [box, text] : inputs) form.setText(box, text);
        messages.clear();
        form.press(buttonName);
        return messages;
    }
    Form form;
    std::vector<Message> messages;
};

// Setting each box as if pasted, in order, then pressing the button.
inline std::vector<Action> pressing(const Texts& inputs, const std::string& button = "CmdRun") {
    std::vector<Action> out;
    for (const auto& [box, text] : inputs) out.push_back(Action::set(box, text));
    out.push_back(Action::press(button));
    return out;
}

inline std::vector<Action> operator+(std::vector<Action> a, const std::vector<Action>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What the result boxes a row does not list must show after its press.
enum class OtherResults { Unchecked, Empty };

// Pressing a form: the actions from a freshly opened form up to and including the press
// checked, the texts that press leaves in the result boxes, and the messages it shows.
struct PressCase {
    std::string name;  // the row's name (a test name where its table names them); may be empty
    std::string form;
    std::vector<Action> actions;             // ends with the press checked
    Texts results = {};                      // result boxes and their texts after the press
    std::vector<std::string> messages = {};  // shown by the last press with no icon, in order
    OtherResults others = OtherResults::Unchecked;
};

inline std::ostream& operator<<(std::ostream& o, const PressCase& c) {
    if (!c.name.empty()) return o << c.name;
    o << c.form;
    for (const Action& a : c.actions)
        for (const std::string& arg : toArguments(a)) o << ' ' << (arg.empty() ? "''" : arg);
    return o;
}

// The inputs set over the defaults, then 计 算 pressed. Without results listed, every
// result box must be empty; with them, only those are checked.
inline PressCase calculate(std::string form, const Texts& inputs, Texts results = {},
                           std::vector<std::string> messages = {}) {
    const OtherResults others = results.empty() ? OtherResults::Empty : OtherResults::Unchecked;
    return {"", std::move(form), pressing(inputs), std::move(results), std::move(messages), others};
}

inline void expectPress(const PressCase& c) {
    ASSERT_FALSE(c.actions.empty());
    ASSERT_EQ(c.actions.back().verb, Action::Verb::Press);
    Recorded r(c.form.c_str());
    for (const Action& a : c.actions) {
        if (a.verb == Action::Verb::Press) r.messages.clear();
        apply(r.form, a);
    }
    std::vector<Message> expected;
    for (const auto& m : c.messages) expected.push_back({m, Icon::None});
    EXPECT_EQ(r.messages, expected);
    for (const auto& [box, text] : c.results) EXPECT_EQ(r.form.text(box), text) << box;
    if (c.others == OtherResults::Unchecked) return;
    for (const Control* box : r.form.controls()) {
        if (box->kind != Kind::Result) continue;
        bool listed = false;
        for (const auto& [name, text] : c.results) listed = listed || name == box->name;
        if (!listed) {
            EXPECT_EQ(r.form.text(box->name), "") << box->name;
        }
    }
}

// The height forms' presses, in tables across two files.
class HeightForm : public ::testing::TestWithParam<PressCase> {};

}  // namespace tervalen::forms::testing
