#include "drawing/labels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tervalen::drawing {
namespace {

struct Segment {
    Point a, b;
};

// An item other than text as segments, with the box around them. A filled area is no
// obstacle: a label over its light fill reads (its outline is drawn as a line of its own).
struct Obstacle {
    Box box;
    std::vector<Segment> segments;
};

Box boxOf(const std::vector<Segment>& segments) {
    Box b{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
          std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const Segment& s : segments)
        for (Point p : {s.a, s.b}) {
            b.x0 = std::min(b.x0, p.x);
            b.y0 = std::min(b.y0, p.y);
            b.x1 = std::max(b.x1, p.x);
            b.y1 = std::max(b.y1, p.y);
        }
    return b;
}

void arcSegments(std::vector<Segment>& out, Point c, double r, double from, double span) {
    const int n = std::max(2, static_cast<int>(std::ceil(span / 5)));
    for (int i = 0; i < n; ++i)
        out.push_back(
            {onCircle(c, r, from + span * i / n), onCircle(c, r, from + span * (i + 1) / n)});
}

std::optional<Obstacle> obstacleOf(const Shape& shape) {
    std::vector<Segment> s;
    if (const auto* l = std::get_if<Line>(&shape)) {
        s.push_back({l->a, l->b});
    } else if (const auto* p = std::get_if<Polyline>(&shape)) {
        for (std::size_t i = 1; i < p->points.size(); ++i)
            s.push_back({p->points[i - 1], p->points[i]});
        if (p->closed && p->points.size() > 2) s.push_back({p->points.back(), p->points.front()});
    } else if (const auto* a = std::get_if<Arc>(&shape)) {
        arcSegments(s, a->c, a->r, a->startDeg, arcSpan(*a));
    } else if (const auto* c = std::get_if<Circle>(&shape)) {
        arcSegments(s, c->c, c->r, 0, 360);
    }
    if (s.empty()) return std::nullopt;
    return Obstacle{boxOf(s), std::move(s)};
}

bool inside(Point p, const Box& b) {
    return p.x > b.x0 && p.x < b.x1 && p.y > b.y0 && p.y < b.y1;
}

// Whether the segment passes through the box (Liang–Barsky clipping).
bool crosses(const Segment& s, const Box& b) {
    if (inside(s.a, b) || inside(s.b, b)) return true;
    const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    double t0 = 0, t1 = 1;
    const std::array<std::pair<double, double>, 4> edges{
        {{-dx, s.a.x - b.x0}, {dx, b.x1 - s.a.x}, {-dy, s.a.y - b.y0}, {dy, b.y1 - s.a.y}}};
    for (auto [p, q] : edges) {
        if (std::abs(p) < 1e-15) {
            if (q <= 0) return false;
            continue;
        }
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 >= t1) return false;
    }
    return true;
}

Box moved(Box b, double dx, double dy) {
    return {b.x0 + dx, b.y0 + dy, b.x1 + dx, b.y1 + dy};
}

// The point of the box nearest to p.
Point nearest(const Box& b, Point p) {
    return {std::clamp(p.x, b.x0, b.x1), std::clamp(p.y, b.y0, b.y1)};
}

Box shrunk(const Box& b, double by) {
    return {b.x0 + by, b.y0 + by, b.x1 - by, b.y1 - by};
}

// The leader of a text in the box b back to the point it labels: from the edge of the
// box nearest to the point, so that it never runs through its own text; none when the
// text stands within a line of the point (it reads as the point's without one).
std::optional<Segment> leaderOf(const Box& b, Point anchor, double h) {
    const Point from = nearest(b, anchor);
    if (std::hypot(anchor.x - from.x, anchor.y - from.y) < 1.0 * h) return std::nullopt;
    return Segment{from, anchor};
}

}  // namespace

bool overlaps(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

void placeLabels(Drawing& d) {
    std::vector<Obstacle> lines;
    for (const Item& item : d.items)
        if (auto o = obstacleOf(item.shape)) lines.push_back(std::move(*o));

    // The moves tried, nearest first: up and down by steps of a text line, along by steps
    // of half the text's width, and both.
    struct Move {
        double dx, dy;  // in text widths and text heights
        double cost;
    };
    std::vector<Move> moves;
    for (int i = -10; i <= 10; ++i)
        for (int j = -4; j <= 4; ++j) {
            const double dy = 0.75 * i, dx = 0.5 * j;
            moves.push_back({dx, dy, std::hypot(dy, dx * 3)});
        }
    std::stable_sort(moves.begin(), moves.end(),
                     [](const Move& a, const Move& b) { return a.cost < b.cost; });

    // A section's texts stay above its ground: nothing of a section lies under it.
    auto floorOf = [&](std::size_t index) -> std::optional<double> {
        for (const Part& p : d.parts)
            if (p.kind == Part::Kind::Section && index >= p.begin && index < p.end) return p.ground;
        return std::nullopt;
    };

    std::vector<Box> placed;
    std::vector<Item> leaders;
    std::vector<Segment> leaderSegments;
    for (std::size_t index = 0; index < d.items.size(); ++index) {
        Item& item = d.items[index];
        auto* t = std::get_if<Text>(&item.shape);
        if (!t) continue;
        const std::optional<double> floor = floorOf(index);
        const Box home = textBox(*t);
        const double w = home.width(), h = t->height;
        // A little inside the box: a line that only grazes it does not count.
        const double inset = 0.1 * h;
        // The point the text labels.
        const Point anchor{t->at.x, t->at.y + 0.4 * h};
        double best = std::numeric_limits<double>::max();
        Move chosen{0, 0, 0};
        for (const Move& m : moves) {
            if (m.cost * 2 >= best) break;  // nothing further can do better
            const Box b = moved(home, m.dx * w, m.dy * h);
            const Box core{b.x0 + inset, b.y0 + inset, b.x1 - inset, b.y1 - inset};
            double cost = m.cost * 2;
            if (floor && b.y0 < *floor - 1e-9) cost += 1e6;
            for (const Box& p : placed)
                if (overlaps(b, p)) cost += 1000;
            for (const Obstacle& o : lines) {
                if (!overlaps(core, o.box)) continue;
                for (const Segment& s : o.segments)
                    if (crosses(s, core)) {
                        cost += 10;
                        break;
                    }
            }
            // Another text's leader through this one, or this one's leader through another.
            for (const Segment& s : leaderSegments)
                if (crosses(s, shrunk(b, 0.01 * h))) cost += 1000;
            if (const auto l = leaderOf(b, anchor, h))
                for (const Box& p : placed)
                    if (crosses(*l, shrunk(p, 0.01 * h))) cost += 1000;
            if (cost < best) {
                best = cost;
                chosen = m;
            }
        }
        const double dx = chosen.dx * w, dy = chosen.dy * h;
        const Box b = moved(home, dx, dy);
        placed.push_back(b);
        if (dx == 0 && dy == 0) continue;
        t->at.x += dx;
        t->at.y += dy;
        if (const auto l = leaderOf(b, anchor, h)) {
            leaderSegments.push_back(*l);
            leaders.push_back({Line{l->a, l->b}, item.layer, Stroke::Thin});
        }
    }
    for (Item& l : leaders) d.items.push_back(std::move(l));
}

}  // namespace tervalen::drawing
