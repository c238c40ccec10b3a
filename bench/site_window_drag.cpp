// The update path of the 屋面/总平面防雷校核 window while a rod is dragged: the site
// edited and the coarse map of every roof at the drag step made again from the last
// frame's (what one frame of a drag costs), on a site of 50 objects; and what the first
// frame of a drag and a map made afresh cost.

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

// The rod on the first roof moved a little, as a pointer move does.
void moveRod(sphere::Site& site, int frame) {
    site.rods[0].x = 8 + 0.25 * (frame % 16);
}

// A frame of a drag under way, as the window's coarse lane computes it: its maps kept
// from the frames before (the site's map at rest, then the drag's first frame).
void dragFrame(benchmark::State& state) {
    sphere::Site site = fiftyObjects();
    const double step = double(state.range(0));
    view::DragMaps drag;
    view::computeSite(view::SiteState{site, {}}, false, step, &drag);
    int frame = 0;
    moveRod(site, frame++);
    view::computeSite(view::SiteState{site, {}}, false, step, &drag);
    double fresh = 0;
    for (auto _ : state) {
        moveRod(site, frame++);
        view::SiteState st{site, {}};
        const view::SiteResult r = view::computeSite(st, false, step, &drag);
        benchmark::DoNotOptimize(r.roofMaps.data());
        fresh += double(drag.provedLast());
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["squares"] = double(drag.squares());
    state.counters["proved"] = fresh / double(state.iterations());
}
BENCHMARK(dragFrame)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// A frame of dragging a building (the first one, its outline alone) under way: its own
// squares are proved each frame.
void dragBuilding(benchmark::State& state) {
    sphere::Site site = fiftyObjects();
    const double step = double(state.range(0));
    view::DragMaps drag;
    auto place = [&](int frame) {
        const double x = 0.25 * (frame % 16);
        site.buildings[0].outline = {{x, 0}, {x + 20, 0}, {x + 20, 12}, {x, 12}};
    };
    view::computeSite(view::SiteState{site, {}}, false, step, &drag);
    int frame = 1;
    place(frame++);
    view::computeSite(view::SiteState{site, {}}, false, step, &drag);
    double fresh = 0;
    for (auto _ : state) {
        place(frame++);
        const view::SiteResult r = view::computeSite(view::SiteState{site, {}}, false, step, &drag);
        benchmark::DoNotOptimize(r.roofMaps.data());
        fresh += double(drag.provedLast());
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["proved"] = fresh / double(state.iterations());
}
BENCHMARK(dragBuilding)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The first frame of a drag: the squares over the site without the dragged rod proved
// once (timed), from the site's map at rest (not timed).
void dragStart(benchmark::State& state) {
    const double step = double(state.range(0));
    double fresh = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sphere::Site site = fiftyObjects();
        view::DragMaps drag;
        view::computeSite(view::SiteState{site, {}}, false, step, &drag);
        moveRod(site, 1);
        state.ResumeTiming();
        const view::SiteResult r = view::computeSite(view::SiteState{site, {}}, false, step, &drag);
        benchmark::DoNotOptimize(r.roofMaps.data());
        fresh += double(drag.provedLast());
    }
    state.counters["proved"] = fresh / double(state.iterations());
}
BENCHMARK(dragStart)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The map with nothing kept: every square proved (a site opened, an undo, a change of
// many objects at once).
void wholeMap(benchmark::State& state) {
    const sphere::Site site = fiftyObjects();
    const double step = double(state.range(0));
    for (auto _ : state) {
        const view::SiteResult r = view::computeSite(view::SiteState{site, {}}, false, step);
        benchmark::DoNotOptimize(r.roofMaps.data());
    }
}
BENCHMARK(wholeMap)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
