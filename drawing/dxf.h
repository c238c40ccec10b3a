#pragma once
// The drawing as a DXF file (AutoCAD 2000, AC1015) for CAD: real metres in model space
// ($INSUNITS 6), the six LP-… layers, LINE, ARC, CIRCLE, LWPOLYLINE and TEXT entities.
// Text other than ASCII is written as \U+XXXX escapes, which every reader of this
// version decodes whatever its code page.

#include <string>

#include "drawing/model.h"

namespace tervalen::drawing {

std::string toDxf(const Drawing& d);

// "\U+4FDD\U+62A4…" for a UTF-8 text (ASCII passes unchanged; characters above U+FFFF,
// which this DXF version cannot carry, become '?').
std::string dxfText(std::string_view utf8);

}  // namespace tervalen::drawing
