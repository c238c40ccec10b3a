#pragma once

// The layout of the background picture and the pieces drawn over its sky:
// the lightning bolt, the tower and the city.

#include <QPainter>
#include <QPolygonF>
#include <vector>

#include "draw_common.h"

namespace draw::scene {

inline constexpr int kWidth = 932;
inline constexpr int kHeight = 1270;

// Where the bolt leaves the cloud and where it meets the ground (behind the
// far buildings); the tower stands to its left.
inline const QPointF kBoltStart(655, -20);
inline const QPointF kBoltEnd(560, 1125);
inline constexpr double kTowerX = 300;
inline constexpr double kTowerTop = 372;  // top of the lattice; the mast and rod rise above

// ---- lightning (draw_lightning.cpp)

struct Stroke {
    QPolygonF points;
    double intensity;  // 1 for the main channel, less for branches
};

// The main channel first, then its branches.
std::vector<Stroke> makeBolt(Random& rnd);
void paintBolt(QPainter& p, const std::vector<Stroke>& strokes);

// How strongly the flash lights a point (0..1): falls off with the distance
// to the main channel, strongest at the cloud base it leaves.
class FlashLight {
public:
    explicit FlashLight(const QPolygonF& channel);
    double at(double x, double y) const;

private:
    std::vector<QPointF> m_samples;
};

// ---- tower and city (draw_city.cpp)

void paintTower(QPainter& p);

struct SkylineLayer {
    int minHeight, maxHeight;
    QColor body;
    double windowSize;   // edge of a window in pixels
    double windowScale;  // how bright lit windows are
};

// One row of buildings standing on the bottom edge, with lit windows.
void paintSkyline(QPainter& p, const SkylineLayer& layer, Random& rnd, bool inFrontOfTower);

// Warm light from the streets, rising from the bottom edge up to `from`.
void paintCityGlow(QPainter& p, double from, int alpha);

}  // namespace draw::scene
