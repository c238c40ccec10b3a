// One whole calculate press of every calculator form through the toolkit-free form logic:
// paste a worked value into the input boxes (picks and option first), press the button.
// Each case is checked once against its known results before it is timed, so a press
// that stops early or computes something else is reported instead of measured. Forms of
// the catalog with a calculate button but no case here are listed as skipped; cases of
// forms not in the catalog are left out.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"

namespace {

using tervalen::forms::Form;
using tervalen::forms::FormDef;

using tervalen::forms::Action;

Action set(std::string box, std::string text) {
    return Action::set(std::move(box), std::move(text));
}
Action pick(std::string box, std::string text) {
    return Action::pick(std::move(box), std::move(text));
}
Action select(std::string option) {
    return Action::select(std::move(option));
}
Action press(std::string button) {
    return Action::press(std::move(button));
}

struct Case {
    std::string form;
    std::string label;          // the button, and which worked value where a form has several
    std::vector<Action> setup;  // once, before timing (the result an impulse button converts)
    std::vector<Action> timed;  // every iteration: the inputs, then the press
    std::vector<std::pair<std::string, std::string>> expected;  // result boxes afterwards
};

std::vector<Action> rods(const char* hr, const char* h, const char* hx) {
    return {set("CmbHr", hr), set("CmbH", h), set("CmbHx", hx)};
}
std::vector<Action> operator+(std::vector<Action> a, const std::vector<Action>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"frmRx_DLDanZ",
         "CmdRun",
         {},
         rods("30", "20", "5") + std::vector{press("CmdRun")},
         {{"PicRx", " 11.70115"}}},
        {"frmRx_JSDanZ",
         "CmdRun",
         {},
         std::vector{pick("CmbYesNo", "是")} + rods("30", "40", "15") +
             std::vector{press("CmdRun")},
         {{"PicRx", " 29.5804"}}},
        {"frmRx_DLShuangZ",
         "CmdRun",
         {},
         rods("30", "20", "5") + std::vector{set("CmbD", "30"), press("CmdRun")},
         {{"PicRx", " 11.70115"}, {"PicHo", " 11.97224"}, {"PicBx", " 7.396033"}}},
        {"frmRx_JSShuangZ",
         "CmdRun",
         {},
         std::vector{pick("CmbYesNo", "是")} + rods("30", "40", "15") +
             std::vector{set("CmbD", "30"), press("CmdRun")},
         {{"PicRx", " 29.5804"}, {"PicHo", " 14.18861"}, {"PicBx", " 25.4951"}}},
        {"frmRx_DLSanZ",
         "CmdRun",
         {},
         rods("30", "20", "5") + std::vector{set("CmbL", "30"), press("CmdRun")},
         {{"PicRx", " 11.70115"}, {"PicHo", " 11.97224"}, {"PicBx", " 7.396033"}}},
        {"frmRx_DLSiZ",
         "CmdRun",
         {},
         rods("30", "20", "5") + std::vector{set("CmbL", "30"), press("CmdRun")},
         {{"PicRx", " 11.70115"},
          {"PicHo1", " 11.97224"},
          {"PicBx1", " 7.396033"},
          {"PicHo2", " 6.547921"},
          {"PicBx2", " 2.125163"}}},
        {"frmRxBx_DanX",
         "CmdRun",
         {},
         rods("30", "20", "5") + std::vector{set("CmbD", "100"), press("CmdRun")},
         {{"PicHh", " 20"}, {"PicBx1", " 10.91233"}, {"PicBx2", " 11.70115"}}},
        {"frmRxBx_ShuangX",
         "CmdRun",
         {},
         rods("30", "20", "5") +
             std::vector{set("CmbD1", "100"), set("CmbD2", "20"), press("CmdRun")},
         {{"PicHo", " 16.28427"}, {"PicBx1", " 9.874389"}}},
        {"frmRx_BDGShuangZ",
         "CmdRun",
         {},
         {set("CmbHr", "45"), set("CmbH1", "20"), set("CmbH2", "30"), set("CmbD", "60"),
          set("CmbHx", "5"), press("CmdRun")},
         {{"PicRx1", " 16.80105"},
          {"PicRx2", " 21.81088"},
          {"PicD1", " 26.66667"},
          {"PicHo", " 8.447146"},
          {"PicBx", " 5.631165"}}},
        {"frmH_DLDanZ",
         "CmdRun",
         {},
         {set("CmbHr", "30"), set("CmbRxo", "10"), set("CmbHx", "5"), press("CmdRun")},
         {{"PicH", " 16.10027"}, {"PicRx", " 10.00254"}}},
        // The longest search among the worked values: 3000 steps up to the bound.
        {"frmH_DLDanZ",
         "CmdRun/Rxo=Hr",
         {},
         {set("CmbHr", "30"), set("CmbRxo", "30"), set("CmbHx", "0"), press("CmdRun")},
         {{"PicH", " 30.00059"}, {"PicRx", " 30"}}},
        {"frmH_JSDanZ",
         "CmdRun",
         {},
         {pick("CmbYesNo", "是"), set("CmbHr", "30"), set("CmbRxo", "10"), set("CmbHx", "5"),
          set("CmbG", "5"), press("CmdRun")},
         {{"PicHj", " 6.72"}, {"PicHt", " 1.72"}, {"PicRx", " 10.01207"}}},
        {"frmH_DLShuangZ",
         "CmdRun",
         {},
         {set("CmbHr", "30"), set("CmbBxo", "10"), set("CmbHx", "5"), set("CmbD", "20"),
          press("CmdRun")},
         {{"PicH", " 20.35037"}, {"PicHo", " 16.1034"}, {"PicBx", " 10.00254"}}},
        {"frmH_JSShuangZ",
         "CmdRun",
         {},
         {pick("CmbYesNo", "是"), set("CmbHr", "30"), set("CmbBxo", "10"), set("CmbHx", "5"),
          set("CmbD", "20"), set("CmbG", "5"), press("CmdRun")},
         {{"PicHj", " 8.549997"},
          {"PicHt", " 3.549997"},
          {"PicHo", " 1.722754"},
          {"PicBx", " 10.01207"}}},
        {"frmH_DLSanZ",
         "CmdRun",
         {},
         {set("CmbHr", "30"), set("CmbBxo", "10"), set("CmbHx", "5"), set("CmbL", "20"),
          press("CmdRun")},
         {{"PicH", " 20.35037"}, {"PicHo", " 16.1034"}, {"PicBx", " 10.00254"}}},
        {"frmH_DLSiZ",
         "CmdRun",
         {},
         {set("CmbHr", "30"), set("CmbBxo", "10"), set("CmbHx", "5"), set("CmbL", "20"),
          press("CmdRun")},
         {{"PicH", " 20.35037"},
          {"PicHo1", " 16.1034"},
          {"PicBx1", " 10.00418"},
          {"PicHo2", " 12.87939"},
          {"PicBx2", " 8.051905"}}},
        {"frmH_DanX",
         "CmdRun",
         {},
         {set("CmbHr", "30"), set("CmbBx1o", "10"), set("CmbHx", "5"), set("CmbD", "100"),
          press("CmdRun")},
         {{"PicH", " 18.10032"},
          {"PicHc", " 2"},
          {"PicHh", " 18.10032"},
          {"PicBx1", " 10.00257"},
          {"PicBx2", " 10.9559"}}},
        {"frmH_ShuangX",
         "CmdRun",
         {},
         {set("CmbHr", "30"), set("CmbHoo", "10"), set("CmbHx", "5"), set("CmbD1", "100"),
          set("CmbD2", "20"), press("CmdRun")},
         {{"PicH", " 13.72022"},
          {"PicHc", " 2"},
          {"PicBx1", " 6.546267"},
          {"PicHo", " 10.00449"},
          {"PicBx2", ""}}},
        {"frmH_BDGShuangZ",
         "CmdRun",
         {},
         {set("CmbHr", "45"), set("CmbH1", "20"), set("CmbD", "60"), set("CmbHx", "5"),
          set("CmbBxo", "5"), press("CmdRun")},
         {{"PicH2", " 27.75054"}, {"PicBx", " 5.002468"}}},
        {"frmDZ_GC",
         "CmdRun",
         {},
         {set("CmbR", "10"), set("Cmbρ", "300"), set("CmbL", "10"), press("CmdRun")},
         {{"PicRi", " 8.167763"}, {"PicLe", " 34.64102"}}},
        {"frmDZ_ChuiZhi",
         "CmdRun_GP",
         {},
         {pick("CmbGx", "等边角钢"), set("CmbGg", "0.05"), set("Cmbρ", "300"), set("CmbL1", "2.5"),
          set("CmbN", "4"), press("CmdRun_GP")},
         // The group resistance is R / N divided by the utilisation factor 0.75.
         {{"PicD", " 0.042"}, {"PicR", " 104.5203"}, {"PicRn", " 34.84011"}}},
        {"frmDZ_ChuiZhi",
         "CmdRun_CJ",
         {pick("CmbGx", "等边角钢"), set("CmbGg", "0.05"), set("Cmbρ", "300"), set("CmbL1", "2.5"),
          set("CmbN", "4"), press("CmdRun_GP")},
         {set("Cmbρ", "300"), set("CmbL2", "10"), press("CmdRun_CJ")},
         {{"PicRi", " 28.45657"}}},
        {"frmDZ_ShuiPing",
         "CmdRun_GP",
         {},
         {pick("CmbGx", "扁钢"), set("CmbGg", "0.04"), set("Cmbρ", "300"), set("CmbL1", "20"),
          set("CmbH", "0.8"), select("OptA3"), press("CmdRun_GP")},
         {{"PicA", " 0.867"}, {"PicD", " 0.02"}, {"PicR", " 26.24536"}}},
        {"frmDZ_ShuiPing",
         "CmdRun_CJ",
         {pick("CmbGx", "扁钢"), set("CmbGg", "0.04"), set("Cmbρ", "300"), set("CmbL1", "20"),
          set("CmbH", "0.8"), select("OptA3"), press("CmdRun_GP")},
         {set("Cmbρ", "300"), set("CmbL2", "20"), press("CmdRun_CJ")},
         {{"PicRi", " 23.11461"}}},
        {"frmDZ_XT",
         "CmdRun_GP",
         {},
         {pick("CmbYesNo", "是"), set("CmbRB", "10"), set("CmbRP", "20"), set("CmbRM", "5"),
          set("CmbN", "4"), press("CmdRun_GP")},
         {{"PicRMn", " 1.25"}, {"PicR", " 1.403509"}}},
        {"frmDZ_XT",
         "CmdRun_CJ",
         {pick("CmbYesNo", "是"), set("CmbRB", "10"), set("CmbRP", "20"), set("CmbRM", "5"),
          set("CmbN", "4"), press("CmdRun_GP")},
         {set("Cmbρ", "300"), set("CmbL", "20"), press("CmdRun_CJ")},
         {{"PicRi", " 1.236088"}}},
        {"frmLJCS",
         "CmdRun",
         {},
         {set("CmbK", "1.0"), set("CmbTd", "40"), set("CmbL", "50"), set("CmbW", "20"),
          set("CmbH", "30"), press("CmdRun")},
         {{"PicN", " 0.07844704"}}},
        {"frmZJXB",
         "CmdRun1",
         {},
         {set("CmbLa1", "30"), set("CmbLb", "45"), press("CmdRun1")},
         {{"PicLc", " 54.08327"}}},
        {"frmZJXB",
         "CmdRun2",
         {},
         {set("CmbLa2", "12.5"), set("CmbLc", "60"), press("CmdRun2")},
         {{"PicLb", " 58.68347"}}},
    };
    return all;
}

