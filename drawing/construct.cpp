#include "drawing/construct.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/common/rolling_sphere.h"
#include "forms/display.h"

namespace tervalen::drawing {

std::string num(float value) {
    std::string s = forms::formatResult(value);
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

std::string num(double value) {
    return num(static_cast<float>(value));
}

double angleOf(Point c, Point p) {
    double a = std::atan2(p.y - c.y, p.x - c.x) * 180.0 / std::numbers::pi;
    if (a < 0) a += 360;
    return a >= 360 ? a - 360 : a;
}

double boundaryArc(Drawing& d, double x, double base, double h, double Hr, int side,
                   Stroke stroke) {
    const double r0 = reach(h, Hr, "r0");
    if (r0 <= 0) return 0;
    const Point c{x + side * r0, base + Hr};
    // Above the sphere radius the spheres of both sides meet below the top, at 2Hr − h.
    const Point start{x, base + std::min(h, 2 * Hr - h)};
    const double a = angleOf(c, start);
    d.add(side > 0 ? Arc{c, Hr, a, 270} : Arc{c, Hr, 270, a}, Layer::Range, stroke);
    cross(d, c, d.textHeight * 0.6, Layer::Aux);
    return r0;
}

double upperEdge(Drawing& d, double xa, double xb, double base, double h, double Hr) {
    const double ho = lowest(h, xb - xa, Hr, "Ho");
    const Point c{(xa + xb) / 2, base + Hr};
    d.add(Arc{c, Hr - ho, angleOf(c, {xa, base + h}), angleOf(c, {xb, base + h})}, Layer::Range);
    cross(d, c, d.textHeight * 0.6, Layer::Aux);
    return ho;
}

namespace {

constexpr int kSteps = 96;
// A claimed disc's ring: a polygon inscribed in it (so within it: the safe side), its
// chords no more than this far inside the circle.
constexpr double kChordSag = 0.001;

// Points a + t(b − a) + w(t)·n on the side(s) asked for, split where w(t) has no value.
template <class Width>
void offsetCurve(Drawing& d, Point a, Point b, int side, const std::vector<Place>& withdrawnBy,
                 Width&& width) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const Point n{-(b.y - a.y) / len, (b.x - a.x) / len};  // left of a→b
    for (int s : {1, -1}) {
        if (side != 0 && side != s) continue;
        Polyline run;
        double t0 = 0, t1 = 0;
        auto flush = [&] {
            if (run.points.size() >= 2) {
                d.add(run, Layer::Construction);
                // The area between the line and the curve, claimed protected.
                std::vector<Point> ring{{a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)}};
                ring.insert(ring.end(), run.points.begin(), run.points.end());
                ring.push_back({a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)});
                d.claimed.push_back({std::move(ring), withdrawnBy});
            }
            run.points.clear();
        };
        for (int i = 0; i <= kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            const std::optional<double> w = width(t);
            if (!w || *w < 0) {
                flush();
                continue;
            }
            if (run.points.empty()) t0 = t;
            t1 = t;
            run.points.push_back(
                {a.x + t * (b.x - a.x) + s * *w * n.x, a.y + t * (b.y - a.y) + s * *w * n.y});
        }
        flush();
    }
}

}  // namespace

void waist(Drawing& d, Point a, Point b, double h, double Hr, double reachHx, int side,
           const std::vector<Place>& withdrawnBy) {
    const double D = std::hypot(b.x - a.x, b.y - a.y);
    const double R = Hr - lowest(h, D, Hr, "Bx");
    offsetCurve(d, a, b, side, withdrawnBy, [&](double t) -> std::optional<double> {
        const double u = (t - 0.5) * D;
        const double edge = Hr - std::sqrt(std::max(0.0, R * R - u * u));
        if (edge < 0) return std::nullopt;  // the upper edge is below the ground here
        return reach(std::min(edge, h), Hr, "Bx") - reachHx;
    });
}

void strip(Drawing& d, Point a, Point b, double H, double sag, double Hr, double reachHx, int side,
           const std::vector<Place>& withdrawnBy) {
    offsetCurve(d, a, b, side, withdrawnBy, [&](double t) -> std::optional<double> {
        const double y = H - sag * 4 * t * (1 - t);
        if (y < 0) return std::nullopt;
        return reach(y, Hr, "Bx") - reachHx;
    });
}

