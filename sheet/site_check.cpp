#include "sheet/site_check.h"

#include <algorithm>

namespace tervalen::sheet {
namespace {

// Each kind of thing compared field by field (declared first: the list's comparison below
// calls them for its elements).
bool same(const sphere::Building& a, const sphere::Building& b);
bool same(const sphere::Polygon& a, const sphere::Polygon& b);
bool same(const sphere::RoofCheck& a, const sphere::RoofCheck& b);

bool same(const sphere::Point2& a, const sphere::Point2& b) {
    return a.x == b.x && a.y == b.y;
}
bool same(const sphere::Point3& a, const sphere::Point3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool same(const sphere::Rod& a, const sphere::Rod& b) {
    return a.x == b.x && a.y == b.y && a.base == b.base && a.tip == b.tip;
}
bool same(const sphere::Conductor& a, const sphere::Conductor& b) {
    return same(a.from, b.from) && same(a.to, b.to);
}
bool same(const sphere::Wire& a, const sphere::Wire& b) {
    return same(a.from, b.from) && same(a.to, b.to) && a.sag == b.sag;
}
template <class T>
bool same(const std::vector<T>& a, const std::vector<T>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const T& x, const T& y) { return same(x, y); });
}
bool same(const sphere::Building& a, const sphere::Building& b) {
    return a.name == b.name && same(a.outline, b.outline) && a.base == b.base && a.roof == b.roof &&
           a.layer == b.layer;
}
bool same(const sphere::Polygon& a, const sphere::Polygon& b) {
    return same(a.outer, b.outer) && same(a.holes, b.holes);
}
bool same(const sphere::RoofCheck& a, const sphere::RoofCheck& b) {
    return a.name == b.name && a.height == b.height && same(a.uncovered, b.uncovered) &&
           a.uncoveredArea == b.uncoveredArea && same(a.worst.at, b.worst.at) &&
           a.worst.s == b.worst.s && a.ok == b.ok;
}
}  // namespace

bool sameSite(const sphere::Site& a, const sphere::Site& b) {
    return a.hr == b.hr && same(a.rods, b.rods) && same(a.conductors, b.conductors) &&
           same(a.wires, b.wires) && same(a.buildings, b.buildings);
}

bool SiteCheck::operator==(const SiteCheck& o) const {
    if (savedRoofs.has_value() != o.savedRoofs.has_value()) return false;
    if (savedRoofs && !same(*savedRoofs, *o.savedRoofs)) return false;
    return sameSite(site, o.site) && hrBasis == o.hrBasis && same(roofs, o.roofs) && ok == o.ok;
}

}  // namespace tervalen::sheet
