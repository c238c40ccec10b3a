// The slowest calculate press of each height form: a search that climbs all the way to
// its bound (sphere radius 60, a requirement out of reach). A press must stay far below
// what a person notices.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/catalog.h"
#include "forms/form.h"

using namespace tervalen::forms;

namespace {

using Texts = std::vector<std::pair<std::string, std::string>>;

const char* const kRadiusExhausted = "被保护面高度 Hx 过高 或 所需的保护半径 Rxo 过大";

void calculatePress(benchmark::State& state, const char* formName, Texts inputs,
                    std::string expected) {
    Form form(*findForm(formName));
    std::string shown;
    form.setSink([&](const Message& m) { shown = m.text; });
    for (const auto& [box, text] : inputs) form.setText(box, text);
    for (auto _ : state) {
        form.press("CmdRun");
        benchmark::DoNotOptimize(shown);
    }
    // The case must be the one measured: the search ran to its end.
    if (shown != expected) state.SkipWithError(("unexpected outcome: " + shown).c_str());
}

// Rods: the lowest point needed (58.9 m) lies near the top of the first search, some
// 5,900 steps, and rods 4 m apart never bring it that high: the second search climbs
// another 6,000 steps to its bound.
BENCHMARK_CAPTURE(calculatePress, frmH_DLDanZ, "frmH_DLDanZ",
                  Texts{{"CmbHr", "60"}, {"CmbRxo", "60"}, {"CmbHx", "1"}}, kRadiusExhausted);
BENCHMARK_CAPTURE(
    calculatePress, frmH_JSDanZ, "frmH_JSDanZ",
    Texts{{"CmbYesNo", "否"}, {"CmbHr", "60"}, {"CmbRxo", "60"}, {"CmbHx", "1"}, {"CmbG", "1"}},
    kRadiusExhausted);
BENCHMARK_CAPTURE(calculatePress, frmH_DLShuangZ, "frmH_DLShuangZ",
                  Texts{{"CmbHr", "60"}, {"CmbBxo", "59.99"}, {"CmbHx", "0"}, {"CmbD", "4"}},
                  kRadiusExhausted);
BENCHMARK_CAPTURE(calculatePress, frmH_JSShuangZ, "frmH_JSShuangZ",
                  Texts{{"CmbYesNo", "否"},
                        {"CmbHr", "60"},
                        {"CmbBxo", "59.99"},
                        {"CmbHx", "0"},
                        {"CmbD", "4"},
                        {"CmbG", "1"}},
                  kRadiusExhausted);
BENCHMARK_CAPTURE(calculatePress, frmH_DLSanZ, "frmH_DLSanZ",
                  Texts{{"CmbHr", "60"}, {"CmbBxo", "59.99"}, {"CmbHx", "0"}, {"CmbL", "4"}},
                  kRadiusExhausted);
BENCHMARK_CAPTURE(calculatePress, frmH_DLSiZ, "frmH_DLSiZ",
                  Texts{{"CmbHr", "60"}, {"CmbBxo", "59.99"}, {"CmbHx", "0"}, {"CmbL", "4"}},
                  kRadiusExhausted);
// Wires: the single wire climbs from 3 m to 60.01 m; the two wires up to 2·60.01 m.
BENCHMARK_CAPTURE(calculatePress, frmH_DanX, "frmH_DanX",
                  Texts{{"CmbHr", "60"}, {"CmbBx1o", "60"}, {"CmbHx", "0"}, {"CmbD", "100"}},
                  "被保护面高度 Hx 过高 或 所需的保护宽度 Bx1o 过大");
BENCHMARK_CAPTURE(
    calculatePress, frmH_ShuangX, "frmH_ShuangX",
    Texts{{"CmbHr", "60"}, {"CmbHoo", "200"}, {"CmbHx", "0"}, {"CmbD1", "100"}, {"CmbD2", "20"}},
    "被保护面高度 Hx 过高 或 所需的保护宽度 Hoo 过大");
// Rods of different heights: a width the pair cannot give at any height of the second
// rod, so the search climbs its 6,000 steps to the bound, each a whole pair worked out.
BENCHMARK_CAPTURE(
    calculatePress, frmH_BDGShuangZ, "frmH_BDGShuangZ",
    Texts{{"CmbHr", "60"}, {"CmbH1", "60"}, {"CmbD", "4"}, {"CmbHx", "0"}, {"CmbBxo", "60"}},
    "被保护面高度 Hx 过高 或 所需的保护宽度 Bxo 过大");

}  // namespace
