// One query of the protection surface S(x, y) on a 200 m × 200 m site with 100 rods
// (sphere radius 45): the cost of the branch and bound that proves each answer to 1e-6 m.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "calc/sphere/engine.h"

using namespace tervalen::sphere;

namespace {

Site hundredRods() {
    std::mt19937 g(2024);
    std::uniform_real_distribution<double> at(0, 200), height(8, 30);
    Site s;
    s.hr = 45;
    for (int i = 0; i < 100; ++i) s.rods.push_back({at(g), at(g), 0, height(g)});
    return s;
}

std::vector<Point2> queryPoints() {
    std::mt19937 g(7);
    std::uniform_real_distribution<double> at(0, 200);
    std::vector<Point2> out;
    for (int i = 0; i < 64; ++i) out.push_back({at(g), at(g)});
    return out;
}

void surfaceQuery(benchmark::State& state) {
    const Engine engine(hundredRods());
    const std::vector<Point2> points = queryPoints();
    std::size_t i = 0;
    double worstGap = 0;
    for (auto _ : state) {
        const Touch t = engine.touch(points[i++ % points.size()]);
        worstGap = std::max(worstGap, t.gap);
        benchmark::DoNotOptimize(t);
    }
    state.counters["worst_gap_m"] = worstGap;
    if (worstGap > 1e-6) state.SkipWithError("an answer was not proved to 1e-6 m");
}
BENCHMARK(surfaceQuery)->Unit(benchmark::kMicrosecond);

}  // namespace
