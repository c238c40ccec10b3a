#include "fuzz/session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "forms/catalog.h"
#include "forms/display.h"
#include "forms/key_filter.h"
#include "forms/messages.h"
#include "forms/number.h"
#include "forms/utf8.h"
#include "fuzz/display_text.h"

namespace tervalen::fuzz {

using forms::Control;
using forms::ControlState;
using forms::Icon;
using forms::Kind;
using forms::Message;

namespace {

// Written into every result box before a handler runs: a box that still shows it
// afterwards was left alone. No calculation of the program comes near this value.
constexpr float kUntouched = -8.765432e+31f;
const std::string& untouchedText() {
    static const std::string text = forms::formatResult(kUntouched);
    return text;
}
// Handler runs per input, and keys per typed text: enough to reach any state, few
// enough that one input of a height search stays well under a second.
constexpr int kMaxHandlerRuns = 48;
constexpr std::size_t kMaxKeys = 256;
// The height forms search upwards in steps of 0.01 m up to a bound that grows with the
// values typed (the sphere radius, the heights): a radius of thousands of kilometres
// climbs a million steps, which under the sanitizers takes a good part of a second and,
// repeated on every press, starves the fuzzer. Their handlers run only while every input
// that reads as a number stays within this many metres, so one search climbs at most some
// 100,000 steps; the exhausted and out-of-range searches themselves are unit-tested.
constexpr double kHeightTargetBound = 1000;
// Pressing again at once is checked on the first press of a session and then on one
// press in this many.
constexpr int kRepeatEvery = 4;

constexpr std::string_view kArithmeticHeadline = "输入的数据无法计算！\n";
constexpr std::string_view kNotANumberTail = " 的数值不是一个有效的数字！";

bool same(const ControlState& a, const ControlState& b) {
    return a.text == b.text && a.visible == b.visible && a.enabled == b.enabled &&
           a.selected == b.selected;
}

std::string printable(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c < 32 || c == 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

const forms::FormDef& pickForm(std::string_view selector) {
    if (const forms::FormDef* def = forms::findForm(selector)) return *def;
    const auto& all = forms::allForms();
    return *all[hashOf(selector) % all.size()];
}

const Session::Layout& Session::layoutOf(const forms::Form& form) {
    // The catalog's definitions live as long as the process, and so do their layouts.
    static std::map<const forms::FormDef*, Layout> layouts;
    const auto [it, added] = layouts.try_emplace(&form.def());
    Layout& layout = it->second;
    if (!added) return layout;
    for (const Control* c : form.controls()) {
        switch (c->kind) {
            case Kind::Input:
                layout.inputs.push_back(c);
                if (!c->list.empty()) layout.listed.push_back(c);
                layout.notANumber.push_back(forms::notANumberMessage(form.symbolOf(c->name)));
                break;
            case Kind::Button:
                layout.buttons.push_back(c);
                break;
            case Kind::Option:
                layout.options.push_back(c);
                break;
            case Kind::Result:
                layout.results.push_back(c);
                break;
            default:
                break;
        }
    }
    return layout;
}

Session::Session(const forms::FormDef& def)
    : m_def(def),
      m_form(def),
      m_layout(layoutOf(m_form)),
      m_heightForm(def.family == forms::Family::Height) {
    m_trace = std::getenv("TERVALEN_FUZZ_TRACE") != nullptr;
    m_form.setSink([this](const Message& m) {
        keep(m);
        if (m_trace)
            std::fprintf(stderr, "    message%s: %s\n",
                         m.icon == Icon::Critical ? " (critical)" : "", printable(m.text).c_str());
    });
    bindStates();
    checkDefaults();
    for (const forms::Setting& s : def.settings)
        require(m_form.setting(s.name) == s.choices.front().value,
                "a form opens with each setting at its first choice");
}

void Session::keep(const Message& message) {
    if (m_shownCount == m_shown.size()) m_shown.emplace_back();
    Shown& shown = m_shown[m_shownCount++];
    shown.message = message;
    resultTexts(shown.results);
}

const Control* Session::choose(const std::vector<const Control*>& among,
                               std::string_view name) const {
    if (among.empty()) return nullptr;
    for (const Control* c : among)
        if (c->name == name) return c;
    return among[hashOf(name) % among.size()];
}

void Session::bindStates() {
    m_states.clear();
    for (const Control* c : m_form.controls()) m_states.push_back(&m_form.state(c->name));
}

std::size_t Session::indexOf(const Control& c) const {
    // A few dozen controls at most: a scan of pointers beats the form's lookup by name.
    const auto& order = m_form.controls();
    return static_cast<std::size_t>(std::find(order.begin(), order.end(), &c) - order.begin());
}

const ControlState& Session::stateOf(const Control& c) const {
    return *m_states.at(indexOf(c));
}

void Session::snapshot(std::vector<ControlState>& states) const {
    // Fixed captions are left out: checkState compares them with the definition anyway.
    const auto& order = m_form.controls();
    states.resize(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const ControlState& s = *m_states[i];
        const Kind kind = order[i]->kind;
        if (kind == Kind::Input || kind == Kind::Result || (order[i]->dynamic & forms::kCaption))
            states[i].text = s.text;
        states[i].visible = s.visible;
        states[i].enabled = s.enabled;
        states[i].selected = s.selected;
    }
}

void Session::resultTexts(std::vector<std::string>& texts) const {
    texts.resize(m_layout.results.size());
    const auto& order = m_form.controls();
    std::size_t n = 0;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i]->kind == Kind::Result) texts[n++] = m_states[i]->text;
}

void Session::run(const Step& step) {
    const forms::Action& a = step.action;
    m_step = &step;
    if (m_trace)
        std::fprintf(stderr, "%s %s %s\n", wordOf(step), a.control.c_str(),
                     printable(a.text).c_str());
    switch (step.kind) {
        case Step::Kind::Key:
            if (const Control* box = choose(m_layout.inputs, a.control)) {
                char32_t code = 0;
                for (char c : a.text) {
                    if (c < '0' || c > '9') break;
                    code = (code * 10 + static_cast<char32_t>(c - '0')) % 0x110000;
                }
                type(*box, code);
            }
            break;
        case Step::Kind::Reopen:
            reopen();
            break;
        case Step::Kind::Choose:
            chooseSetting(a);
            break;
        case Step::Kind::Act:
            switch (a.verb) {
                case forms::Action::Verb::Set:
                    set(a);
                    break;
                case forms::Action::Verb::Type:
                    if (const Control* box = choose(m_layout.inputs, a.control)) {
                        auto keys = forms::decodeUtf8(a.text);
                        if (keys.size() > kMaxKeys) keys.resize(kMaxKeys);
                        for (char32_t code : keys) type(*box, code);
                    }
                    break;
                case forms::Action::Verb::Pick:
                    pick(a);
                    break;
                case forms::Action::Verb::Select:
                    select(a);
                    break;
                case forms::Action::Verb::Press:
                    press(a);
                    break;
            }
            break;
    }
    checkState();
}

bool Session::mayRunHandler() const {
    if (m_handlerRuns >= kMaxHandlerRuns) return false;
    if (!m_heightForm) return true;
    for (const Control* box : m_layout.inputs) {
        const auto value = forms::toDouble(stateOf(*box).text);
        if (value && std::abs(*value) > kHeightTargetBound) return false;
    }
    return true;
}

void Session::set(const forms::Action& a) {
    const Control* box = choose(m_layout.inputs, a.control);
    if (!box) return;
    snapshot(m_before);
    m_shownCount = 0;
    forms::apply(m_form, forms::Action::set(box->name, a.text));
    require(stateOf(*box).text == a.text, "a pasted text is kept as it is");
    require(m_shownCount == 0, "pasting shows no message");
    checkUnchangedExcept(m_before, box);
}

void Session::type(const Control& box, char32_t code) {
    const bool pressesButton =
        (code == 13 && !m_def.defaultButton.empty()) || (code == 27 && !m_def.cancelButton.empty());
    if (pressesButton) {
        if (!mayRunHandler()) return;
        bool reachedBox = false;
        handlerRun([&] { reachedBox = m_form.typeKey(box.name, code); });
        require(!reachedBox,
                "Enter and Escape press the form's button instead of reaching the box");
        return;
    }
    snapshot(m_before);
    m_shownCount = 0;
    const bool accepted = m_form.typeKey(box.name, code);
    if (!accepted) {
        require(!box.refusal.empty(), "a box that refuses keys has a refusal text");
        require(m_shownCount == 1 && m_shown[0].message.icon == Icon::Critical &&
                    m_shown[0].message.text == box.refusal,
                "a refused key shows the box's refusal with the critical icon");
        checkUnchangedExcept(m_before, nullptr);
        return;
    }
    require(m_shownCount == 0, "an accepted key shows no message");
    require(forms::passes(box.filter, code), "the key filter decides which keys a box takes");
    const std::string& old = m_before[indexOf(box)].text;
    const std::string& now = stateOf(box).text;
    if (code == 8) {
        require(old.empty() ? now.empty() : (now.size() < old.size() && old.starts_with(now)),
                "backspace removes the end of the text and nothing else");
    } else if (code >= 32 && code != 127) {
        const auto added = now.starts_with(old)
                               ? forms::decodeUtf8(std::string_view(now).substr(old.size()))
                               : std::vector<char32_t>{};
        require(added.size() == 1 && added[0] == code,
                "a typed character is added at the end of the text");
    } else {
        require(now == old, "a control character other than backspace leaves the text");
    }
    checkUnchangedExcept(m_before, &box);
}

void Session::pick(const forms::Action& a) {
    const Control* box = choose(m_layout.listed, a.control);
    if (!box || !mayRunHandler()) return;
    // A user picks only what the list offers.
    const auto& list = box->list;
    const std::string entry = std::find(list.begin(), list.end(), a.text) != list.end()
                                  ? a.text
                                  : list[hashOf(a.text) % list.size()];
    handlerRun([&] { m_form.pick(box->name, entry); }, box, entry);
}

void Session::select(const forms::Action& a) {
    const Control* option = choose(m_layout.options, a.control);
    if (!option) return;
    snapshot(m_before);
    m_shownCount = 0;
    forms::apply(m_form, forms::Action::select(option->name));
    require(m_shownCount == 0, "selecting an option shows no message");
    snapshot(m_after);
    const auto& order = m_form.controls();
    for (std::size_t i = 0; i < order.size(); ++i) {
        ControlState& expected = m_before[i];
        if (order[i]->kind == Kind::Option) expected.selected = order[i] == option;
        require(same(m_after[i], expected),
                "selecting an option selects it alone and changes nothing else");
    }
}

void Session::press(const forms::Action& a) {
    const Control* button = choose(m_layout.buttons, a.control);
    if (!button || !mayRunHandler()) return;
    if (!stateOf(*button).enabled) {
        snapshot(m_before);
        m_shownCount = 0;
        m_form.press(button->name);
        require(m_shownCount == 0, "a disabled button shows no message");
        checkUnchangedExcept(m_before, nullptr);
        return;
    }
    if (!handlerRun([&] { m_form.press(button->name); })) return;
    if (m_presses++ % kRepeatEvery != 0) return;
    // A calculation keeps nothing between presses but what its form keeps on purpose,
    // and a press changes no input: pressing again at once must show exactly the same.
    pressAgain(button->name, "pressing again at once shows the same messages",
               "pressing again at once shows the same results and states");
}

void Session::pressAgain(const std::string& button, std::string_view sameMessagesRule,
                         std::string_view sameStatesRule) {
    snapshot(m_first);
    m_firstShown.assign(shown().begin(), shown().end());
    if (!handlerRun([&] { m_form.press(button); })) fail("a calculation closed the form");
    const auto again = shown();
    const bool sameMessages =
        std::equal(m_firstShown.begin(), m_firstShown.end(), again.begin(), again.end(),
                   [](const Shown& a, const Shown& b) {
                       return a.message == b.message && a.results == b.results;
                   });
    require(sameMessages, sameMessagesRule);
    checkUnchangedExcept(m_first, nullptr, sameStatesRule);
}

void Session::chooseSetting(const forms::Action& a) {
    const auto& settings = m_def.settings;
    if (settings.empty()) return;
    const forms::Setting* setting = m_def.setting(a.control);
    if (!setting) setting = &settings[hashOf(a.control) % settings.size()];
    const forms::Choice* choice = setting->find(a.text);
    if (!choice) choice = &setting->choices[hashOf(a.text) % setting->choices.size()];
    const auto chosen = [&] {
        require(m_form.setting(setting->name) == choice->value, "a chosen setting is kept");
    };
    const auto& record = m_form.lastPress();
    if (!record || m_form.setting(setting->name) == choice->value) {
        // Nothing to calculate again, or nothing chosen that was not chosen already.
        snapshot(m_before);
        m_shownCount = 0;
        m_form.choose(setting->name, choice->value);
        chosen();
        require(m_shownCount == 0, "a setting chosen with no press to follow runs nothing");
        checkUnchangedExcept(m_before, nullptr,
                             "a setting chosen with no press to follow changes no control");
        return;
    }
    if (!mayRunHandler()) return;
    // The last successful press follows the choice at once: what it shows is what
    // pressing that button now shows.
    const std::string button = record->button();
    if (!handlerRun([&] { m_form.choose(setting->name, choice->value); }))
        fail("choosing a setting closed the form");
    chosen();
    pressAgain(button, "a setting chosen shows the messages its press shows now",
               "a setting chosen shows the results and states its press shows now");
}

void Session::reopen() {
    const forms::Settings settings = m_form.settings();
    m_form.load();
    bindStates();
    checkDefaults();
    require(m_form.settings() == settings, "opening the form again keeps its settings");
}

template <class Act>
bool Session::handlerRun(Act&& act, const Control* picked, const std::string& entry) {
    ++m_handlerRuns;
    for (const Control* box : m_layout.results) m_form.print(box->name, kUntouched);
    snapshot(m_before);
    m_shownCount = 0;
    act();
    checkHandlerRun(m_before, picked, entry);
    if (!m_form.closeRequested()) return true;
    reopen();
    return false;
}

void Session::checkHandlerRun(const std::vector<ControlState>& before, const Control* picked,
                              const std::string& entry) {
    require(m_shownCount <= 1, "a handler shows at most one message, then stops");
    if (const auto& record = m_form.lastPress())
        require(record->settings() == m_form.settings(),
                "the record of a press holds the settings it was calculated with");
    resultTexts(m_resultTexts);
    for (const Shown& shown : shown()) {
        const std::string& text = shown.message.text;
        require(shown.message.icon == Icon::None, "a handler's message carries no icon");
        require(!text.empty(), "a message has a text");
        require(!mentionsNonFinite(text), "no message mentions nan or inf");
        require(shown.results == m_resultTexts, "nothing is printed after a handler's message");
        if (text.starts_with(kArithmeticHeadline)) {
            require(text.find("计算  时") == std::string::npos, "a failed step names its quantity");
            continue;
        }
        if (!text.ends_with(kNotANumberTail)) continue;
        const auto& notANumber = m_layout.notANumber;
        require(std::find(notANumber.begin(), notANumber.end(), text) != notANumber.end(),
                "a text that is not a number is reported by its input's symbol");
        // Every calculation reads its inputs before it prints anything, so a text that
        // is not a number stops the run before any result box is written. (A refusal
        // may follow printed results: a form may print what it could work out, then say
        // why the rest has no value.)
        for (const std::string& r : shown.results)
            require(r.empty() || r == untouchedText(),
                    "an input that is not a number stops the run before anything is printed");
    }
    snapshot(m_after);
    const auto& order = m_form.controls();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->kind != Kind::Input) continue;
        const std::string& expected = order[i] == picked ? entry : before[i].text;
        require(m_after[i].text == expected, "a handler never changes an input text");
    }
    const std::string& focus = m_form.focusRequest();
    require(focus.empty() || (m_form.has(focus) && (m_form.control(focus).kind == Kind::Button ||
                                                    m_form.control(focus).kind == Kind::Input)),
            "a focus request names a button or an input box of the form");
}

