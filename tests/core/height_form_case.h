#pragma once
// A calculate press on a height form as a row of a table: the inputs, the result boxes
// it fills and the messages it shows.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "form_test_support.h"

namespace tervalen::forms::testing {

using Texts = std::vector<std::pair<std::string, std::string>>;

struct FormCase {
    const char* form;
    Texts inputs;                            // set as if pasted, over the defaults
    Texts shown = {};                        // result boxes checked; none listed: every box empty
    std::vector<std::string> messages = {};  // shown with no icon, in order
};

inline std::ostream& operator<<(std::ostream& o, const FormCase& c) {
    o << c.form;
    for (const auto& [box, text] : c.inputs) o << ' ' << box << '=' << (text.empty() ? "''" : text);
    return o;
}

inline void expectPress(const FormCase& c) {
    Recorded r(c.form);
    const auto messages = r.run(c.inputs);
    std::vector<Message> expected;
    for (const auto& m : c.messages) expected.push_back({m, Icon::None});
    EXPECT_EQ(messages, expected);
    if (c.shown.empty()) {
        for (const Control* box : r.form.controls())
            if (box->kind == Kind::Result) {
                EXPECT_EQ(r.form.text(box->name), "") << box->name;
            }
    }
    for (const auto& [box, text] : c.shown) EXPECT_EQ(r.form.text(box), text) << box;
}

class HeightForm : public ::testing::TestWithParam<FormCase> {};

}  // namespace tervalen::forms::testing
