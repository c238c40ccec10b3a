// The update path of the 屋面/总平面防雷校核 window while a rod is dragged: the site
// edited, the engine built again and the coarse map of every roof at the drag step
// (what one frame of a drag costs), on a site of 50 objects.

#include <benchmark/benchmark.h>

#include "calc/sphere/engine.h"
#include "view/site_compute.h"

namespace {

using namespace tervalen;

// 10 buildings of 20 × 12 m at 9–30 m, each with its four roof edges as conductors
// (40 conductors), and 10 rods on the roofs and the ground: 50 objects (the buildings
// not counted).
sphere::Site fiftyObjects() {
    sphere::Site s;
    s.hr = 45;
    for (int i = 0; i < 10; ++i) {
        const double x = (i % 5) * 32.0, y = (i / 5) * 30.0, roof = 9 + 21.0 * (i % 4) / 3;
        s.buildings.push_back({"b", {{x, y}, {x + 20, y}, {x + 20, y + 12}, {x, y + 12}}, 0, roof});
        const auto& o = s.buildings.back().outline;
        for (std::size_t k = 0; k < 4; ++k)
            s.conductors.push_back(
                {{o[k].x, o[k].y, roof + 0.15}, {o[(k + 1) % 4].x, o[(k + 1) % 4].y, roof + 0.15}});
        s.rods.push_back({x + 10, y + 6, roof, roof + 4});
    }
    return s;
}

void dragFrame(benchmark::State& state) {
    sphere::Site site = fiftyObjects();
    const double step = double(state.range(0));
    int frame = 0;
    for (auto _ : state) {
        // The rod on the first roof moved a little, as a pointer move does.
        site.rods[0].x = 8 + 0.25 * (frame++ % 16);
        view::SiteState st{site, {}};
        const view::SiteResult r = view::computeSite(st, false, step);
        benchmark::DoNotOptimize(r.roofMaps.data());
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(dragFrame)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
