#pragma once
// What the calculation sheet records of a site checked with the rolling sphere: the site
// as it was checked (its radius, rods, conductors, wires and buildings), the basis of its
// radius, each roof checked at its own height and the verdict, which is 满足 only when
// every roof is protected.

#include <optional>
#include <string>
#include <vector>

#include "calc/sphere/engine.h"

namespace tervalen::sheet {

struct SiteCheck {
    sphere::Site site;
    // Where the radius comes from: the table of the design code and the category it
    // gives, or that a typed radius is none of the table's.
    std::string hrBasis;
    std::vector<sphere::RoofCheck> roofs;
    bool ok = false;  // every roof protected
    // The roofs as a project file saved them, where they differ from the ones computed
    // now (the record then carries a SheetRecord::mismatch); written back as they were
    // until the user takes the new ones.
    std::optional<std::vector<sphere::RoofCheck>> savedRoofs;
    bool operator==(const SiteCheck& other) const;
};

// Exactly the same site, object by object (the order kept).
bool sameSite(const sphere::Site& a, const sphere::Site& b);

}  // namespace tervalen::sheet
