#pragma once
// The plan of a site for the rolling sphere: the buildings' outlines with their names and
// roof heights, the rods as small circles with their tip heights, conductors as lines and
// wires as dashed lines, the protected region at each level outlined with its height,
// and the parts of each roof the sphere still reaches in red with the lowest point there
// marked. Plan coordinates in metres, as the site has them.

#include <string>
#include <vector>

#include "calc/sphere/engine.h"
#include "drawing/model.h"

namespace tervalen::drawing {

Drawing sitePlan(const sphere::Site& site, const std::vector<sphere::LevelRegion>& levels,
                 const std::vector<sphere::RoofCheck>& roofs, const std::string& title);

}  // namespace tervalen::drawing
