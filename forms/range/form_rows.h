#pragma once
// Pieces that several protection range forms show alike.

#include <optional>
#include <vector>

#include "calc/range/rod_pair.h"
#include "forms/form_def.h"

namespace tervalen::forms {

class Form;

// The inputs of the equal-rod forms: sphere radius (no key filter), rod height, height of
// the protected surface, then the form's own spacing row.
std::vector<Row> equalRodInputs(Row spacingRow);

// The last block of the two-wire forms: the heading of the width at Hr with the red
// LabJG "该项无计算结果" at its right end (hidden at load), and the row Bx2= PicBx2.
std::vector<Row> widthAtSphereRadiusRows();

// The two-line note under a wire's support spacing.
Row spanNoteRow();

// Prints the diagonal of a square of rods: Ho2 into PicHo2, then Bx2 into PicBx2, or,
// when the lowest point lies below the ground, the message that the diagonal has no width.
void printDiagonal(Form& f, float Ho2, const std::optional<float>& Bx2);

// Prints a pair of rods: Rx, Ho and Bx into PicRx, PicHo and PicBx.
void printTwoRods(Form& f, const TwoRods& r);

}  // namespace tervalen::forms
