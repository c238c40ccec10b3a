#pragma once

// Shared helpers of the resource generator: a reproducible random source and
// the two renderers. The pictures are drawn, not loaded, so the committed PNGs
// can be re-made bit for bit from a fixed seed.

#include <QImage>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace draw {

// std::mt19937 is fully specified; the std distributions are not, so the
// conversions to doubles are done here to keep the output the same everywhere.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_gen(seed) {}

    double uniform() { return m_gen() / 4294967296.0; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int integer(int lo, int hi) { return lo + static_cast<int>(uniform() * (hi - lo + 1)); }
    bool chance(double p) { return uniform() < p; }

    // Box-Muller; the cosine half is enough here.
    double gauss() {
        const double u = 1.0 - uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(2 * std::numbers::pi * uniform());
    }

private:
    std::mt19937 m_gen;
};

// The main window's background: night sky, lightning, tower and city.
QImage renderBackground();

// The application icon at `size` × `size` pixels (ARGB, transparent corners).
QImage renderIcon(int size);

}  // namespace draw