void perform(Form& form, const std::vector<Action>& steps) {
    tervalen::forms::applyAll(form, steps);
}

// Runs the case once and tells what differs from its worked value ("" when nothing).
std::string mismatch(Form& form, const Case& c) {
    std::string shown;
    form.setSink([&](const tervalen::forms::Message& m) { shown += m.text + "; "; });
    perform(form, c.setup);
    perform(form, c.timed);
    form.setSink({});
    if (!shown.empty()) return "message: " + shown;
    for (const auto& [box, text] : c.expected)
        if (!form.has(box) || form.text(box) != text)
            return box + " shows \"" + (form.has(box) ? form.text(box) : "(no such box)") +
                   "\", expected \"" + text + "\"";
    return {};
}

void runCase(benchmark::State& state, const FormDef* def, const Case* c) {
    Form form(*def);
    if (const std::string why = mismatch(form, *c); !why.empty()) {
        state.SkipWithError(why.c_str());
        return;
    }
    for (auto _ : state) {
        perform(form, c->timed);
        benchmark::DoNotOptimize(form.text(c->expected.front().first));
    }
}

const bool registered = [] {
    for (const FormDef* def : tervalen::forms::allForms()) {
        bool covered = false;
        for (const Case& c : cases()) {
            if (c.form != def->name) continue;
            covered = true;
            benchmark::RegisterBenchmark(("press/" + c.form + "/" + c.label).c_str(), runCase, def,
                                         &c);
        }
        if (!covered && !Form(*def).firstCalculateButton().empty())
            benchmark::RegisterBenchmark(("press/" + def->name).c_str(), [](benchmark::State& s) {
                s.SkipWithError("no worked value for this form in press_bench.cpp");
            });
    }
    return true;
}();

}  // namespace
