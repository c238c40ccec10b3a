// The main window's background picture: a stormy night over a city, a branching
// lightning bolt striking beside a tall lattice tower.
//
// Layers, back to front: sky and clouds (per pixel, lit by the flash), stars,
// the bolt and its glow, the city's light haze, far buildings, the tower, near
// buildings with their lit windows. This file paints the sky; the bolt, the
// tower and the city are in draw_lightning.cpp and draw_city.cpp.

#include <algorithm>
#include <cmath>
#include <vector>

#include "background_scene.h"

namespace draw {
namespace {

using namespace scene;

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smoothstep(double lo, double hi, double x) {
    const double t = std::clamp((x - lo) / (hi - lo), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// ---- value noise for the clouds -------------------------------------------

double lattice(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + 0x9E3779B9u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return h / 4294967295.0;
}

double valueNoise(double x, double y) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = smoothstep(0, 1, x - ix);
    const double fy = smoothstep(0, 1, y - iy);
    const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * fx;
    const double bottom =
        lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * fx;
    return top + (bottom - top) * fy;
}

double fbm(double x, double y, int octaves) {
    double sum = 0, amplitude = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y);
        norm += amplitude;
        amplitude *= 0.5;
        x = x * 2.03 + 17.1;
        y = y * 2.03 + 5.7;
    }
    return sum / norm;
}

// ---- sky, clouds and stars ------------------------------------------------

Rgb skyAt(double t) {
    // Deep blue-violet overhead, paler violet towards the horizon haze.
    static const Rgb stops[] = {{6, 5, 22}, {18, 14, 52}, {38, 26, 88}, {70, 44, 110}};
    static const double at[] = {0, 0.35, 0.72, 1};
    for (int i = 0; i < 3; ++i) {
        if (t <= at[i + 1]) return mix(stops[i], stops[i + 1], (t - at[i]) / (at[i + 1] - at[i]));
    }
    return stops[3];
}

// Paints sky and clouds pixel by pixel; returns the cloud cover per pixel so
// the stars can hide behind it.
std::vector<float> paintSky(QImage& image, const FlashLight& flash) {
    std::vector<float> cover(static_cast<std::size_t>(kWidth) * kHeight);
    const Rgb cloudShadow{16, 13, 40};
    const Rgb cloudLit{205, 190, 255};
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double ty = double(y) / kHeight;
        // Storm clouds hang over the top third; wisps lower down.
        const double band = 0.35 + 0.65 * (1 - smoothstep(0.1, 0.55, ty));
        for (int x = 0; x < kWidth; ++x) {
            // Domain warping stretches the noise into ragged, drifting shapes.
            const double wx = x / 300.0, wy = y / 130.0;
            const double warp = fbm(wx * 0.7 + 3.1, wy * 0.7, 3);
            const double n = fbm(wx + 1.8 * warp, wy + 0.6 * warp, 6);
            const double density = smoothstep(0.38, 0.78, n) * band;
            const double light = flash.at(x, y);

            Rgb c = skyAt(ty);
            c = mix(c, Rgb{110, 90, 200}, light * 0.45);
            // Thick cloud takes more light; its thin edges stay dark.
            const Rgb cloud = mix(cloudShadow, cloudLit, std::min(1.0, light * (0.4 + n * 1.2)));
            c = mix(c, cloud, density * 0.9);
            line[x] = qRgb(std::clamp(int(c.r), 0, 255), std::clamp(int(c.g), 0, 255),
                           std::clamp(int(c.b), 0, 255));
            cover[y * kWidth + x] = float(std::max(density * 1.6, light));
        }
    }
    return cover;
}

void addLight(QImage& image, int x, int y, double amount, Rgb tint) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
    const QRgb old = image.pixel(x, y);
    image.setPixel(x, y,
                   qRgb(std::min(255, qRed(old) + int(tint.r * amount)),
                        std::min(255, qGreen(old) + int(tint.g * amount)),
                        std::min(255, qBlue(old) + int(tint.b * amount))));
}

void paintStars(QImage& image, const std::vector<float>& cover, Random& rnd) {
    for (int i = 0; i < 700; ++i) {
        const int x = rnd.integer(0, kWidth - 1);
        const int y = int(std::pow(rnd.uniform(), 1.3) * 950);
        // Most stars are faint; a few are bright enough to bleed into neighbours.
        const double brightness = std::pow(rnd.uniform(), 3.0);
        const double visible = std::max(0.0, 1.0 - cover[y * kWidth + x]) * brightness;
        if (visible < 0.03) continue;
        const Rgb tint = rnd.chance(0.3) ? Rgb{255, 225, 190} : Rgb{215, 225, 255};
        addLight(image, x, y, visible, tint);
        if (brightness > 0.35) {
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                addLight(image, x + dx, y + dy, visible * 0.35, tint);
            }
        }
    }
}

}  // namespace

QImage renderBackground() {
    Random rnd(20240611);
    const std::vector<Stroke> bolt = makeBolt(rnd);
    const FlashLight flash(bolt.front().points);

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const std::vector<float> cover = paintSky(image, flash);
    paintStars(image, cover, rnd);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintBolt(p, bolt);
    paintCityGlow(p, kHeight - 400, 150);
    paintSkyline(p, {110, 250, QColor(26, 20, 48), 2.0, 0.55}, rnd, false);
    paintTower(p);
    paintSkyline(p, {40, 150, QColor(7, 6, 14), 3.0, 0.95}, rnd, true);
    paintCityGlow(p, kHeight - 60, 60);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace draw
