#pragma once
// The section through a row of rods (one or two, or a side or diagonal of a figure):
// ground, rods, the line at Hr, the boundary arcs and the upper edge with their centres,
// the plane Hx with its intersections, and the dimensions H, Hx, Hr, Rx, r0 and Ho.

#include <optional>
#include <string>
#include <vector>

#include "drawing/layouts.h"
#include "drawing/model.h"

namespace tervalen::drawing {

struct RowSection {
    float Hr, H, Hx;
    Footing footing;
    std::vector<double> xs;                  // the rods' feet, one or two
    float Rx;                                // printed radius at the outer ends
    std::optional<float> Ho = std::nullopt;  // printed lowest point between two rods
    std::string HoName = "Ho";
    std::string heading = "剖面";
};

// The height above the ground that counts for the sphere, and the plane's own reach.
double sphereBase(const Footing& f, float Hx);
double planeReach(const Footing& f, float Hr, float Hx);

void rowSection(Drawing& d, const RowSection& s);

}  // namespace tervalen::drawing
