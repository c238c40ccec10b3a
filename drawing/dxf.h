#pragma once
// The drawing as a DXF file (AutoCAD 2000, AC1015) for CAD: real metres in model space
// ($INSUNITS 6), the LP-… layers, LINE, ARC, CIRCLE, LWPOLYLINE, HATCH and TEXT entities,
// each section and the plan a block, the dimensioned lengths DIMENSION entities of the
// dimension style TERVALEN.
// Text other than ASCII is written as \U+XXXX escapes, which every reader of this
// version decodes whatever its code page.

#include <optional>
#include <string>

#include "drawing/model.h"

namespace tervalen::drawing {

// The versions written: AutoCAD 2000 (the default), and R12 for older CAD (AC1009: no
// handles, POLYLINE/VERTEX for polylines, no line weights, no HATCH — filled areas are
// left out, their outlines stay — and dimensions as their lines and labels).
enum class DxfVersion { R2000, R12 };

// What the title block of an A3 frame states (the calculation sheet's header, the
// drawing's title and scale); empty fields stay blank.
struct TitleBlock {
    std::string project, title, designer, checker, reviewer, date;
};

struct DxfOptions {
    DxfVersion version = DxfVersion::R2000;
    // An A3 sheet's frame (420 × 297 mm at the drawing's scale) with this title block.
    std::optional<TitleBlock> frame;
};

std::string toDxf(const Drawing& d);
std::string toDxf(const Drawing& d, const DxfOptions& options);

// The drawing with an A3 frame around it at its stated scale (or, for a drawing made
// for none, the largest of the series at which it fits the frame's room) and the title
// block in its lower right corner, on the layer LP-FRAME; the drawing unchanged when it
// fits at no scale.
Drawing framed(const Drawing& d, const TitleBlock& block);

// "\U+4FDD\U+62A4…" for a UTF-8 text (ASCII passes unchanged; characters above U+FFFF,
// which this DXF version cannot carry, become '?').
std::string dxfText(std::string_view utf8);

}  // namespace tervalen::drawing
