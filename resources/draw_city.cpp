// The skyline: a tall lattice tower with its lightning rod and aviation
// lights, and two rows of buildings with lit windows.

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "background_scene.h"

namespace draw::scene {
namespace {

const QColor kSilhouette(9, 7, 20);

double towerHalfWidth(double y) {
    // A slender mast flaring out towards its footing.
    const double t = (y - kTowerTop) / (kHeight - kTowerTop);
    return 8 + 64 * std::pow(t, 1.6);
}

void aviationLight(QPainter& p, QPointF at, double size) {
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    QRadialGradient glow(at, size * 7);
    glow.setColorAt(0, QColor(255, 60, 40, 200));
    glow.setColorAt(0.25, QColor(200, 20, 10, 70));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at, size * 7, size * 7);
    p.setBrush(QColor(255, 190, 170));
    p.drawEllipse(at, size * 0.8, size * 0.8);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace

void paintTower(QPainter& p) {
    const double cx = kTowerX;
    QPolygonF left, right;
    std::vector<double> levels;
    for (double y = kTowerTop; y < kHeight + 40;) {
        levels.push_back(y);
        left << QPointF(cx - towerHalfWidth(y), y);
        right << QPointF(cx + towerHalfWidth(y), y);
        y += std::max(12.0, towerHalfWidth(y) * 1.3);  // square-ish panels
    }

    p.setBrush(Qt::NoBrush);
    // Cross bracing and horizontals of every panel.
    p.setPen(QPen(kSilhouette, 1.4));
    for (size_t i = 0; i + 1 < levels.size(); ++i) {
        p.drawLine(left[i], right[i + 1]);
        p.drawLine(right[i], left[i + 1]);
        p.drawLine(left[i], right[i]);
    }
    // The four corner legs seen as two, heavier.
    p.setPen(QPen(kSilhouette, 4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPolyline(left);
    p.drawPolyline(right);
    // The flash catches the right-hand leg.
    p.setPen(QPen(QColor(150, 130, 230, 110), 1.2));
    p.drawPolyline(right.translated(2, 0));

    // Two service platforms with their dish antennas.
    p.setPen(Qt::NoPen);
    p.setBrush(kSilhouette);
    for (double y : {530.0, 790.0}) {
        const double w = towerHalfWidth(y) + 22;
        p.drawRect(QRectF(cx - w, y - 3, 2 * w, 6));
        p.drawRect(QRectF(cx - w, y - 12, 2, 12));
        p.drawRect(QRectF(cx + w - 2, y - 12, 2, 12));
        p.drawRect(QRectF(cx - w, y - 12, 2 * w, 1.5));
        p.drawEllipse(QPointF(cx - w + 6, y - 20), 5, 9);
        p.drawEllipse(QPointF(cx + w - 8, y - 22), 6, 10);
    }

    // Antenna mast above the lattice, then the lightning rod with its point.
    p.drawRect(QRectF(cx - 6, 250, 12, kTowerTop - 250 + 2));
    p.drawRect(QRectF(cx - 3, 185, 6, 66));
    p.drawRect(QRectF(cx - 1, 130, 2, 56));
    p.drawPolygon(QPolygonF{QPointF(cx - 1.4, 132), QPointF(cx + 1.4, 132), QPointF(cx, 112)});
    p.setPen(QPen(QColor(150, 130, 230, 110), 1));
    p.drawLine(QPointF(cx + 7, 252), QPointF(cx + 7, kTowerTop));
    p.drawLine(QPointF(cx + 4, 187), QPointF(cx + 4, 250));

    for (double y : {186.0, 252.0, 372.0}) aviationLight(p, QPointF(cx, y), 2.6);
    for (double y : {530.0, 790.0}) {
        const double w = towerHalfWidth(y) + 22;
        aviationLight(p, QPointF(cx - w + 1, y - 13), 2.2);
        aviationLight(p, QPointF(cx + w - 1, y - 13), 2.2);
    }
}

namespace {

void paintWindows(QPainter& p, const QRectF& building, const SkylineLayer& layer, Random& rnd) {
    const double pitchX = layer.windowSize * 2.2, pitchY = layer.windowSize * 2.6;
    const double litShare = rnd.uniform(0.12, 0.5);
    const QColor warm[] = {QColor(255, 196, 110), QColor(255, 222, 160), QColor(255, 170, 80)};
    const QColor cool(170, 200, 255);
    for (double y = building.top() + 8; y + layer.windowSize < kHeight; y += pitchY) {
        // Offices light up floor by floor.
        const double floorShare = rnd.chance(0.2) ? litShare * 2.5 : litShare * 0.6;
        for (double x = building.left() + 4; x + layer.windowSize < building.right() - 3;
             x += pitchX) {
            if (!rnd.chance(floorShare)) continue;
            QColor c = rnd.chance(0.15) ? cool : warm[rnd.integer(0, 2)];
            c.setAlphaF(std::clamp(layer.windowScale * rnd.uniform(0.55, 1.0), 0.0, 1.0));
            p.fillRect(QRectF(x, y, layer.windowSize, layer.windowSize * 1.3), c);
        }
    }
}

// Buildings stay low where they would hide the strike point and, in the row
// in front of the tower, its foot.
double heightLimit(double centre, bool inFrontOfTower) {
    double limit = kHeight;
    if (std::abs(centre - kBoltEnd.x()) < 60) limit = kHeight - kBoltEnd.y() + 4;
    if (inFrontOfTower && std::abs(centre - kTowerX) < 70) limit = 70;
    return limit;
}

}  // namespace

void paintSkyline(QPainter& p, const SkylineLayer& layer, Random& rnd, bool inFrontOfTower) {
    for (double x = -rnd.uniform(0, 40); x < kWidth;) {
        const double w = rnd.uniform(34, 96);
        double h = rnd.uniform(layer.minHeight, layer.maxHeight);
        // A few towers rise well above the rest.
        if (rnd.chance(0.12)) h *= 1.5;
        h = std::min(h, heightLimit(x + w / 2, inFrontOfTower));
        const QRectF body(x, kHeight - h, w, h);
        p.fillRect(body, layer.body);
        // Stepped crowns and rooftop masts break the straight edges.
        if (rnd.chance(0.35)) {
            p.fillRect(QRectF(x + w * 0.2, body.top() - 14, w * 0.6, 14), layer.body);
        }
        if (rnd.chance(0.25)) {
            const double mx = x + rnd.uniform(0.3, 0.7) * w;
            p.fillRect(QRectF(mx - 1, body.top() - 40, 2, 40), layer.body);
        }
        paintWindows(p, body, layer, rnd);
        x += w + rnd.uniform(-6, 4);
    }
}

void paintCityGlow(QPainter& p, double from, int alpha) {
    QLinearGradient haze(0, from, 0, kHeight);
    haze.setColorAt(0, QColor(0, 0, 0, 0));
    haze.setColorAt(0.55, QColor(220, 110, 50, alpha / 2));
    haze.setColorAt(1, QColor(255, 150, 60, alpha));
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.fillRect(QRectF(0, from, kWidth, kHeight - from), haze);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace draw::scene
