#include "sheet/sheet_record.h"

#include "forms/catalog.h"

#include "drawing/from_record.h"
#include "forms/form.h"
#include "sheet/form_reading.h"

namespace tervalen::sheet {
namespace {

std::string stated(const Quantity& q) {
    std::string s = q.name;
    if (!q.symbol.empty()) s += s.empty() ? q.symbol : "（" + q.symbol + "）";
    s += " " + q.value;
    if (!q.unit.empty()) s += " " + q.unit;
    return s;
}

// The inputs an earlier press ran with that differ from the final press's, as one sentence.
std::string differences(const forms::Form& form, const std::string& button,
                        const std::vector<Quantity>& earlier, const std::vector<Quantity>& final) {
    std::string list;
    for (const Quantity& q : earlier) {
        bool same = false;
        for (const Quantity& f : final)
            same = same || (f.symbol == q.symbol && f.name == q.name && f.value == q.value);
        if (same) continue;
        if (!list.empty()) list += "，";
        list += stated(q);
    }
    if (list.empty()) return {};
    std::string caption = form.control(button).text;
    std::erase(caption, ' ');
    return "“" + caption + "”按以下不同的输入计算：" + list + "。";
}

// The record of the last press among `actions` on `form`, its messages collected in `said`.
std::optional<SheetRecord> replayOn(forms::Form& form, std::vector<std::string>& said,
                                    std::span<const forms::Action> actions, std::string label) {
    const forms::FormDef& def = form.def();
    SheetRecord rec;
    struct Earlier {
        std::string button;
        std::vector<Quantity> known;
    };
    std::vector<Earlier> earlier;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const forms::Action& a = actions[i];
        const bool last = i + 1 == actions.size();
        if (a.verb != forms::Action::Verb::Press) {
            forms::apply(form, a);
            continue;
        }
        said.clear();
        form.press(a.control);
        const auto& press = form.lastPress();
        if (!press) {
            if (last) return std::nullopt;
            continue;
        }
        rec.working.insert(rec.working.end(), press->working().begin(), press->working().end());
        if (!last) earlier.push_back({a.control, knownConditions(form)});
    }
    if (actions.empty() || actions.back().verb != forms::Action::Verb::Press || !form.lastPress())
        return std::nullopt;
    rec.label = std::move(label);
    rec.form = def.name;
    rec.def = &def;
    rec.caption = def.caption;
    rec.button = actions.back().control;
    rec.settings = form.settings();
    rec.actions.assign(actions.begin(), actions.end());
    rec.known = knownConditions(form);
    for (const Earlier& e : earlier)
        if (std::string s = differences(form, e.button, e.known, rec.known); !s.empty())
            rec.earlierInputs.push_back(std::move(s));
    rec.results = resultsShown(form);
    rec.messages = std::move(said);
    rec.warnings = form.lastPress()->warnings();
    rec.layout = drawing::layoutOf(*form.lastPress());
    return rec;
}

}  // namespace

const forms::FormDef* definitionOf(const SheetRecord& record) {
    return record.def ? record.def : forms::findForm(record.form);
}

std::string defaultLabel(int number, std::string_view caption) {
    return std::to_string(number) + "# " + std::string(caption);
}

std::optional<SheetRecord> replay(const forms::FormDef& def, std::span<const forms::Action> actions,
                                  std::string label) {
    return replay(def, {}, actions, std::move(label));
}

std::optional<SheetRecord> replay(const forms::FormDef& def, const forms::Settings& settings,
                                  std::span<const forms::Action> actions, std::string label) {
    return replay(def, settings, actions, std::move(label), {});
}

std::optional<SheetRecord> replay(const forms::FormDef& def, const forms::Settings& settings,
                                  std::span<const forms::Action> actions, std::string label,
                                  const ReplayWatcher& watch) {
    forms::Form form(def);
    std::vector<std::string> said;
    std::vector<forms::Message> all;
    form.setSink([&](const forms::Message& m) {
        said.push_back(m.text);
        if (watch) all.push_back(m);
    });
    std::optional<SheetRecord> rec;
    try {
        for (const auto& [name, value] : settings) form.setSetting(name, value);
        rec = replayOn(form, said, actions, std::move(label));
    } catch (...) {
        if (watch) watch(form, all);
        throw;
    }
    if (watch) watch(form, all);
    return rec;
}

std::optional<SheetRecord> recordOf(const forms::Form& form, std::string label) {
    const auto& press = form.lastPress();
    if (!press) return std::nullopt;
    return replay(form.def(), press->settings(), press->actions(), std::move(label));
}

}  // namespace tervalen::sheet
