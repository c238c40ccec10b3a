// The rolling-sphere engine on a works site (sphere radius 45): 200 m × 200 m with 10
// buildings of 12–30 m, their roof-edge conductors and a roof mesh (2 km of conductor),
// and 100 rods, half on the roofs and half on the ground; the same site repeated 2 × 2
// and 4 × 4 times for how the cost grows with the area and the objects.
//
//   surfaceQuery        one S(x, y), each answer proved to 1e-6 m
//   surfaceQueryRods    the same on 100 ground rods alone
//   protectedLevel      the protected region at 15 m over the whole site, boundary 0.01 m
//   coarseMap           S on a 0.5 m grid over the site's 200 m × 200 m
//   liveMap             the display map on the same grid: a floor of S over each 0.5 m
//                       square, within 0.05 m
//   roofChecks          every roof at its own height

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "calc/sphere/engine.h"

using namespace tervalen::sphere;

namespace {

constexpr double kSide = 200;

// One 200 m block at (ox, oy).
void addBlock(Site& s, double ox, double oy, std::mt19937& g) {
    std::uniform_real_distribution<double> unit(0, 1);
    // Two rows of five buildings.
    for (int b = 0; b < 10; ++b) {
        const double x = ox + 8 + (b % 5) * 39, y = oy + 20 + (b / 5) * 95;
        const double w = 28 + 4 * unit(g), d = 40 + 10 * unit(g), roof = 12 + 18 * unit(g);
        Building bd;
        bd.name = "B" + std::to_string(s.buildings.size() + 1);
        bd.outline = {{x, y}, {x + w, y}, {x + w, y + d}, {x, y + d}};
        bd.roof = roof;
        s.buildings.push_back(bd);
        // The roof's edges and a mesh: three bars across, one along (some 200 m).
        const double z = roof + 0.2;
        for (int k = 0; k < 4; ++k) {
            const Point2 a = bd.outline[static_cast<std::size_t>(k)];
            const Point2 c = bd.outline[static_cast<std::size_t>((k + 1) % 4)];
            s.conductors.push_back({{a.x, a.y, z}, {c.x, c.y, z}});
        }
        for (int k = 1; k <= 3; ++k)
            s.conductors.push_back({{x, y + d * k / 4, z}, {x + w, y + d * k / 4, z}});
        s.conductors.push_back({{x + w / 2, y, z}, {x + w / 2, y + d, z}});
        // Five rods on the roof: its corners and its middle.
        for (const auto& [fx, fy] :
             {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}, {0.5, 0.5}})
            s.rods.push_back({x + fx * w, y + fy * d, roof, roof + 2 + 3 * unit(g)});
    }
    // Fifty on the ground, in the yards between the rows.
    for (int i = 0; i < 50; ++i)
        s.rods.push_back({ox + kSide * unit(g), oy + 72 + 40 * unit(g), 0, 8 + 22 * unit(g)});
}

// The site repeated k × k times.
Site worksSite(int k) {
    std::mt19937 g(2024);
    Site s;
    s.hr = 45;
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) addBlock(s, i * kSide, j * kSide, g);
    return s;
}

Site groundRods() {
    std::mt19937 g(2024);
    std::uniform_real_distribution<double> at(0, kSide), height(8, 30);
    Site s;
    s.hr = 45;
    for (int i = 0; i < 100; ++i) s.rods.push_back({at(g), at(g), 0, height(g)});
    return s;
}

std::vector<Point2> queryPoints(double side) {
    std::mt19937 g(7);
    std::uniform_real_distribution<double> at(0, side);
    std::vector<Point2> out;
    for (int i = 0; i < 256; ++i) out.push_back({at(g), at(g)});
    return out;
}

void queries(benchmark::State& state, const Site& site) {
    const Engine engine(site);
    const std::vector<Point2> points = queryPoints(kSide);
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

void surfaceQuery(benchmark::State& state) {
    queries(state, worksSite(1));
}
BENCHMARK(surfaceQuery)->Unit(benchmark::kMicrosecond);

void surfaceQueryRods(benchmark::State& state) {
    queries(state, groundRods());
}
BENCHMARK(surfaceQueryRods)->Unit(benchmark::kMicrosecond);

void protectedLevel(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const Engine engine(worksSite(k));
    double area = 0;
    std::size_t vertices = 0;
    for (auto _ : state) {
        const LevelRegion r = engine.level(15, {}, 0.01);
        area = r.protectedArea;
        vertices = 0;
        for (const Polygon& p : r.protectedRegion) {
            vertices += p.outer.size();
            for (const auto& h : p.holes) vertices += h.size();
        }
    }
    state.counters["protected_m2"] = area;
    state.counters["vertices"] = static_cast<double>(vertices);
}
BENCHMARK(protectedLevel)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

void coarseMap(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const Engine engine(worksSite(k));
    for (auto _ : state) {
        const SurfaceGrid g = engine.grid({0, 0, k * kSide, k * kSide}, 0.5);
        benchmark::DoNotOptimize(g.s.data());
    }
}
BENCHMARK(coarseMap)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void liveMap(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const Engine engine(worksSite(k));
    for (auto _ : state) {
        const SurfaceGrid g = engine.liveMap({0, 0, k * kSide, k * kSide}, 0.5, 0.05);
        benchmark::DoNotOptimize(g.s.data());
    }
}
BENCHMARK(liveMap)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

void roofChecks(benchmark::State& state) {
    const Engine engine(worksSite(1));
    for (auto _ : state) {
        const std::vector<RoofCheck> r = engine.roofs(0.01);
        benchmark::DoNotOptimize(r.data());
    }
}
BENCHMARK(roofChecks)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
