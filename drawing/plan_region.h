#pragma once
// The protected region of a plan at Hx as one closed outline: the union of the areas the
// closed formulas claim (the Rx circles, the waists between rods, the strips along wires,
// a figure's inside), found with polygon operations in a few milliseconds. An area whose
// place the unit found the sphere reaching (a weak point) is not drawn protected: what of
// it lies outside the rest is hatched and outlined in red instead.

#include <vector>

#include "calc/common/warning.h"
#include "drawing/model.h"

namespace tervalen::drawing {

// Polygons as rings: each polygon's outer ring first, then its holes.
using Rings = std::vector<std::vector<Point>>;
struct PlanRegion {
    std::vector<Rings> covered;  // the claims no weak point withdraws, united
    std::vector<Rings> unsafe;   // the withdrawn claims, outside `covered`
};

// The region from the claims and the unit's weak points.
PlanRegion planRegion(const std::vector<ClaimedArea>& claimed, const Warnings& warnings);

// Puts the plan's region under everything drawn in it so far: a light hatch and each
// ring's closed outline on Range, the unsafe part hatched and outlined in red on Warn.
void addRegion(Drawing& plan, const Warnings& warnings);

}  // namespace tervalen::drawing