void rangeCircle(Drawing& d, Point c, double r, const std::vector<Place>& withdrawnBy) {
    if (!(r > 0)) return;
    d.add(Circle{c, r}, Layer::Construction);
    // A chord of angle θ lies r(1 − cos θ/2) inside the circle.
    const double step = 2 * std::acos(std::max(0.0, 1 - kChordSag / r));
    const int n = std::clamp(static_cast<int>(std::ceil(2 * std::numbers::pi / step)), 16, 4096);
    // A radius printed to seven digits may stand a rounding above the exact one: the
    // polygon is drawn a millionth inside it.
    const double inscribed = r * (1 - 1e-6);
    std::vector<Point> ring;
    ring.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) ring.push_back(onCircle(c, inscribed, 360.0 * i / n));
    d.claimed.push_back({std::move(ring), withdrawnBy});
}

void claimPolygon(Drawing& d, std::vector<Point> ring, const std::vector<Place>& withdrawnBy) {
    d.claimed.push_back({std::move(ring), withdrawnBy});
}

void cross(Drawing& d, Point p, double size, Layer layer) {
    const double s = size / 2;
    d.add(Line{{p.x - s, p.y - s}, {p.x + s, p.y + s}}, layer);
    d.add(Line{{p.x - s, p.y + s}, {p.x + s, p.y - s}}, layer);
}

void rodMark(Drawing& d, Point p, double size) {
    d.add(Circle{p, size / 2}, Layer::Rod);
    d.add(Line{{p.x - size, p.y}, {p.x + size, p.y}}, Layer::Rod);
    d.add(Line{{p.x, p.y - size}, {p.x, p.y + size}}, Layer::Rod);
}

void dim(Drawing& d, Point a, Point b, const std::string& text, double th) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len > 1e-9) d.dimensions.push_back({a, b, d.items.size(), d.items.size() + 4});
    if (len > 1e-9) {
        d.add(Line{a, b}, Layer::Dim);
        const double t = th * 0.35;
        const Point u{(b.x - a.x) / len, (b.y - a.y) / len};
        // Oblique ticks, as architects dimension.
        const Point k{(u.x - u.y) * t, (u.y + u.x) * t};
        for (Point p : {a, b})
            d.add(Line{{p.x - k.x, p.y - k.y}, {p.x + k.x, p.y + k.y}}, Layer::Dim);
    }
    d.add(Text{{(a.x + b.x) / 2, (a.y + b.y) / 2 + th * 0.3}, text, th, Align::Centre}, Layer::Dim);
}

void hDim(Drawing& d, double xa, double xb, double y, const std::string& text, double th) {
    dim(d, {xa, y}, {xb, y}, text, th);
}

void vDim(Drawing& d, double x, double ya, double yb, const std::string& text, double th) {
    if (std::abs(yb - ya) > 1e-9) {
        d.dimensions.push_back({{x, ya}, {x, yb}, d.items.size(), d.items.size() + 4});
        d.add(Line{{x, ya}, {x, yb}}, Layer::Dim);
        const double t = th * 0.35;
        for (double y : {ya, yb}) d.add(Line{{x - t, y - t}, {x + t, y + t}}, Layer::Dim);
    }
    d.add(Text{{x - th * 0.4, (ya + yb) / 2 - th / 2}, text, th, Align::Right}, Layer::Dim);
}

void label(Drawing& d, Point at, std::string text, double th, Align align, bool warning) {
    d.add(Text{at, std::move(text), th, align, warning}, Layer::Text);
}

void uncoveredStretch(Drawing& d, double xa, double xb, double Hx) {
    if (xb - xa > 1e-9) d.add(Line{{xa, Hx}, {xb, Hx}}, Layer::Warn, Stroke::Solid, true);
}

namespace {

// A ring with a cross through it, the size of a text line.
void weakMark(Drawing& d, Point p) {
    const double r = d.textHeight * 0.9;
    d.add(Circle{p, r}, Layer::Warn, Stroke::Solid, true);
    const double s = r * 1.5 / std::sqrt(2.0);
    d.add(Line{{p.x - s, p.y - s}, {p.x + s, p.y + s}}, Layer::Warn, Stroke::Solid, true);
    d.add(Line{{p.x - s, p.y + s}, {p.x + s, p.y - s}}, Layer::Warn, Stroke::Solid, true);
}

}  // namespace

