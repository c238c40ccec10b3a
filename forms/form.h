#pragma once
// The toolkit-free form: the state of a calculator form's controls, what a user does to
// them (type, paste, pick, select, press), and what its handlers use (clear, blank
// test, conversion, checks, printing, messages). The Qt view and the headless driver
// both work through this class.

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/arith.h"
#include "forms/form_def.h"
#include "forms/record.h"

namespace tervalen::forms {

enum class Icon { None, Critical, Question };

struct Message {
    std::string text;
    Icon icon = Icon::None;
    bool operator==(const Message&) const = default;
};
using MessageSink = std::function<void(const Message&)>;

struct ControlState {
    std::string text;  // input text, result text, or label caption
    bool visible = true;
    bool enabled = true;
    bool selected = false;  // option buttons
    bool operator==(const ControlState&) const = default;
};

// What a form shows and keeps, to be saved and restored: the texts of its input and
// result boxes, the selected option, the run-time state of every control that changes at
// run time (caption, visibility, enabled), the values it keeps outside its controls and
// its settings.
struct FormSnapshot {
    std::string form;
    std::map<std::string, ControlState> controls;
    std::map<std::string, float> kept;
    std::vector<Action> keptFrom;  // the press that stored the kept values, as actions
    Settings settings;  // every setting of the form (FormDef::settings); none for most forms
    // The last successful press, as the actions that reproduce it on a freshly loaded form
    // (its record's); none when the form shows no successful press.
    std::vector<Action> lastPress;
    bool operator==(const FormSnapshot&) const = default;
};

// A fault of the program inside a handler (an unknown control name, any exception that
// is not an input or arithmetic failure). Thrown by a form that has no internal-error sink.
class InternalError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};
using InternalErrorSink = std::function<void(const std::string& detail)>;

// "是" → true, "否" → false, any other text → no answer.
std::optional<bool> yesNoAnswer(std::string_view text);

class Form {
public:
    explicit Form(const FormDef& def);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormDef& def() const { return m_def; }
    const std::string& name() const { return m_def.name; }

    // Form_Load of a fresh window: default texts, empty result boxes, initial label states.
    // Values kept outside the controls survive; the record of the last press does not.
    void load();

    // What the form shows and keeps (see FormSnapshot), and the way back to it. Restoring
    // runs no handler and drops the record of the last press; a control, kept value or
    // setting the definition does not know is left out and reported, one line each; a
    // setting the snapshot lacks takes its default.
    FormSnapshot snapshot() const;
    std::vector<std::string> restore(const FormSnapshot& snapshot);
    // After restore(snapshot): runs the snapshot's last press again on the freshly loaded
    // form, quietly (no message, no observer, no fault thrown), then shows the snapshot's
    // controls, kept values and settings again, keeping the press's record: the form has
    // its working and drawing back. True when it did; false, and the form as restore()
    // left it, when the snapshot holds no press, or the press leaves no record or other
    // results than the snapshot's result boxes show.
    bool replayLastPress(const FormSnapshot& snapshot);

    // The last successful press's record: set by show() when a unit returns results,
    // dropped at the start of every press, by load() and by restore(). A press that is
    // refused or stops on an input or a failed step leaves none.
    const std::optional<Record>& lastPress() const { return m_record; }

    // The form's settings (FormDef::settings), each at its default until set. They are no
    // controls: load() leaves them as they are.
    const Settings& settings() const { return m_settings; }
    // A setting's value; a name the definition does not know throws std::out_of_range.
    const std::string& setting(std::string_view name) const;
    // Sets a setting and runs nothing; a name or value the definition does not know throws
    // std::invalid_argument.
    void setSetting(std::string_view name, std::string value);
    // Sets each setting named; the names and values the definition does not know are left
    // out and reported, one line each.
    std::vector<std::string> setSettings(const Settings& settings);

    // --- What the user does ---
    // A character typed into an input box. Enter presses the default button and Escape
    // the cancel button where the form has them; otherwise the box's key filter decides.
    // Returns true when the box takes the character (the caller then edits the text).
    bool acceptKey(std::string_view control, char32_t code);
    // acceptKey, then the edit itself at the end of the text (backspace removes the last
    // character). Used by the driver and tests, which have no caret.
    bool typeKey(std::string_view control, char32_t code);
    void typeText(std::string_view control, std::string_view utf8);
    void setText(std::string_view control, std::string text);  // as if pasted
    void pick(std::string_view control, std::string text);     // list pick, then its Click handler
    void select(std::string_view option);
    void press(std::string_view button);
    // A setting chosen beside the form: setSetting, then, when the form has a successful
    // press, that press's button again, so that results, working and record follow the
    // choice at once. The value it already has changes nothing and runs nothing.
    void choose(std::string_view setting, std::string value);

