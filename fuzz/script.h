#pragma once
// The fuzzer's input: a small script of what a user does to one form, one action a line.
//
//   frmRx_DLDanZ            first line: the form (a name from the catalog; any other
//                           text chooses a form by its hash)
//   set CmbH 20             paste a text into an input box
//   type CmbHx 5\r          type the text key by key (Enter, Escape and backspace included)
//   key CmbH 27             type one key by its code point
//   pick CmbHr 45           choose a list entry
//   select OptA3            select an option button
//   press CmdRun            press a button
//   reopen                  close the form and open it again
//   choose edition 2010     choose a setting beside the form (see FormDef::settings)
//
// A control name that the form does not have, or that names a control of the wrong kind,
// chooses one of the right kind by its hash, and so does an unknown verb, a setting the
// form does not have and a value the setting does not offer: every mutated script still
// drives the form. Texts take the escapes \r \e \b \n \t \0 \\ and \xHH.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/action.h"

namespace tervalen::fuzz {

// A line of a script: one of the actions every tool shares, or one of the steps only the
// fuzzer takes (a single key by its code point, reopening the form, choosing a setting).
struct Step {
    enum class Kind { Act, Key, Reopen, Choose };
    Kind kind = Kind::Act;
    // Act; for Key the box, and the code's digits as the text; for Choose the setting's
    // name, and the value as the text.
    forms::Action action;
};

struct Script {
    std::string form;
    std::vector<Step> steps;
};

// At most this many steps are read, so that one input stays quick to run.
inline constexpr std::size_t kMaxSteps = 256;

Script parseScript(std::string_view bytes);
std::string unescape(std::string_view text);
std::uint32_t hashOf(std::string_view text);
// The script's word for a step ("set", "key", "reopen", "choose").
const char* wordOf(const Step& step);

}  // namespace tervalen::fuzz
