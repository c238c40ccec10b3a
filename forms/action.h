#pragma once
// What a user does to a form, as data: the one vocabulary of the headless driver, the
// fuzzer, the benchmarks and the tests (and of calculations stored as lists of actions).
//
// The driver's syntax, one action per argument (an option takes the next one):
//   CONTROL=TEXT          Set: the box's text as if pasted (no key filter, no handler)
//   --type CONTROL=TEXT   Type: the text key by key through the box's key filter
//   --pick CONTROL=TEXT   Pick: a list entry, then the box's Click handler
//   --select OPTION       Select: an option button
//   --press BUTTON        Press: a button

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tervalen::forms {

class Form;
struct FormDef;

struct Action {
    enum class Verb { Set, Type, Pick, Select, Press };
    Verb verb = Verb::Press;
    std::string control;
    std::string text;  // Set, Type and Pick
    bool operator==(const Action&) const = default;

    static Action set(std::string box, std::string text);
    static Action type(std::string box, std::string text);
    static Action pick(std::string box, std::string text);
    static Action select(std::string option);
    static Action press(std::string button);
};

// Does what the action says to the form.
void apply(Form& form, const Action& action);
// Each action in order.
void applyAll(Form& form, std::span<const Action> actions);

// A malformed action, or one naming a control the form does not have (or has of another
// kind). The text is one line.
class ActionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads actions in the driver's syntax, checking each against the form's controls.
std::vector<Action> parseActions(std::span<const std::string> args, const FormDef& def);
// The arguments that parseActions reads back as the same action.
std::vector<std::string> toArguments(const Action& action);

}  // namespace tervalen::forms
