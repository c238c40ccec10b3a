#pragma once
// The drawing as an SVG file: one user unit a metre (the y axis turned to point up as in
// the drawing), true arcs, UTF-8 text, a group per layer named as in the DXF.

#include <string>

#include "drawing/model.h"

namespace tervalen::drawing {

std::string toSvg(const Drawing& d);

}  // namespace tervalen::drawing
