#include "drawing/finite.h"

#include <cmath>

namespace tervalen::drawing {
namespace {

bool finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

struct Finite {
    bool operator()(const Line& l) const { return finite(l.a) && finite(l.b); }
    bool operator()(const Arc& a) const {
        return finite(a.c) && std::isfinite(a.r) && std::isfinite(a.startDeg) &&
               std::isfinite(a.endDeg);
    }
    bool operator()(const Circle& c) const { return finite(c.c) && std::isfinite(c.r); }
    bool operator()(const Polyline& p) const {
        for (const Point& q : p.points)
            if (!finite(q)) return false;
        return true;
    }
    bool operator()(const Hatch& h) const {
        for (const auto& ring : h.rings)
            for (const Point& q : ring)
                if (!finite(q)) return false;
        return true;
    }
    bool operator()(const Text& t) const { return finite(t.at) && std::isfinite(t.height); }
};

}  // namespace

bool allFinite(const Drawing& d) {
    if (!std::isfinite(d.textHeight)) return false;
    for (const Item& item : d.items)
        if (!std::visit(Finite{}, item.shape)) return false;
    return true;
}

}  // namespace tervalen::drawing
