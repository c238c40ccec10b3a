#pragma once
// One calculation as the calculation sheet records it: the form and the actions that
// reproduce its press, the known conditions as typed, the results as shown, the working
// of every press the results come from, a label and an optional requirement.
//
// A record is made by replaying the press's actions on a fresh form, so that what the
// sheet states is exactly what that press computed, whatever the window shows since.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "drawing/layouts.h"
#include "forms/action.h"
#include "forms/form_def.h"
#include "sheet/site_check.h"

namespace tervalen::forms {
class Form;
struct Message;
}  // namespace tervalen::forms

namespace tervalen::sheet {

// A row of the known conditions or of the results.
struct Quantity {
    std::string symbol;  // "Hr"; empty when the caption names none
    std::string name;    // "滚球半径"; empty when the form states none
    std::string value;   // as typed, or as the result box shows it (no leading space)
    std::string unit;    // "m", "Ω·m", "天/年"…; empty when the form shows none
    bool operator==(const Quantity&) const = default;
};

// The value a result must reach (range forms: the distance to cover at Hx) or must not
// exceed (earthing forms: the highest resistance allowed).
struct Requirement {
    std::string text;    // as typed ("10")
    double value = 0;    // the text read as a number
    std::string symbol;  // the result it is compared with ("Rx", "Bx1", "Ri")
    bool operator==(const Requirement&) const = default;
};

// How a record read from a project file compares with its press computed again by this
// program. A record carries one only when the two differ: it is then marked
// "结果与保存时不同" wherever it is shown, with both values.
struct Mismatch {
    // The actions no longer give a result: the record shows what was saved.
    bool refused = false;
    std::string reason;  // when refused: what the press said, one line
    // The results as saved; `results` holds the recomputed ones (the saved ones again
    // when refused).
    std::vector<Quantity> savedResults;
    bool operator==(const Mismatch&) const = default;
};

struct SheetRecord {
    std::string label;  // "1# 独立单针保护范围计算"; the user may edit it
    std::string form;   // "frmRx_DLDanZ"
    // The form's definition (what the sheet needs to know of the form: its family, the
    // basis of each button, the names of its results); null only for a record made by
    // hand, which is then looked up by `form` in the catalog (see definitionOf).
    const forms::FormDef* def = nullptr;
    std::string caption;  // the form's caption
    std::string button;   // the button pressed ("CmdRun_CJ")
    // What reproduces the press on a freshly opened form: its settings (the code edition,
    // say; forms::Record::settings()), set first, then its actions (forms::Record::actions()).
    forms::Settings settings;
    std::vector<forms::Action> actions;
    std::vector<Quantity> known;
    // Inputs an earlier press of the chain (the one that stored a value this press reads)
    // ran with, where they differ from the known conditions, one sentence each.
    std::vector<std::string> earlierInputs;
    std::vector<Quantity> results;
    // What the press said besides its results (a part without a result, say).
    std::vector<std::string> messages;
    Working working;  // every press of the chain, in order
    // The places of the protected surface the sphere still reaches (the last press's): a
    // record with any never satisfies a requirement.
    Warnings warnings;
    std::optional<Requirement> requirement;
    std::optional<Mismatch> mismatch;  // only for a record read from a project file
    // What the protection-range drawing of the press is made from (the range and height
    // forms); the sheet draws it in the record's section.
    std::optional<drawing::Layout> layout;
    // A site checked with the rolling sphere (屋面/总平面防雷校核) in place of a form's press:
    // no form, no actions; its roofs' results are also in `results`, one row a value
    // (sheet/site_record.h).
    std::optional<SiteCheck> site;
    bool operator==(const SheetRecord&) const = default;
};

// The record of the form's last successful press, read again from its actions; nullopt
// when the form has none. An empty label is left empty (Sheet::add numbers it).
std::optional<SheetRecord> recordOf(const forms::Form& form, std::string label = {});

// The record of the last press among `actions` on a fresh form of `def`, its settings
// set first (those not named keep their defaults); nullopt when that press leaves no
// record (refused, stopped on an input, or no press at all). An action naming no control
// of the form throws std::out_of_range, a setting or value the form does not know
// std::invalid_argument.
std::optional<SheetRecord> replay(const forms::FormDef& def, const forms::Settings& settings,
                                  std::span<const forms::Action> actions, std::string label = {});
// Shown the form as the replay's actions left it and everything it said, in order (the
// messages of every action, not only of the last press): for a caller that shows the run
// itself, so that a record is computed once. Called once a replay ends, also when a fault
// escapes it.
using ReplayWatcher =
    std::function<void(const forms::Form& form, const std::vector<forms::Message>& said)>;
std::optional<SheetRecord> replay(const forms::FormDef& def, const forms::Settings& settings,
                                  std::span<const forms::Action> actions, std::string label,
                                  const ReplayWatcher& watch);
// The same, also when the press gives no result: then the record as far as the actions go
// (its known conditions; no results, no working) and why, in one line (what the press said
// last, or "计算未得出结果"). The one replay every reader of saved actions uses.
struct Replayed {
    SheetRecord record;
    std::optional<std::string> refused;
};
Replayed replayRecord(const forms::FormDef& def, const forms::Settings& settings,
                      std::span<const forms::Action> actions, std::string label = {},
                      const ReplayWatcher& watch = {});
// The same with every setting at its default.
std::optional<SheetRecord> replay(const forms::FormDef& def, std::span<const forms::Action> actions,
                                  std::string label = {});

// The record's form definition: its own, else the catalog's of its name; null for a form
// the program does not know.
const forms::FormDef* definitionOf(const SheetRecord& record);

// "1# 独立单针保护范围计算".
std::string defaultLabel(int number, std::string_view caption);

}  // namespace tervalen::sheet
