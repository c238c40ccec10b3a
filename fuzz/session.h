#pragma once
// One form driven by a fuzzer script, and what must hold after every step of it:
// - no result box shows anything but the display format of a finite number;
// - a refused key shows the box's refusal with the critical icon and changes nothing;
//   an accepted key edits the end of its own box and nothing else;
// - a handler run (press, list pick, Enter, Escape) changes no input text except the
//   picked box, shows at most one message, without an icon, naming no nan or inf, and
//   prints nothing after its message; an input that is not a number is reported by its
//   symbol before anything is printed; pressing the same button again at once shows
//   exactly the same (checked on the first press of a session and on every fourth after
//   it: the second press costs as much as the first, and the fuzzer varies what comes
//   before a press far more often than that);
// - captions, visibility and enabled states change only where the form declares that
//   they do, at most one option is selected, a focus request names a control;
// - a setting chosen beside the form is kept; with a successful press before it, the
//   form shows at once what pressing that button again shows, otherwise nothing runs
//   and nothing changes; the record of a press holds the settings it was made with;
// - opening the form again shows its defaults and keeps the settings.
// Handlers run at most 48 times an input, and on the height forms only while the values
// typed keep the searches within 1000 m (see kHeightTargetBound in session.cpp).
// A broken rule is reported on stderr with the form's state, and the process aborts.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "fuzz/script.h"

namespace tervalen::fuzz {

// The form a script's first line names, or one chosen by its hash.
const forms::FormDef& pickForm(std::string_view selector);

class Session {
public:
    explicit Session(const forms::FormDef& def);
    void run(const Step& step);

private:
    struct Shown {
        forms::Message message;
        std::vector<std::string> results;  // the result boxes when it was shown
    };
    // What the session needs of a form's definition: the controls by kind and each
    // input's not-a-number message. The same for every session of the form, so it is
    // worked out once per form and process.
    struct Layout {
        std::vector<const forms::Control*> inputs, listed, buttons, options, results;
        std::vector<std::string> notANumber;  // the framework's message for each input
    };
    static const Layout& layoutOf(const forms::Form& form);

    const forms::Control* choose(const std::vector<const forms::Control*>& among,
                                 std::string_view name) const;
    // The form's control states in form order, bound again whenever the form is loaded.
    void bindStates();
    // The control's place in form order, and its state.
    std::size_t indexOf(const forms::Control& c) const;
    const forms::ControlState& stateOf(const forms::Control& c) const;
    // Fills `states` with the control states in form order; the buffers are the session's
    // own and keep their capacity, so a step allocates nothing for its checks.
    void snapshot(std::vector<forms::ControlState>& states) const;
    // The result boxes' texts, into `texts` (whose buffers are kept).
    void resultTexts(std::vector<std::string>& texts) const;
    // The messages shown since the step began, and the way to keep one.
    std::span<const Shown> shown() const { return {m_shown.data(), m_shownCount}; }
    void keep(const forms::Message& message);

    // Whether a press, a list pick, Enter or Escape may still run a handler in this input:
    // not past the handler-run budget, nor on a height form with a value beyond the
    // bound its searches are fuzzed within (see kHeightTargetBound).
    bool mayRunHandler() const;
    void set(const forms::Action& a);
    void type(const forms::Control& box, char32_t code);
    void pick(const forms::Action& a);
    void select(const forms::Action& a);
    void press(const forms::Action& a);
    // Presses the button again and checks that it shows what the run just before showed.
    void pressAgain(const std::string& button, std::string_view sameMessagesRule,
                    std::string_view sameStatesRule);
    void chooseSetting(const forms::Action& a);
    void reopen();

    // Runs an action that may start a handler and checks it; false when the form closed
    // (and was opened again).
    template <class Act>
    bool handlerRun(Act&& act, const forms::Control* picked = nullptr,
                    const std::string& entry = {});
    void checkHandlerRun(const std::vector<forms::ControlState>& before,
                         const forms::Control* picked, const std::string& entry);
    void checkUnchangedExcept(const std::vector<forms::ControlState>& before,
                              const forms::Control* except,
                              std::string_view rule = "no other control changes");
    void checkState();
    void checkDefaults();
    void require(bool ok, std::string_view rule) const;
    [[noreturn]] void fail(std::string_view rule) const;

    const forms::FormDef& m_def;
    forms::Form m_form;
    const Layout& m_layout;
    std::vector<const forms::ControlState*> m_states;
    // The messages shown since the step began: the first m_shownCount entries (the
    // entries past it keep their buffers for the next ones).
    std::vector<Shown> m_shown;
    std::size_t m_shownCount = 0;
    std::vector<Shown> m_firstShown;  // those of the first of two presses
    std::vector<std::string> m_resultTexts;
    // Before a step, after it, and after the first of two presses.
    std::vector<forms::ControlState> m_before, m_after, m_first;
    int m_handlerRuns = 0;
    int m_presses = 0;
    const Step* m_step = nullptr;  // the step being run; none while the form opens
    bool m_trace = false;
    bool m_heightForm;  // a form of the upward height searches
};

}  // namespace tervalen::fuzz
