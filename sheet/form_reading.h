#pragma once
// Reads a form as the sheet states it, from its definition alone: the known conditions
// from each input box's caption ("滚球半径（Hr）：" → 滚球半径, Hr), its text as typed and
// its unit label ("单位：米" → m); the results from each result box's prefix or heading,
// its text and the unit label after it.

#include <string>
#include <string_view>
#include <vector>

#include "sheet/sheet_record.h"

namespace tervalen::forms {
class Form;
}

namespace tervalen::sheet {

// A caption split into the quantity's name and the symbol in its parentheses:
// "滚球半径（Hr）：" → {"Hr", "滚球半径"}, "Rx=" → {"Rx", ""} (a bare prefix is a symbol),
// "接地系统冲击接地电阻值（Ri）为：" → {"Ri", "接地系统冲击接地电阻值"}.
Quantity splitCaption(std::string_view caption);

// A unit label as the sheet writes units: "单位：米" and "米" → "m"; others as shown.
std::string unitOf(std::string_view unitLabel);

// The visible input boxes that hold a text, in form order, and the option selected in
// each frame of options.
std::vector<Quantity> knownConditions(const forms::Form& form);

// The visible result boxes that show a value, in form order.
std::vector<Quantity> resultsShown(const forms::Form& form);

}  // namespace tervalen::sheet
