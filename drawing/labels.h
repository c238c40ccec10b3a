#pragma once
// Labels kept clear of each other and of the lines: each text, in the order drawn, stays
// where its construction put it when nothing is there; else it moves to the nearest
// place around it that no text placed before takes and the fewest lines cross, and a
// thin leader joins the nearest edge of its box to the point it labels when it stands
// further than a line from it. No leader runs through a text. A text of a section never
// goes under its ground.

#include "drawing/model.h"

namespace tervalen::drawing {

void placeLabels(Drawing& d);

// Whether two boxes overlap (touching edges do not).
bool overlaps(const Box& a, const Box& b);

}  // namespace tervalen::drawing
