// The lightning bolt: a main channel by recursive midpoint displacement,
// forking branches, and a glow built from layered strokes.

#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "background_scene.h"

namespace draw::scene {
namespace {

// Recursive midpoint displacement: move each midpoint sideways by a random
// share of the segment's length, so every scale gets the same jaggedness.
void displace(QPointF a, QPointF b, double roughness, Random& rnd, QPolygonF& out) {
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    // Below this the channel runs straight: real strokes kink, they do not wiggle.
    if (length < 11) {
        out << b;
        return;
    }
    const QPointF normal(-d.y() / length, d.x() / length);
    const double offset = std::clamp(rnd.gauss(), -2.0, 2.0) * roughness * length;
    const QPointF mid = (a + b) / 2 + normal * offset;
    displace(a, mid, roughness, rnd, out);
    displace(mid, b, roughness, rnd, out);
}

QPolygonF jaggedLine(QPointF a, QPointF b, double roughness, Random& rnd) {
    QPolygonF points{a};
    displace(a, b, roughness, rnd, points);
    return points;
}

// A branch leaves `from` at `angle` (radians from straight down), forks again
// while it is young, and dims with each generation.
void growBranch(QPointF from, double angle, double length, double intensity, int generation,
                Random& rnd, std::vector<Stroke>& strokes) {
    const QPointF to = from + QPointF(std::sin(angle), std::cos(angle)) * length;
    const QPolygonF points = jaggedLine(from, to, 0.2, rnd);
    // A branch fades towards its tip: drawn as three pieces, each dimmer.
    const int n = points.size();
    for (int piece = 0; piece < 3; ++piece) {
        const int first = piece * (n - 1) / 3, last = (piece + 1) * (n - 1) / 3;
        if (last > first)
            strokes.push_back({points.mid(first, last - first + 1), intensity * (1 - 0.3 * piece)});
    }
    if (generation >= 2) return;
    for (int i = 1; i < n - 3; ++i) {
        if (!rnd.chance(0.06)) continue;
        const double t = double(i) / n;
        const double side = rnd.chance(0.5) ? -1 : 1;
        // Forks keep heading downwards.
        const double forkAngle = std::clamp(angle + side * rnd.uniform(0.3, 0.8), -1.2, 1.2);
        growBranch(points[i], forkAngle, length * (1 - t) * 0.5, intensity * 0.6, generation + 1,
                   rnd, strokes);
    }
}

}  // namespace

std::vector<Stroke> makeBolt(Random& rnd) {
    // A few waypoints give the channel its large-scale wander; displacement
    // adds the small kinks.
    QPolygonF channel{kBoltStart};
    QPointF previous = kBoltStart;
    constexpr int kWaypoints = 6;
    for (int i = 1; i <= kWaypoints; ++i) {
        const double t = double(i) / kWaypoints;
        QPointF next = kBoltStart + (kBoltEnd - kBoltStart) * t;
        if (i < kWaypoints) next.rx() += rnd.uniform(-70, 70);
        channel << jaggedLine(previous, next, 0.14, rnd).mid(1);
        previous = next;
    }
    std::vector<Stroke> strokes{{channel, 1.0}};

    for (int i = 4; i < channel.size() * 3 / 4; ++i) {
        if (!rnd.chance(0.045)) continue;
        const double t = double(i) / channel.size();
        const double side = rnd.chance(0.5) ? -1 : 1;
        growBranch(channel[i], side * rnd.uniform(0.35, 0.9), rnd.uniform(160, 360) * (1.2 - t),
                   0.6, 1, rnd, strokes);
    }
    return strokes;
}

// Glow by several strokes of decreasing width and increasing strength, added
// on top of each other; the white core last.
void paintBolt(QPainter& p, const std::vector<Stroke>& strokes) {
    struct Layer {
        double width;
        QColor colour;
    };
    // Many thin steps, so the halo fades without visible rings.
    const Layer layers[] = {
        {64, QColor(80, 60, 200, 6)},      {44, QColor(95, 75, 215, 8)},
        {30, QColor(110, 90, 230, 11)},    {20, QColor(130, 110, 245, 16)},
        {13, QColor(150, 130, 255, 26)},   {8, QColor(175, 160, 255, 45)},
        {5, QColor(200, 190, 255, 90)},    {3.2, QColor(235, 230, 255, 190)},
        {1.8, QColor(255, 255, 255, 255)},
    };
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    for (const Stroke& stroke : strokes) {
        QPainterPath path;
        path.addPolygon(stroke.points);
        const double scale = 0.35 + 0.65 * stroke.intensity;
        for (const Layer& layer : layers) {
            QColor c = layer.colour;
            c.setAlphaF(c.alphaF() * stroke.intensity);
            p.setPen(QPen(c, layer.width * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(path);
        }
    }
    // The air around the strike point glows too.
    QRadialGradient impact(kBoltEnd, 190);
    impact.setColorAt(0, QColor(200, 180, 255, 150));
    impact.setColorAt(0.3, QColor(120, 90, 220, 50));
    impact.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(impact);
    p.drawEllipse(kBoltEnd, 190, 190);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

FlashLight::FlashLight(const QPolygonF& channel) {
    for (int i = 0; i < channel.size(); i += 12) m_samples.push_back(channel[i]);
}

double FlashLight::at(double x, double y) const {
    double nearest = 1e18;
    for (const QPointF& s : m_samples) {
        nearest = std::min(nearest, (s.x() - x) * (s.x() - x) + (s.y() - y) * (s.y() - y));
    }
    const double fromChannel = std::exp(-nearest / (2 * 150.0 * 150.0));
    const double fromCloud =
        std::exp(-((x - kBoltStart.x()) * (x - kBoltStart.x()) + (y - 60) * (y - 60) * 2.5) /
                 (2 * 330.0 * 330.0));
    return std::min(1.0, 0.55 * fromChannel + 0.9 * fromCloud);
}

}  // namespace draw::scene
