#include "calc/sphere/site.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calc/common/rolling_sphere.h"

namespace tervalen::sphere {
namespace {

// Beyond these the metres lose the millimetres the method works in.
constexpr double kMaxCoordinate = 1e5;
constexpr double kMaxRadius = 1e3;

bool usable(double v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate;
}

std::string nth(std::size_t i, const char* what) {
    return "第 " + std::to_string(i + 1) + " " + what;
}

double cross(Point2 o, Point2 a, Point2 b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Whether the closed segments ab and cd meet.
bool segmentsMeet(Point2 a, Point2 b, Point2 c, Point2 d) {
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    auto onSegment = [](Point2 p, Point2 q, Point2 r) {  // r on pq, given collinear
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) &&
               std::min(p.y, q.y) <= r.y && r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) ||
           (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

std::string outlineProblem(const std::vector<Point2>& o) {
    if (o.size() < 3) return "的轮廓少于 3 个角点";
    for (const Point2& p : o)
        if (!usable(p.x) || !usable(p.y)) return "的轮廓坐标不是有限的数或超出 ±100 km";
    double area = 0;
    for (std::size_t i = 0; i < o.size(); ++i) {
        const Point2& a = o[i];
        const Point2& b = o[(i + 1) % o.size()];
        area += a.x * b.y - b.x * a.y;
    }
    if (!(std::fabs(area) / 2 > 1e-6)) return "的轮廓面积为零";
    const std::size_t n = o.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            // Neighbouring edges share a corner: they may only meet there.
            const bool next = j == i + 1, wrap = i == 0 && j == n - 1;
            const Point2 a = o[i], b = o[(i + 1) % n], c = o[j], d = o[(j + 1) % n];
            if (next || wrap) {
                // Folding back onto itself: the shared corner's edges overlap.
                const Point2 shared = next ? b : a;
                const Point2 u = next ? a : b, v = next ? d : c;
                if (cross(shared, u, v) == 0 &&
                    (u.x - shared.x) * (v.x - shared.x) + (u.y - shared.y) * (v.y - shared.y) > 0)
                    return "的轮廓自相交";
                continue;
            }
            if (segmentsMeet(a, b, c, d)) return "的轮廓自相交";
        }
    return {};
}

}  // namespace

std::optional<double> sagOf(const Wire& wire) {
    if (wire.sag) return wire.sag;
    const double span = std::hypot(wire.to.x - wire.from.x, wire.to.y - wire.from.y);
    if (const auto rule = sagFor(static_cast<float>(span))) return static_cast<double>(*rule);
    return std::nullopt;
}

std::string problemOf(const Site& site) {
    if (!std::isfinite(site.hr) || !(site.hr > 0) || site.hr > kMaxRadius)
        return "滚球半径 hr 应为大于 0、不超过 1000 m 的数";
    for (std::size_t i = 0; i < site.rods.size(); ++i) {
        const Rod& r = site.rods[i];
        const std::string who = nth(i, "根接闪杆");
        if (!usable(r.x) || !usable(r.y) || !usable(r.base) || !usable(r.tip))
            return who + "的坐标不是有限的数或超出 ±100 km";
        if (r.base < 0) return who + "的底高低于地面";
        if (r.tip < r.base) return who + "的顶高低于底高";
    }
    auto pointProblem = [](const Point3& p) {
        return !usable(p.x) || !usable(p.y) || !usable(p.z) || p.z < 0;
    };
    for (std::size_t i = 0; i < site.conductors.size(); ++i) {
        const Conductor& c = site.conductors[i];
        if (pointProblem(c.from) || pointProblem(c.to))
            return nth(i, "根接闪导体") + "的端点不是有限的数、超出 ±100 km 或低于地面";
    }
    for (std::size_t i = 0; i < site.wires.size(); ++i) {
        const Wire& w = site.wires[i];
        const std::string who = nth(i, "根接闪线");
        if (pointProblem(w.from) || pointProblem(w.to))
            return who + "的支点不是有限的数、超出 ±100 km 或低于地面";
        const double span = std::hypot(w.to.x - w.from.x, w.to.y - w.from.y);
        if (!(span > 1e-3)) return who + "的两支点在平面上重合";
        if (w.sag && (!std::isfinite(*w.sag) || *w.sag < 0)) return who + "的弧垂应为不小于 0 的数";
        const auto sag = sagOf(w);
        if (!sag) return who + "的档距超过 150 m，须给出弧垂 sag";
        // The lowest point of the parabola stays above the ground.
        const double s = w.to.z - w.from.z, f = *sag;
        double lowest = std::min(w.from.z, w.to.z);
        if (f > 0) {
            const double t = std::clamp((4 * f - s) / (8 * f), 0.0, 1.0);
            lowest = std::min(lowest, w.from.z + s * t - 4 * f * t * (1 - t));
        }
        if (lowest < 0) return who + "的弧垂过大，最低点低于地面";
    }
    for (std::size_t i = 0; i < site.buildings.size(); ++i) {
        const Building& b = site.buildings[i];
        const std::string who = nth(i, "座建筑物");
        if (!usable(b.base) || !usable(b.roof)) return who + "的高度不是有限的数或超出 ±100 km";
        if (b.base < 0) return who + "的底高低于地面";
        if (b.roof < b.base) return who + "的屋面高度低于底高";
        if (const std::string why = outlineProblem(b.outline); !why.empty()) return who + why;
    }
    return {};
}

}  // namespace tervalen::sphere
