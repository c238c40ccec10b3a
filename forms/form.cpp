#include "forms/form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "calc/common/step_budget.h"
#include "forms/action.h"
#include "forms/display.h"
#include "forms/messages.h"
#include "forms/number.h"
#include "forms/utf8.h"

namespace tervalen::forms {
namespace {

// An input text that is not a number: stops the running handler.
struct NotANumber {
    std::string symbol;
};

}  // namespace

std::optional<bool> yesNoAnswer(std::string_view text) {
    if (text == "是") return true;
    if (text == "否") return false;
    return std::nullopt;
}

Form::Form(const FormDef& def) : m_def(def) {
    const auto add = [this](const Control& c) {
        if (c.name.empty() || c.kind == Kind::Picture) return;
        if (!m_byName.emplace(c.name, &c).second)
            throw std::logic_error(m_def.name + ": control " + c.name + " defined twice");
        m_order.push_back(&c);
    };
    for (const Frame& frame : m_def.frames)
        for (const Row& row : frame.rows)
            for (const Control& c : row) add(c);
    for (const Control& c : m_def.buttons) add(c);
    for (const Setting& s : m_def.settings) {
        if (s.choices.empty() || !m_settings.emplace(s.name, s.choices.front().value).second)
            throw std::logic_error(m_def.name + ": setting " + s.name +
                                   " defined twice or without a choice");
    }
    load();
}

void Form::load() {
    m_state.clear();
    for (const Control* c : m_order) {
        ControlState s;
        s.text = c->kind == Kind::Result ? std::string() : c->text;
        s.visible = c->visible;
        s.enabled = c->enabled;
        m_state.emplace(c->name, std::move(s));
    }
    m_record.reset();
    m_restoredPress.clear();
    clearRequests();
}

namespace {

// The properties of a control that a snapshot holds.
struct Saved {
    bool text = false, visible = false, enabled = false, selected = false;
};

Saved savedOf(const Control& c) {
    Saved s;
    s.text = c.kind == Kind::Input || c.kind == Kind::Result || (c.dynamic & kCaption);
    s.visible = c.dynamic & kVisible;
    s.enabled = c.dynamic & kEnabled;
    s.selected = c.kind == Kind::Option;
    return s;
}

}  // namespace

FormSnapshot Form::snapshot() const {
    FormSnapshot snap{m_def.name, {}, {}, {}, m_settings, {}};
    for (const Control* c : m_order) {
        const Saved saved = savedOf(*c);
        if (!saved.text && !saved.visible && !saved.enabled && !saved.selected) continue;
        snap.controls.emplace(c->name, state(c->name));
    }
    for (const std::string& key : m_def.kept) {
        const auto it = m_kept.find(key);
        snap.kept[key] = it == m_kept.end() ? 0.0f : it->second;
    }
    snap.keptFrom = m_keptFrom;
    snap.lastPress = m_record ? m_record->actions() : m_restoredPress;
    return snap;
}

std::vector<std::string> Form::restore(const FormSnapshot& snap) {
    std::vector<std::string> unknown;
    load();
    for (const auto& [name, saved] : snap.controls) {
        const auto it = m_byName.find(name);
        const Saved what = it == m_byName.end() ? Saved{} : savedOf(*it->second);
        if (!what.text && !what.visible && !what.enabled && !what.selected) {
            unknown.push_back(m_def.name + " has no control " + name + " that a snapshot holds");
            continue;
        }
        ControlState& s = mutableState(name);
        if (what.text) s.text = saved.text;
        if (what.visible) s.visible = saved.visible;
        if (what.enabled) s.enabled = saved.enabled;
        if (what.selected) s.selected = saved.selected;
    }
    for (const auto& [key, value] : snap.kept) {
        if (std::find(m_def.kept.begin(), m_def.kept.end(), key) == m_def.kept.end())
            unknown.push_back(m_def.name + " keeps no value " + key);
        else
            m_kept[key] = value;
    }
    m_keptFrom = snap.keptFrom;
    for (const Setting& s : m_def.settings) m_settings[s.name] = s.choices.front().value;
    for (std::string& problem : setSettings(snap.settings)) unknown.push_back(std::move(problem));
    m_restoredPress = snap.lastPress;
    return unknown;
}

bool Form::replayLastPress(const FormSnapshot& snap) {
    if (snap.lastPress.empty()) return false;
    std::optional<Record> record;
    {
        // Nobody is told: the press only brings back what the snapshot showed.
        const MessageSink sink = std::exchange(m_sink, {});
        const PressObserver observer = std::exchange(m_pressObserver, {});
        const InternalErrorSink faults =
            std::exchange(m_internalErrorSink, [](const std::string&) {});
        try {
            // As on a form never used: the press stores what it stores again.
            load();
            m_kept.clear();
            m_keptFrom.clear();
            applyAll(*this, snap.lastPress);
            record = std::move(m_record);
        } catch (const std::exception&) {
            record.reset();  // an action the form cannot take: shown as restored
        }
        m_sink = sink;
        m_pressObserver = observer;
        m_internalErrorSink = faults;
    }
    // The record stands beside the results only when they are the ones it computed.
    bool same = record.has_value();
    for (const Control* c : m_order) {
        if (!same) break;
        if (c->kind != Kind::Result) continue;
        const auto saved = snap.controls.find(c->name);
        same = saved != snap.controls.end() && saved->second.text == state(c->name).text;
    }
    restore(snap);
    if (same) m_record = std::move(record);
    return same;
}

const std::string& Form::setting(std::string_view name) const {
    const auto it = m_settings.find(std::string(name));
    if (it == m_settings.end())
        throw std::out_of_range(m_def.name + " has no setting " + std::string(name));
    return it->second;
}

void Form::setSetting(std::string_view name, std::string value) {
    const Setting* s = m_def.setting(name);
    if (!s) throw std::invalid_argument(m_def.name + " has no setting " + std::string(name));
    if (!s->find(value))
        throw std::invalid_argument(m_def.name + ": setting " + s->name + " has no choice " +
                                    value);
    m_settings[s->name] = std::move(value);
}

std::vector<std::string> Form::setSettings(const Settings& settings) {
    std::vector<std::string> unknown;
    for (const auto& [name, value] : settings) {
        try {
            setSetting(name, value);
        } catch (const std::invalid_argument& e) {
            unknown.push_back(e.what());
        }
    }
    return unknown;
}

void Form::choose(std::string_view setting, std::string value) {
    // Chosen again: nothing changes. (A name the form does not know is setSetting's to refuse.)
    if (const auto it = m_settings.find(std::string(setting));
        it != m_settings.end() && it->second == value)
        return;
    setSetting(setting, std::move(value));
    if (!m_record) return;
    const std::string button = m_record->button();  // press() drops the record
    press(button);
}

float& Form::kept(std::string_view key) {
    if (std::find(m_def.kept.begin(), m_def.kept.end(), key) == m_def.kept.end())
        throw std::out_of_range(m_def.name + " keeps no value " + std::string(key));
    return m_kept[std::string(key)];
}

void Form::clearRequests() {
    m_focus.clear();
    m_closeRequested = false;
}

bool Form::has(std::string_view name) const {
    return m_byName.find(name) != m_byName.end();
}

const Control& Form::control(std::string_view name) const {
    const auto it = m_byName.find(name);
    if (it == m_byName.end())
        throw std::out_of_range(m_def.name + " has no control " + std::string(name));
    return *it->second;
}

const ControlState& Form::state(std::string_view control) const {
    const auto it = m_state.find(control);
    if (it == m_state.end())
        throw std::out_of_range(m_def.name + " has no control " + std::string(control));
    return it->second;
}

ControlState& Form::mutableState(std::string_view control) {
    return const_cast<ControlState&>(state(control));
}

std::string Form::firstCalculateButton() const {
    for (const Control* c : m_order)
        if (c->kind == Kind::Button && c->name != m_def.cancelButton) return c->name;
    return {};
}

std::string Form::symbolOf(std::string_view control) const {
    const Control& c = this->control(control);
    if (!c.symbol.empty()) return c.symbol;
    for (std::string_view prefix : {"Cmb", "Pic"})
        if (c.name.starts_with(prefix)) return c.name.substr(prefix.size());
    return c.name;
}

bool Form::acceptKey(std::string_view control, char32_t code) {
    if (code == 27 && !m_def.cancelButton.empty()) {
        press(m_def.cancelButton);
        return false;
    }
    if (code == 13 && !m_def.defaultButton.empty()) {
        press(m_def.defaultButton);
        return false;
    }
    const Control& box = this->control(control);
    if (passes(box.filter, code)) return true;
    message(box.refusal, Icon::Critical);
    return false;
}

bool Form::typeKey(std::string_view control, char32_t code) {
    if (!acceptKey(control, code)) return false;
    std::string& text = mutableState(control).text;
    if (code == 8)
        popLastCodePoint(text);
    else if (code >= 32 && code != 127)
        appendCodePoint(text, code);
    return true;
}

void Form::typeText(std::string_view control, std::string_view utf8) {
    for (char32_t code : decodeUtf8(utf8)) typeKey(control, code);
}

void Form::setText(std::string_view control, std::string text) {
    if (this->control(control).kind != Kind::Input)
        throw std::invalid_argument(std::string(control) + " is not an input box");
    mutableState(control).text = std::move(text);
}

void Form::pick(std::string_view control, std::string text) {
    setText(control, std::move(text));
    if (const Handler& h = this->control(control).onClick) runHandler(h);
}

void Form::select(std::string_view option) {
    if (control(option).kind != Kind::Option)
        throw std::invalid_argument(std::string(option) + " is not an option button");
    for (const Control* c : m_order)
        if (c->kind == Kind::Option) m_state[c->name].selected = c->name == option;
}

void Form::press(std::string_view button) {
    const Control& c = control(button);
    if (c.kind != Kind::Button)
        throw std::invalid_argument(std::string(button) + " is not a button");
    if (!state(button).enabled) return;
    m_focus.clear();
    m_record.reset();
    m_restoredPress.clear();
    const auto keptBefore = m_kept;
    std::vector<Action> own = inputActions();
    own.push_back(Action::press(std::string(button)));
    m_pressMessages.emplace();
    struct EndOfPress {
        std::optional<std::vector<Message>>& messages;
        ~EndOfPress() { messages.reset(); }  // also when a fault escapes the handler
    } endOfPress{m_pressMessages};
    runHandler(c.onClick);
    const std::vector<Message> shown = std::move(*m_pressMessages);
    m_pressMessages.reset();
    // A press that stores values is reproduced by its own inputs; one that does not may
    // read what an earlier press stored, so that press comes first.
    std::vector<Action> actions;
    if (m_kept != keptBefore) {
        m_keptFrom = own;
    } else {
        actions = m_keptFrom;
    }
    actions.insert(actions.end(), own.begin(), own.end());
    if (m_record) m_record->setPress(std::string(button), std::move(actions), m_settings);
    if (m_pressObserver) m_pressObserver(button, shown);
}

std::vector<Action> Form::inputActions() const {
    std::vector<Action> out;
    for (const Control* c : m_order) {
        const ControlState& s = state(c->name);
        if (c->kind == Kind::Option && s.selected) out.push_back(Action::select(c->name));
        if (c->kind != Kind::Input) continue;
        // A list choice is picked again, so that what its handler changed follows.
        const bool listed = std::find(c->list.begin(), c->list.end(), s.text) != c->list.end();
        out.push_back(listed && c->onClick ? Action::pick(c->name, s.text)
                                           : Action::set(c->name, s.text));
    }
    return out;
}

void Form::runHandler(const Handler& handler) {
    // The one rule for every handler: an input that is not a number, or an arithmetic
    // step that cannot be carried out, stops the handler with a message; whatever it
    // printed before that point stays, nothing from the failed step is shown.
    try {
        handler(*this);
    } catch (const NotANumber& e) {
        m_record.reset();
        message(notANumberMessage(e.symbol));
    } catch (const ArithmeticFailure& e) {
        m_record.reset();
        message(arithmeticMessage(e));
    } catch (const StepBudgetSpent& e) {
        // The work allowed to a calculation read from a file is used up (only a caller
        // that replays a file sets a budget): it stops with what it says.
        m_record.reset();
        message(e.what());
    } catch (const std::exception& e) {
        // A fault of the program, not of the user's input: the handler stops and leaves
        // no record; the form stays usable.
        m_record.reset();
        const std::string detail = m_def.name + ": " + e.what();
        if (!m_internalErrorSink) throw InternalError(detail);
        m_internalErrorSink(detail);
    }
}

void Form::clear(std::initializer_list<std::string_view> resultBoxes) {
    for (std::string_view box : resultBoxes) mutableState(box).text.clear();
}

bool Form::anyBlank(std::initializer_list<std::string_view> inputs) const {
    for (std::string_view box : inputs)
        if (text(box).empty()) return true;
    return false;
}

float Form::number(std::string_view input) const {
    if (const auto v = toSingle(text(input))) return *v;
    throw NotANumber{symbolOf(input)};
}

double Form::numberDouble(std::string_view input) const {
    if (const auto v = toDouble(text(input))) return *v;
    throw NotANumber{symbolOf(input)};
}

void Form::print(std::string_view resultBox, float value) {
    if (control(resultBox).kind != Kind::Result)
        throw std::invalid_argument(std::string(resultBox) + " is not a result box");
    if (!std::isfinite(value))
        throw ArithmeticFailure(ArithmeticFailure::Kind::Overflow, symbolOf(resultBox));
    mutableState(resultBox).text = formatResult(value);
}

void Form::message(std::string text, Icon icon) {
    Message m{std::move(text), icon};
    if (m_pressMessages) m_pressMessages->push_back(m);
    if (m_sink) m_sink(m);
}

void Form::setVisible(std::string_view control, bool visible) {
    mutableState(control).visible = visible;
}
void Form::setEnabled(std::string_view control, bool enabled) {
    mutableState(control).enabled = enabled;
}
void Form::setCaption(std::string_view control, std::string caption) {
    mutableState(control).text = std::move(caption);
}
void Form::focus(std::string_view control) {
    m_focus = std::string(control);
}

}  // namespace tervalen::forms
