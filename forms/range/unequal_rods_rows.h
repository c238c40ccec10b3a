#pragma once
// What the two forms of rods of different heights show alike: the rows of the rods, the
// spacing and the protected plane, the range's results, and how they are printed.

#include <vector>

#include "calc/range/rx_bdgshuangz.h"
#include "forms/form_def.h"

namespace tervalen::forms {

class Form;

// "避雷针1高度（H1）：" CmbH1, numeric key filter, for rod 1 or 2.
Row rodHeightRow(int rod);
Row spacingRow();
Row surfaceRow();

// Rx1, Rx2, D1, Ho, Bx, each under its heading.
std::vector<Row> unequalRodResults();

// Prints the range: when each rod is a single rod, shows the red note LabDZ that says so
// and prints only the two radii; otherwise every box.
void printUnequalRods(Form& f, const RxBDGShuangZ& r);

}  // namespace tervalen::forms
