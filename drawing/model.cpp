#include "drawing/model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "forms/utf8.h"

namespace tervalen::drawing {

const LayerStyle& styleOf(Layer layer) {
    for (const LayerStyle& s : kLayerStyles)
        if (s.layer == layer) return s;
    return kLayerStyles[0];
}

const char* layerName(Layer layer) {
    return styleOf(layer).name;
}

double arcSpan(const Arc& a) {
    const double span = std::fmod(a.endDeg - a.startDeg, 360.0);
    return span < 0 ? span + 360 : span;
}

Point onCircle(Point c, double r, double deg) {
    const double a = deg * std::numbers::pi / 180.0;
    return {c.x + r * std::cos(a), c.y + r * std::sin(a)};
}

bool wideCharacter(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

// Glyphs reach a quarter of the cap height below the baseline.
double textWidth(const Text& t) {
    double w = 0;
    for (char32_t c : forms::decodeUtf8(t.text)) w += wideCharacter(c) ? kEmPerCapHeight : 0.8;
    return w * t.height;
}

Box textBox(const Text& t) {
    const double w = textWidth(t);
    const double x0 = t.align == Align::Left     ? t.at.x
                      : t.align == Align::Centre ? t.at.x - w / 2
                                                 : t.at.x - w;
    return {x0, t.at.y - 0.3 * t.height, x0 + w, t.at.y + 1.25 * t.height};
}

namespace {

struct Extent {
    std::optional<Box> box;
    void add(Point p) {
        if (!box) box = Box{p.x, p.y, p.x, p.y};
        box->x0 = std::min(box->x0, p.x);
        box->y0 = std::min(box->y0, p.y);
        box->x1 = std::max(box->x1, p.x);
        box->y1 = std::max(box->y1, p.y);
    }
    void add(const Line& l) {
        add(l.a);
        add(l.b);
    }
    void add(const Circle& c) {
        add(Point{c.c.x - c.r, c.c.y - c.r});
        add(Point{c.c.x + c.r, c.c.y + c.r});
    }
    void add(const Arc& a) {
        const double end = a.startDeg + arcSpan(a);
        add(onCircle(a.c, a.r, a.startDeg));
        add(onCircle(a.c, a.r, end));
        // The quadrant points the arc passes.
        for (double q = std::ceil(a.startDeg / 90) * 90; q < end; q += 90)
            add(onCircle(a.c, a.r, q));
    }
    void add(const Polyline& p) {
        for (Point q : p.points) add(q);
    }
    void add(const Hatch& h) {
        for (const auto& ring : h.rings)
            for (Point q : ring) add(q);
    }
    void add(const Text& t) {
        const Box b = textBox(t);
        add(Point{b.x0, b.y0});
        add(Point{b.x1, b.y1});
    }
};

}  // namespace

// Out of line: inlined, gcc 12 takes the moved variant for uninitialised.
void Drawing::add(Shape shape, Layer layer, Stroke stroke, bool warning) {
    items.push_back({std::move(shape), layer, stroke, warning});
}

void Drawing::endPart(Part::Kind kind, double ground) {
    const std::size_t begin = parts.empty() ? 0 : parts.back().end;
    parts.push_back({kind, ground, begin, items.size(), {}});
}

bool isWarning(const Item& item) {
    if (item.warning) return true;
    const auto* t = std::get_if<Text>(&item.shape);
    return t && t->warning;
}

std::optional<Box> Drawing::bounds() const {
    Extent e;
    for (const Item& item : items) std::visit([&](const auto& s) { e.add(s); }, item.shape);
    return e.box;
}

int roundScale(const Drawing& d, double widthMm, double heightMm) {
    const auto b = d.bounds();
    if (!b) return 0;
    // Millimetres on paper at 1:1.
    const double w = (b->width() + 2 * d.margin()) * 1000,
                 h = (b->height() + 2 * d.margin()) * 1000;
    for (double k = 10; k < 1e7; k *= 10)
        for (double m : kScaleSteps)
            if (w / (m * k) <= widthMm && h / (m * k) <= heightMm)
                return static_cast<int>(std::lround(m * k));
    return 0;
}

}  // namespace tervalen::drawing
