#pragma once
// 计算依据: what each calculation follows, stated truthfully. The rolling-sphere ranges
// and heights, the impulse conversion and the annual strikes follow appendices of the
// lightning-protection design code; the electrode and system resistances are the usual
// formulas, named as such, with no clause.

#include <string>
#include <vector>

#include "calc/other/ljcs.h"
#include "sheet/sheet_record.h"

namespace tervalen::sheet {

struct Basis {
    std::string text;
    bool formula = false;  // a formula named by itself (its symbols are written as such)
    bool operator==(const Basis&) const = default;
};

// One line per rule the record's presses followed, in the order they ran, cited from the
// edition of the code the sheet follows (the annual strikes cite the edition the record
// was computed by), then the basis of the sphere's radius.
std::vector<Basis> basisOf(const SheetRecord& record,
                           CodeEdition edition = CodeEdition::GB50057_2010);

// The table of the rolling-sphere radius by the building's category: "表5.2.12".
std::string_view sphereRadiusTable(CodeEdition edition);

}  // namespace tervalen::sheet
