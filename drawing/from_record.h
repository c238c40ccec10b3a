#pragma once
// From a form's last press to its drawing: which layout a unit's record gives, filled
// from the record's input and result. The one place that knows the units' structs.

#include <optional>
#include <string_view>

#include "drawing/layouts.h"
#include "forms/record.h"

namespace tervalen::drawing {

// Whether a press of the form draws a protection range, as its definition states.
bool hasDrawing(std::string_view formName);

// The layout of a press, or nothing for a unit that has no drawing (or whose record
// carries types this adapter does not know).
std::optional<Layout> layoutOf(const forms::Record& record);

// The drawing of a press, titled with the form's caption; nothing as for layoutOf().
std::optional<Drawing> drawingOf(const forms::Record& record, std::string_view caption);

}  // namespace tervalen::drawing
