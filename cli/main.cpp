// tervalen-calc: runs any calculator form's logic without a window.
//
//   tervalen-calc [--json] [--dxf OUT.dxf] [--svg OUT.svg] FORM ACTION...
//     CONTROL=TEXT         set a box's text as if pasted (no key filter, no Click handler)
//     --type CONTROL=TEXT  type TEXT character by character through the box's key filter
//     --pick CONTROL=TEXT  choose a list entry: set the text and run the box's Click handler
//     --select OPTION      select an option button
//     --press BUTTON       press a button
//   With no --press, the form's first calculate button is pressed once at the end.
//   --dxf, --svg: write the protection-range drawing of the last successful press.
//   Exit status: 0 when the actions ran (whatever messages they showed), 2 for a
//   malformed command line, 3 when a drawing was asked for and there is none (no file is
//   written, one line says why) or it cannot be written, 70 when a handler met a fault of
//   the program itself.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

#include "cli/info_options.h"
#include "drawing/dxf.h"
#include "drawing/from_record.h"
#include "drawing/svg.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"

using namespace tervalen::forms;

namespace {

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
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
    // The steps of the last successful press of the run, in the order computed.
    out["working"] = nlohmann::ordered_json::array();
    if (const auto& record = form.lastPress())
        for (const tervalen::Step& s : record->working())
            out["working"].push_back({{"symbol", s.symbol},
                                      {"formula", s.formula},
                                      {"substituted", s.substituted},
                                      {"value", s.value},
                                      {"unit", s.unit},
                                      {"note", s.note}});
    std::cout << out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

// The files a drawing goes to.
struct DrawingFiles {
    std::string dxf, svg;
    bool wanted() const { return !dxf.empty() || !svg.empty(); }
};

// Writes the drawing of the form's last press; 0, or 3 with one line on stderr.
int writeDrawing(const Form& form, const std::vector<Message>& messages,
                 const DrawingFiles& files) {
    const auto& record = form.lastPress();
    std::optional<tervalen::drawing::Drawing> drawing;
    if (record) drawing = tervalen::drawing::drawingOf(*record, form.def().caption);
    if (!drawing) {
        std::string why;
        if (!tervalen::drawing::hasDrawing(form.name()))
            why = form.name() + " has no protection-range drawing";
        else if (!messages.empty() && !record)
            why = "the press gave no result: " + oneLine(messages.back().text);
        else if (!record)
            why = "the last press left no record to draw from";
        else
            why = "no drawing is made from " + record->unit() + " yet";
        std::cerr << "tervalen-calc: no drawing written: " << why << '\n';
        return 3;
    }
    for (const auto& [path, text] : {std::pair{files.dxf, tervalen::drawing::toDxf(*drawing)},
                                     std::pair{files.svg, tervalen::drawing::toSvg(*drawing)}}) {
        if (path.empty()) continue;
        std::ofstream out(path, std::ios::binary);
        out << text;
        out.close();
        if (!out) {
            std::cerr << "tervalen-calc: cannot write " << path << '\n';
            return 3;
        }
    }
    return 0;
}

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool json = false;
    DrawingFiles files;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if ((args[i] == "--dxf" || args[i] == "--svg") && i + 1 < args.size()) {
            (args[i] == "--dxf" ? files.dxf : files.svg) = args[i + 1];
            ++i;
        } else if (args[i] == "--dxf" || args[i] == "--svg") {
            throw ActionError(args[i] + " needs a file name");
        } else {
            break;
        }
    }
    if (i >= args.size())
        throw ActionError(
            "usage: tervalen-calc [--json] [--dxf OUT.dxf] [--svg OUT.svg] FORM [CONTROL=TEXT | "
            "--type CONTROL=TEXT | --pick CONTROL=TEXT | --select OPTION | --press BUTTON]...");
    const FormDef* def = findForm(args[i]);
    if (!def) throw ActionError("unknown form '" + args[i] + "'");
    const std::vector<Action> actions = parseActions(std::span(args).subspan(i + 1), *def);
    Form form(*def);
    std::vector<Message> messages;
    form.setSink([&](const Message& m) { messages.push_back(m); });
    applyAll(form, actions);
    const bool pressed = std::any_of(actions.begin(), actions.end(),
                                     [](const Action& a) { return a.verb == Action::Verb::Press; });
    if (!pressed) {
        const std::string first = form.firstCalculateButton();
        if (!first.empty()) form.press(first);
    }
    if (json)
        printJson(form, messages);
    else
        printText(form, messages);
    return files.wanted() ? writeDrawing(form, messages, files) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = tervalen::cli::answerInfoOption(argc, argv); status >= 0) return status;
    try {
        return run(argc, argv);
    } catch (const ActionError& e) {
        std::cerr << "tervalen-calc: " << e.what() << '\n';
        return 2;
    } catch (const InternalError& e) {
        // A fault of the program, not of the command line: exit codes 3 and 4 are the
        // export's and the project file's.
        std::cerr << "tervalen-calc: internal error: " << oneLine(e.what()) << '\n';
        return 70;
    }
}
