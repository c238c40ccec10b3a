#pragma once
// Work spread over the machine's cores, for the engine's maps and regions.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace tervalen::sphere {

// f(i) for i in [0, n) over the machine's cores.
template <class F>
void parallelFor(std::size_t n, F&& f) {
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    const std::size_t workers = std::min<std::size_t>(cores, n);
    if (workers <= 1) {
        for (std::size_t i = 0; i < n; ++i) f(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    auto run = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= n) return;
            f(i);
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t k = 1; k < workers; ++k) threads.emplace_back(run);
    run();
    for (std::thread& t : threads) t.join();
}

}  // namespace tervalen::sphere