void Session::checkUnchangedExcept(const std::vector<ControlState>& before, const Control* except,
                                   std::string_view rule) {
    snapshot(m_after);
    const auto& order = m_form.controls();
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != except) require(same(m_after[i], before[i]), rule);
}

void Session::checkState() {
    int selected = 0;
    const auto& order = m_form.controls();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Control* c = order[i];
        const ControlState& s = *m_states[i];
        if (c->kind == Kind::Result)
            require(s.text.empty() || isDisplayText(s.text),
                    "a result box is empty or shows a finite number in the display format");
        else if (c->kind != Kind::Input)
            require(
                (c->dynamic & forms::kCaption) ? !mentionsNonFinite(s.text) : s.text == c->text,
                "a caption changes only where the form declares it, and never shows nan or inf");
        require((c->dynamic & forms::kVisible) || s.visible == c->visible,
                "visibility changes only where the form declares it");
        require((c->dynamic & forms::kEnabled) || s.enabled == c->enabled,
                "the enabled state changes only where the form declares it");
        require(!s.selected || c->kind == Kind::Option, "only option buttons are selected");
        selected += s.selected ? 1 : 0;
    }
    require(selected <= 1, "at most one option button is selected");
}

void Session::checkDefaults() {
    const auto& order = m_form.controls();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Control* c = order[i];
        const ControlState& s = *m_states[i];
        require(s.text == (c->kind == Kind::Result ? std::string() : c->text) &&
                    s.visible == c->visible && s.enabled == c->enabled && !s.selected,
                "an opened form shows its defaults");
    }
    require(m_form.focusRequest().empty() && !m_form.closeRequested(),
            "an opened form has no pending request");
}

void Session::require(bool ok, std::string_view rule) const {
    if (!ok) fail(rule);
}

void Session::fail(std::string_view rule) const {
    const std::string step = m_step ? std::string(wordOf(*m_step)) + " " + m_step->action.control +
                                          " " + printable(m_step->action.text)
                                    : "open";
    std::fprintf(stderr, "\nBROKEN RULE in %s after \"%s\":\n  %.*s\n", m_def.name.c_str(),
                 step.c_str(), static_cast<int>(rule.size()), rule.data());
    for (const Shown& s : shown())
        std::fprintf(stderr, "  message%s: %s\n",
                     s.message.icon == Icon::Critical ? " (critical)" : "",
                     printable(s.message.text).c_str());
    for (const Control* c : m_form.controls()) {
        const ControlState& s = m_form.state(c->name);
        std::fprintf(stderr, "  %-14s \"%s\"%s%s%s\n", c->name.c_str(), printable(s.text).c_str(),
                     s.visible ? "" : " hidden", s.enabled ? "" : " disabled",
                     s.selected ? " selected" : "");
    }
    std::abort();
}

}  // namespace tervalen::fuzz
