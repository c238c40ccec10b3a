// tervalen-calc: runs any calculator form's logic without a window.
//
//   tervalen-calc [--json] FORM ACTION...
//     CONTROL=TEXT         set a box's text as if pasted (no key filter, no Click handler)
//     --type CONTROL=TEXT  type TEXT character by character through the box's key filter
//     --pick CONTROL=TEXT  choose a list entry: set the text and run the box's Click handler
//     --select OPTION      select an option button
//     --press BUTTON       press a button
//   With no --press, the form's first calculate button is pressed once at the end.

#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/info_options.h"
#include "forms/catalog.h"
#include "forms/form.h"

using namespace tervalen::forms;

namespace {

struct UsageError {
    std::string what;
};

struct Action {
    enum Verb { Set, Type, Pick, Select, Press } verb;
    std::string control;
    std::string text;
};

std::pair<std::string, std::string> splitAssignment(const std::string& arg) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError{"malformed action '" + arg + "': expected CONTROL=TEXT"};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

void requireKind(const Form& form, const std::string& name, Kind kind, const char* what) {
    if (!form.has(name) || form.control(name).kind != kind)
        throw UsageError{"unknown " + std::string(what) + " '" + name + "' on " + form.name()};
}

const char* iconName(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return "critical";
        case Icon::Question:
            return "question";
        case Icon::None:
            break;
    }
    return "none";
}

void printText(const Form& form, const std::vector<Message>& messages) {
    for (const Message& m : messages) {
        // A message box as a person reads it: its icon, then its lines.
        std::cout << (m.icon == Icon::Critical ? "[错误] " : "[提示] ");
        for (char c : m.text) {
            std::cout << c;
            if (c == '\n') std::cout << "       ";
        }
        std::cout << '\n';
    }
    for (const Control* c : form.controls())
        if (c->kind == Kind::Result) std::cout << c->name << '=' << form.text(c->name) << '\n';
}

void printJson(const Form& form, const std::vector<Message>& messages) {
    nlohmann::ordered_json out;
    out["form"] = form.name();
    out["messages"] = nlohmann::ordered_json::array();
    for (const Message& m : messages)
        out["messages"].push_back({{"text", m.text}, {"icon", iconName(m.icon)}});
    out["results"] = nlohmann::ordered_json::object();
    out["labels"] = nlohmann::ordered_json::object();
    out["inputs"] = nlohmann::ordered_json::object();
    for (const Control* c : form.controls()) {
        const ControlState& s = form.state(c->name);
        if (c->kind == Kind::Result) out["results"][c->name] = s.text;
        if (c->kind == Kind::Input) out["inputs"][c->name] = s.text;
        if (c->dynamic != 0) {
            nlohmann::ordered_json props;
            if (c->dynamic & kCaption) props["caption"] = s.text;
            if (c->dynamic & kVisible) props["visible"] = s.visible;
            if (c->dynamic & kEnabled) props["enabled"] = s.enabled;
            out["labels"][c->name] = props;
        }
    }
    std::cout << out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool json = false;
    std::size_t i = 0;
    if (i < args.size() && args[i] == "--json") {
        json = true;
        ++i;
    }
    if (i >= args.size())
        throw UsageError{
            "usage: tervalen-calc [--json] FORM [CONTROL=TEXT | --type CONTROL=TEXT | "
            "--pick CONTROL=TEXT | --select OPTION | --press BUTTON]..."};
    const FormDef* def = findForm(args[i]);
    if (!def) throw UsageError{"unknown form '" + args[i] + "'"};
    Form form(*def);
    std::vector<Message> messages;
    form.setSink([&](const Message& m) { messages.push_back(m); });

    std::vector<Action> actions;
    for (++i; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto operand = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + " needs an operand"};
            return args[++i];
        };
        if (a == "--type" || a == "--pick") {
            auto [c, t] = splitAssignment(operand());
            requireKind(form, c, Kind::Input, "input box");
            actions.push_back({a == "--type" ? Action::Type : Action::Pick, c, t});
        } else if (a == "--select") {
            const std::string& o = operand();
            requireKind(form, o, Kind::Option, "option button");
            actions.push_back({Action::Select, o, {}});
        } else if (a == "--press") {
            const std::string& b = operand();
            requireKind(form, b, Kind::Button, "button");
            actions.push_back({Action::Press, b, {}});
        } else if (a.starts_with("--")) {
            throw UsageError{"unknown option '" + a + "'"};
        } else {
            auto [c, t] = splitAssignment(a);
            requireKind(form, c, Kind::Input, "input box");
            actions.push_back({Action::Set, c, t});
        }
    }
    bool pressed = false;
    for (const Action& a : actions) {
        switch (a.verb) {
            case Action::Set:
                form.setText(a.control, a.text);
                break;
            case Action::Type:
                form.typeText(a.control, a.text);
                break;
            case Action::Pick:
                form.pick(a.control, a.text);
                break;
            case Action::Select:
                form.select(a.control);
                break;
            case Action::Press:
                form.press(a.control);
                pressed = true;
                break;
        }
    }
    if (!pressed) {
        const std::string first = form.firstCalculateButton();
        if (!first.empty()) form.press(first);
    }
    if (json)
        printJson(form, messages);
    else
        printText(form, messages);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = tervalen::cli::answerInfoOption(argc, argv); status >= 0) return status;
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "tervalen-calc: " << e.what << '\n';
        return 2;
    }
}
