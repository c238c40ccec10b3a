#pragma once
// The plan of a site for the rolling sphere: the buildings' outlines with their names and
// roof heights, the rods as small circles with their tip heights, conductors as lines and
// wires as dashed lines, the protected region at each level outlined with its height,
// and the parts of each roof the sphere still reaches in red with the lowest point there
// marked. Plan coordinates in metres, as the site has them.
//
// In CAD each kind of thing is on a layer of its own: a building's outline on the layer it
// was imported from (kBuildingLayer for one drawn here), rods on LP-ROD, conductors on
// LP-CONDUCTOR, wires on LP-WIRE, the protected region at each level on a layer named
// with its height ("LP-PROTECT-24.000"), the roofs' uncovered parts on LP-UNCOVERED.

#include <string>
#include <vector>

#include "calc/sphere/engine.h"
#include "drawing/model.h"

namespace tervalen::drawing {

inline constexpr const char* kBuildingLayer = "LP-BUILDING";
inline constexpr const char* kConductorLayer = "LP-CONDUCTOR";
inline constexpr const char* kWireLayer = "LP-WIRE";
inline constexpr const char* kUncoveredLayer = "LP-UNCOVERED";
// "LP-PROTECT-24.000": the layer of the protected region at level z.
std::string protectedLayer(double z);

// The plan at the largest scale of the series at which it fits a room of widthMm ×
// heightMm on paper (an A3 sheet's by default; Drawing::scale says which, 0 when none
// does), its text at the drafting sizes there.
Drawing sitePlan(const sphere::Site& site, const std::vector<sphere::LevelRegion>& levels,
                 const std::vector<sphere::RoofCheck>& roofs, const std::string& title,
                 double widthMm = kA3RoomWidthMm, double heightMm = kA3RoomHeightMm);

}  // namespace tervalen::drawing