    // --- What the form shows ---
    const ControlState& state(std::string_view control) const;
    const std::string& text(std::string_view control) const { return state(control).text; }
    const Control& control(std::string_view name) const;
    bool has(std::string_view name) const;
    // Every named control in form order (frames, rows, then the button row).
    const std::vector<const Control*>& controls() const { return m_order; }
    // First calculate button (the driver presses it when told nothing else).
    std::string firstCalculateButton() const;

    void setSink(MessageSink sink) { m_sink = std::move(sink); }
    // Where a fault of the program inside a handler goes; with none, it is thrown as an
    // InternalError. Either way the handler stops and the form stays usable.
    void setInternalErrorSink(InternalErrorSink sink) { m_internalErrorSink = std::move(sink); }
    // Told when a press has run, with the messages it showed (the keys' refusals between
    // presses are not among them): what a view beside the form shows next to the results.
    using PressObserver =
        std::function<void(std::string_view button, const std::vector<Message>& shown)>;
    void setPressObserver(PressObserver observer) { m_pressObserver = std::move(observer); }
    // Focus asked for by the last handler ("" when none), and whether it closed the form.
    const std::string& focusRequest() const { return m_focus; }
    bool closeRequested() const { return m_closeRequested; }
    void clearRequests();

    // --- What handlers use ---
    void clear(std::initializer_list<std::string_view> resultBoxes);
    // True when any of the texts is exactly empty (tested in order); the handler stops.
    bool anyBlank(std::initializer_list<std::string_view> inputs) const;
    // The input's text as a single- (or double-) precision number; a text that is not a
    // number stops the handler with a message naming the input.
    float number(std::string_view input) const;
    double numberDouble(std::string_view input) const;
    // Prints a value into a result box in the display format.
    void print(std::string_view resultBox, float value);
    void message(std::string text, Icon icon = Icon::None);
    void setVisible(std::string_view control, bool visible);
    void setEnabled(std::string_view control, bool enabled);
    void setCaption(std::string_view control, std::string caption);
    bool selected(std::string_view option) const { return state(option).selected; }
    void focus(std::string_view control);
    void close() { m_closeRequested = true; }
    // A value the form keeps outside its controls, from first opening to program end (0
    // at first). The definition names each one it keeps (FormDef::kept).
    float& kept(std::string_view key);
    // The press that last stored the kept values, as actions; empty until one has.
    const std::vector<Action>& keptFrom() const { return m_keptFrom; }

    // Shows a unit's refusal as a message, or hands its results to `print` and records
    // the press: the unit's name, its input and its results.
    template <class In, class R, class Print>
    void show(std::string_view unit, const In& input, const Outcome<R>& outcome,
              Print&& printResults) {
        if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
            message(refusal->text);
            return;
        }
        const R& results = std::get<R>(outcome);
        printResults(results);
        // An answer that ends the calculation without results records no press.
        if constexpr (requires { results.has_value(); })
            if (!results) return;
        m_record.emplace(unit, input, results);
    }

    // The symbol by which messages name a control ("CmbHx" → "Hx", "PicRx" → "Rx").
    std::string symbolOf(std::string_view control) const;

private:
    ControlState& mutableState(std::string_view control);
    // The inputs, list choices and options as they stand, as actions.
    std::vector<Action> inputActions() const;
    void runHandler(const Handler& handler);

    const FormDef& m_def;
    std::vector<const Control*> m_order;
    std::map<std::string, const Control*, std::less<>> m_byName;
    std::map<std::string, ControlState, std::less<>> m_state;
    std::map<std::string, float, std::less<>> m_kept;
    Settings m_settings;
    std::optional<Record> m_record;
    // The actions of the press that last changed a kept value (what reproduces it).
    std::vector<Action> m_keptFrom;
    // A restored snapshot's last press, not run again: what a snapshot keeps until the
    // next press or load.
    std::vector<Action> m_restoredPress;
    MessageSink m_sink;
    PressObserver m_pressObserver;
    std::optional<std::vector<Message>> m_pressMessages;  // set while a press runs
    InternalErrorSink m_internalErrorSink;
    std::string m_focus;
    bool m_closeRequested = false;
};

}  // namespace tervalen::forms
