#pragma once
// A form with its messages recorded, as the headless driver and the tests use it.

#include <string>
#include <vector>

#include "forms/catalog.h"
#include "forms/form.h"

namespace tervalen::forms::testing {

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

}  // namespace tervalen::forms::testing
