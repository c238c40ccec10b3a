#pragma once
// What a protection-range drawing is built from: one plain struct per arrangement of rods
// or wires, holding the inputs of the press, the values its form printed and the weak
// points its unit found. A range form fills one from its inputs and results; a height
// form from its inputs and its own results: the height it found and the lowest points
// and widths it printed, never worked out again (drawing/from_record.h does both).

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "calc/common/warning.h"
#include "drawing/model.h"

namespace tervalen::drawing {

// Where rods stand and what the sphere rolls on.
struct Footing {
    // Height of the roof the rods are erected on; nothing for rods on the ground.
    std::optional<float> roof;
    // The building is an equipotential body connected to the earth: the plane at Hx is
    // the ground the sphere rolls on, and the boundary arcs start there.
    bool planeIsGround = false;
    bool operator==(const Footing&) const = default;
};

struct SingleRod {
    float Hr, H, Hx;  // H: height of the tip above the ground
    Footing footing;
    float Rx;  // printed radius on the plane Hx
    Warnings warnings = {};
    bool operator==(const SingleRod&) const = default;
};

struct RodPair {
    float Hr, H, Hx, D;
    Footing footing;
    float Rx, Ho, Bx;  // Ho above the plane Hx when it is the ground
    Warnings warnings = {};
    bool operator==(const RodPair&) const = default;
};

// Three rods on an equilateral triangle or four on a square of side L, standalone.
struct RodFigure {
    int rods;  // 3 or 4
    float Hr, H, Hx, L;
    float Rx, Ho, Bx;  // the outer radius, and the lowest point and width on a side
    // Four rods: the lowest point on the diagonal and its width; no width when the
    // lowest point lies below the ground (the diagonal is not covered).
    std::optional<float> Ho2, Bx2;
    Warnings warnings = {};  // on a side (each side is marked) and at the centre
    bool operator==(const RodFigure&) const = default;
};

// Two standalone rods of different heights H1 (at the origin) and H2, D apart.
struct UnequalRodPair {
    float Hr, H1, H2, Hx, D;
    float Rx1, Rx2;  // each rod's printed radius on the plane Hx
    // The line of the lowest point, D1 from rod 1, the lowest point and the width there
    // as printed; nothing when each rod is a single rod.
    std::optional<float> D1, Ho, Bx;
    std::string single;  // the unit's sentence saying why each rod is a single rod
    Warnings warnings = {};
    bool operator==(const UnequalRodPair&) const = default;
};

// One overhead wire on supports of height H spaced D apart, sagging `sag` at mid-span.
struct SingleWire {
    float Hr, H, Hx, D, sag;
    float Hh, Bx1, Bx2;  // highest point, width at mid-span, width at the supports
    Warnings warnings = {};
    bool operator==(const SingleWire&) const = default;
};

// Two parallel wires D2 apart on supports of height H spaced D1 apart.
struct WirePair {
    float Hr, H, Hx, D1, D2, sag;
    float Ho;   // lowest point between the wires at mid-span
    float Bx1;  // width beyond the ends of the centre line, on the plane Hx
    // The form's note that no width at the height Hr is worked out ("该项无计算结果"): a
    // fixed label of the form, not a fault, so the drawing leaves it off.
    bool noWidthAtHr = false;
    Warnings warnings = {};
    bool operator==(const WirePair&) const = default;
};

using Layout = std::variant<SingleRod, RodPair, RodFigure, SingleWire, WirePair, UnequalRodPair>;

// The section and the plan of a layout, titled with the form's caption, at the largest
// scale of the series at which it fits widthMm × heightMm on paper with its text at the
// drafting sizes there (kTextMm, kDigitsMm for labels without characters; smaller only
// where the room is too small for them at any scale). Drawing::scale states the scale; 0
// when it fits at none. The layout must be one its form accepted (the units' checks
// passed).
Drawing draw(const Layout& layout, std::string_view title, double widthMm = kA3RoomWidthMm,
             double heightMm = kA3RoomHeightMm);

// The same with text `th` metres high, at no stated scale.
Drawing drawWithText(const Layout& layout, std::string_view title, double th);

Drawing drawSingleRod(const SingleRod& r, double th);
Drawing drawRodPair(const RodPair& r, double th);
Drawing drawRodFigure(const RodFigure& r, double th);
Drawing drawSingleWire(const SingleWire& w, double th);
Drawing drawWirePair(const WirePair& w, double th);
Drawing drawUnequalRodPair(const UnequalRodPair& r, double th);

}  // namespace tervalen::drawing
