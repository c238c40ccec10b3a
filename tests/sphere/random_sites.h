#pragma once
// Random small sites for the engine's tests: a few rods, conductors, a building, a wire,
// within some 60 m of the origin, from a seeded generator.
#include <random>

#include "calc/sphere/site.h"

namespace tervalen::sphere::testing_sites {

// The sanitizer build runs the long sweeps on every `kSweepStride`-th case only (the same
// cases each run: the generator still draws every site, so the cases kept are unchanged);
// the regular build runs them all.
#ifdef TERVALEN_SPHERE_SWEEP_STRIDE
constexpr int kSweepStride = TERVALEN_SPHERE_SWEEP_STRIDE;
#else
constexpr int kSweepStride = 1;
#endif

inline double uniform(std::mt19937& g, double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(g);
}

inline Site randomSite(std::mt19937& g) {
    Site s;
    s.hr = uniform(g, 25, 60);
    const int rods = std::uniform_int_distribution<int>(1, 4)(g);
    for (int i = 0; i < rods; ++i)
        s.rods.push_back({uniform(g, -30, 30), uniform(g, -30, 30), 0, uniform(g, 5, 40)});
    const int conductors = std::uniform_int_distribution<int>(0, 2)(g);
    for (int i = 0; i < conductors; ++i)
        s.conductors.push_back({{uniform(g, -30, 30), uniform(g, -30, 30), uniform(g, 3, 30)},
                                {uniform(g, -30, 30), uniform(g, -30, 30), uniform(g, 3, 30)}});
    if (std::uniform_int_distribution<int>(0, 2)(g) == 0) {
        const double x = uniform(g, -30, 10), y = uniform(g, -30, 10);
        const double w = uniform(g, 5, 20), d = uniform(g, 5, 20);
        Building b;
        b.name = "B";
        b.outline = {{x, y}, {x + w, y}, {x + w, y + d}, {x + w / 2, y + d / 2}, {x, y + d}};
        b.roof = uniform(g, 4, 25);
        s.buildings.push_back(b);
    }
    if (std::uniform_int_distribution<int>(0, 3)(g) == 0) {
        const double y = uniform(g, -20, 20), h = uniform(g, 10, 35);
        s.wires.push_back(
            {{-40, y, h}, {40, y + uniform(g, -10, 10), h + uniform(g, -3, 3)}, uniform(g, 0, 3)});
    }
    return s;
}

}  // namespace tervalen::sphere::testing_sites