void markWeakPoints(Drawing& plan, const Warnings& warnings, const std::vector<WeakPlace>& places) {
    if (warnings.empty()) return;
    const double th = plan.textHeight;
    std::vector<Point> marked;
    for (const Warning& w : warnings)
        for (const WeakPlace& wp : places) {
            if (wp.place != w.place) continue;
            for (std::size_t i = 0; i < wp.at.size(); ++i) {
                const Point p = wp.at[i];
                // Two weak points at one place (the square's side and centre are apart,
                // but a place may be named twice): one mark.
                bool seen = false;
                for (Point q : marked)
                    seen = seen || (std::abs(q.x - p.x) < 1e-9 && std::abs(q.y - p.y) < 1e-9);
                if (seen) continue;
                marked.push_back(p);
                weakMark(plan, p);
                if (i == 0)
                    plan.add(Text{{p.x, p.y + th * 1.3},
                                  std::string(kUncovered),
                                  th,
                                  Align::Centre,
                                  true},
                             Layer::Warn);
            }
        }
    // The sentences, one a line, under everything.
    const auto b = plan.bounds();
    double y = b ? b->y0 - th * 2.5 : 0;
    const double x = b ? b->x0 : 0;
    for (const Warning& w : warnings) {
        plan.add(Text{{x, y}, sentence(w), th, Align::Left, true}, Layer::Warn);
        y -= th * 1.6;
    }
}

void translate(Drawing& d, double dx, double dy) {
    auto move = [&](Point& p) {
        p.x += dx;
        p.y += dy;
    };
    for (Part& p : d.parts) {
        p.ground += dy;
        move(p.origin);
    }
    for (ClaimedArea& area : d.claimed)
        for (Point& p : area.ring) move(p);
    for (Dimension& m : d.dimensions) {
        move(m.a);
        move(m.b);
    }
    for (Item& item : d.items) {
        std::visit(
            [&](auto& s) {
                using S = std::decay_t<decltype(s)>;
                if constexpr (std::is_same_v<S, Line>) {
                    move(s.a);
                    move(s.b);
                } else if constexpr (std::is_same_v<S, Polyline>) {
                    for (Point& p : s.points) move(p);
                } else if constexpr (std::is_same_v<S, Hatch>) {
                    for (auto& ring : s.rings)
                        for (Point& p : ring) move(p);
                } else if constexpr (std::is_same_v<S, Text>) {
                    move(s.at);
                } else {
                    move(s.c);
                }
            },
            item.shape);
    }
}

void appendBelow(Drawing& d, Drawing part, double gap) {
    const auto above = d.bounds();
    const auto below = part.bounds();
    if (!below) return;
    const double top = std::min(above ? above->y0 - gap : -gap, -gap);
    translate(part, 0, top - below->y1);
    const std::size_t offset = d.items.size();
    for (Item& item : part.items) d.items.push_back(std::move(item));
    for (Part p : part.parts) {
        p.begin += offset;
        p.end += offset;
        d.parts.push_back(p);
    }
    for (ClaimedArea& area : part.claimed) d.claimed.push_back(std::move(area));
    for (Dimension m : part.dimensions) {
        m.begin += offset;
        m.end += offset;
        d.dimensions.push_back(m);
    }
}

namespace {

// 1, 2 or 5 times a power of ten, near a fifth of the width.
double roundLength(double width) {
    const double target = std::max(width / 5, 1e-3);
    const double p = std::pow(10.0, std::floor(std::log10(target)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= target) return m * p;
    return p;
}

}  // namespace

void frame(Drawing& d, const std::string& title) {
    const auto b = d.bounds();
    if (!b) return;
    const double th = d.textHeight;
    d.add(Text{{(b->x0 + b->x1) / 2, b->y1 + th * 1.2}, title, th * kTitlePerText, Align::Centre},
          Layer::Text);
    const double L = roundLength(b->width());
    const double y = b->y0 - th * 2;
    const double x = b->x0;
    d.add(Polyline{{{x, y}, {x + L, y}}}, Layer::Dim);
    for (double f : {0.0, 0.5, 1.0})
        d.add(Line{{x + f * L, y}, {x + f * L, y + th * 0.5}}, Layer::Dim);
    d.add(Text{{x, y + th * 0.7}, "0", th, Align::Centre}, Layer::Dim);
    const Text length{{x + L, y + th * 0.7}, num(L) + " m", th, Align::Centre};
    d.add(length, Layer::Dim);
    d.add(Text{{textBox(length).x1 + th * 0.5, y - th / 2}, "比例尺（单位：米）", th, Align::Left},
          Layer::Text);
}

}  // namespace tervalen::drawing
