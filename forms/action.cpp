#include "forms/action.h"

#include "forms/form.h"

namespace tervalen::forms {
namespace {

const Control* find(const FormDef& def, const std::string& name) {
    for (const Frame& frame : def.frames)
        for (const Row& row : frame.rows)
            for (const Control& c : row)
                if (c.name == name && c.kind != Kind::Picture) return &c;
    for (const Control& c : def.buttons)
        if (c.name == name) return &c;
    return nullptr;
}

void requireKind(const FormDef& def, const std::string& name, Kind kind, const char* what) {
    const Control* c = find(def, name);
    if (!c || c->kind != kind)
        throw ActionError("unknown " + std::string(what) + " '" + name + "' on " + def.name);
}

std::pair<std::string, std::string> splitAssignment(const std::string& arg) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0)
        throw ActionError("malformed action '" + arg + "': expected CONTROL=TEXT");
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

}  // namespace

Action Action::set(std::string box, std::string text) {
    return {Verb::Set, std::move(box), std::move(text)};
}
Action Action::type(std::string box, std::string text) {
    return {Verb::Type, std::move(box), std::move(text)};
}
Action Action::pick(std::string box, std::string text) {
    return {Verb::Pick, std::move(box), std::move(text)};
}
Action Action::select(std::string option) {
    return {Verb::Select, std::move(option), {}};
}
Action Action::press(std::string button) {
    return {Verb::Press, std::move(button), {}};
}

void apply(Form& form, const Action& a) {
    switch (a.verb) {
        case Action::Verb::Set:
            form.setText(a.control, a.text);
            break;
        case Action::Verb::Type:
            form.typeText(a.control, a.text);
            break;
        case Action::Verb::Pick:
            form.pick(a.control, a.text);
            break;
        case Action::Verb::Select:
            form.select(a.control);
            break;
        case Action::Verb::Press:
            form.press(a.control);
            break;
    }
}

void applyAll(Form& form, std::span<const Action> actions) {
    for (const Action& a : actions) apply(form, a);
}

std::vector<Action> parseActions(std::span<const std::string> args, const FormDef& def) {
    std::vector<Action> actions;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto operand = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw ActionError(a + " needs an operand");
            return args[++i];
        };
        if (a == "--type" || a == "--pick") {
            auto [c, t] = splitAssignment(operand());
            requireKind(def, c, Kind::Input, "input box");
            actions.push_back(a == "--type" ? Action::type(c, t) : Action::pick(c, t));
        } else if (a == "--select") {
            const std::string& o = operand();
            requireKind(def, o, Kind::Option, "option button");
            actions.push_back(Action::select(o));
        } else if (a == "--press") {
            const std::string& b = operand();
            requireKind(def, b, Kind::Button, "button");
            actions.push_back(Action::press(b));
        } else if (a.starts_with("--")) {
            throw ActionError("unknown option '" + a + "'");
        } else {
            auto [c, t] = splitAssignment(a);
            requireKind(def, c, Kind::Input, "input box");
            actions.push_back(Action::set(c, t));
        }
    }
    return actions;
}

std::vector<std::string> toArguments(const Action& a) {
    switch (a.verb) {
        case Action::Verb::Set:
            return {a.control + '=' + a.text};
        case Action::Verb::Type:
            return {"--type", a.control + '=' + a.text};
        case Action::Verb::Pick:
            return {"--pick", a.control + '=' + a.text};
        case Action::Verb::Select:
            return {"--select", a.control};
        case Action::Verb::Press:
            break;
    }
    return {"--press", a.control};
}

}  // namespace tervalen::forms
