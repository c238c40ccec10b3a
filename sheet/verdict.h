#pragma once
// The requirement a record may carry and the sheet's 结论: range forms compare the
// distance to cover at Hx with Rx or Bx, earthing forms the highest resistance allowed
// with the resistance of the button pressed; height forms state the height found against
// the target they were given; without any of these the 结论 restates the results.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/result.h"
#include "forms/form_def.h"
#include "sheet/sheet_record.h"

namespace tervalen::sheet {

using forms::Family;
// The family its form's definition states (Other for a form the program does not know).
Family familyOf(const SheetRecord& record);

// What a requirement means for the record, to prompt for it ("Hx 高度上须保护的水平距离");
// empty when the record takes none.
std::string requirementPrompt(const SheetRecord& record);
// The results a requirement may be compared with, the default first.
std::vector<std::string> comparableResults(const SheetRecord& record);

// Reads a requirement typed for the record, compared with `symbol` (empty: the default);
// what is wrong with it otherwise.
Result<Requirement> readRequirement(const SheetRecord& record, std::string_view text,
                                    std::string_view symbol = {});

struct Conclusion {
    std::string text;
    std::optional<bool> satisfied;  // set when the record is checked against a requirement
    bool operator==(const Conclusion&) const = default;
};
// The comparison uses the values as shown, so the sentence never contradicts its numbers.
Conclusion conclusionOf(const SheetRecord& record);

}  // namespace tervalen::sheet
