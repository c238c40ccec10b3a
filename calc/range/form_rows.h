#pragma once
// Pieces that several protection range forms show alike.

#include <vector>

#include "calc/range/rod_pair.h"
#include "forms/form_def.h"

namespace tervalen::forms {

class Form;

// The inputs of the equal-rod forms: sphere radius (no key filter), rod height, height of
// the protected surface, then the form's own spacing row.
std::vector<Row> equalRodInputs(Row spacingRow);

// The two-line note under a wire's support spacing.
Row spanNoteRow();

// Prints a pair of rods: Rx, Ho and Bx into PicRx, PicHo and PicBx.
void printTwoRods(Form& f, const TwoRods& r);

}  // namespace tervalen::forms
