#include "calc/height/h_danz.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"
#include "calc/range/rx_danz.h"

namespace tervalen {

const char* const kUseStandaloneForm = "请选用独立等高双针针高计算程序！";

std::string negativeRodBody(float tip, float G) {
    return twoLines("针体长度为负，不能按此安装面计算针高！",
                    "所需针尖高度 H(针尖) = " + shown(tip) + " m 低于安装面高度 G = " + shown(G) +
                        " m：安装面本身已高于所需的针尖。");
}

Outcome<HDLDanZ> calcH_DLDanZ(const RodHeightInput& in) {
    const auto Hr = in.Hr;
    const auto Rxo = in.Rxo;
    const auto Hx = in.Hx;
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Rxo", Rxo)) return *refusal;
    HDLDanZ r{};
    const auto H = climb(Climb<float>{0.0f, single(Hr + 0.01, "Hr"), "H"}, [&](float trial) {
        r.reachH = reach(trial, Hr, "Rx");
        r.reachHx = reach(Hx, Hr, "Rx");
        r.Rx = single(r.reachH - r.reachHx, "Rx");
        return r.Rx >= Rxo;
    });
    if (!H) return searchExhausted(kRequiredRadius);
    r.H = *H;
    Recorder rec;
    noteSphereChecks(rec, Hr, Hx, "Rxo", Rxo);
    rec.search("H", 0, r.H, "Rx ≥ Rxo = " + shown(Rxo));
    rec.value("H", r.H, "m", "所需针高");
    rec.step("Rx", reachOf("{H}") + "−" + reachOf("{Hx}"), {{"H", r.H}, {"Hr", Hr}, {"Hx", Hx}},
             r.Rx, "m");
    r.sphere = checkRodsWithSphere({.rods = 1, .Hr = Hr, .tip = r.H, .Hx = Hx, .Rx = r.Rx}, rec,
                                   r.warnings);
    r.working = rec.take();
    return r;
}

Outcome<std::optional<HJSDanZ>> calcH_JSDanZ(const RodHeightOnBuildingInput& in) {
    const auto planeIsGround = in.planeIsGround;
    const auto Hr = in.Hr;
    const auto Rxo = in.Rxo;
    const auto Hx = in.Hx;
    const auto G = in.G;
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Rxo", Rxo)) return *refusal;
    if (!planeIsGround) return std::optional<HJSDanZ>{};
    // This search keeps its trial height in double precision, so the tip it prints shows
    // none of the drift of a single-precision accumulator (16.1 where the standalone rod
    // shows 16.10027).
    HJSDanZ r{};
    const auto h = climb(Climb<double>{0.0, Hr + 0.01, "H"}, [&](double trial) {
        r.reachH = reach(trial, Hr, "Rx");
        r.reachHx = *planeIsGround ? 0.0 : reach(Hx, Hr, "Rx");
        r.Rx = single(r.reachH - r.reachHx, "Rx");
        return r.Rx >= Rxo;
    });
    if (!h) return searchExhausted(kRequiredRadius);
    if (G == 0) return Refusal{kUseStandaloneForm};
    r.h = *h;
    Recorder rec;
    noteSphereChecks(rec, Hr, Hx, "Rxo", Rxo);
    if (*planeIsGround) rec.note("建筑物为与大地连通的等电位体：Hx 平面视为地面，h 自该平面算起");
    rec.search("h", 0, r.h, "Rx ≥ Rxo = " + shown(Rxo));
    rec.value("h", r.h, "m",
              "所需针高（自" + std::string(*planeIsGround ? " Hx 平面" : "地面") + "算起）");
    if (*planeIsGround)
        rec.step("Rx", reachOf("{h}"), {{"h", r.h}, {"Hr", Hr}}, r.Rx, "m");
    else
        rec.step("Rx", reachOf("{h}") + "−" + reachOf("{Hx}"), {{"h", r.h}, {"Hr", Hr}, {"Hx", Hx}},
                 r.Rx, "m");
    rec.check("G", G, "≠", "0", 0);
    if (*planeIsGround) {
        r.tip = single(Hx + r.h, "H(针尖)");
        rec.step("Hj", "{Hx}+{h}", {{"Hx", Hx}, {"h", r.h}}, r.tip, "m");
    } else {
        r.tip = single(r.h, "H(针尖)");
        rec.value("Hj", r.tip, "m", "针尖高度 Hj = h");
    }
    r.body = single(static_cast<double>(r.tip) - G, "H(针体)");
    if (r.body < 0) return Refusal{negativeRodBody(r.tip, G)};
    rec.step("Ht", "{Hj}−{G}", {{"Hj", r.tip}, {"G", G}}, r.body, "m");
    r.sphere =
        checkRodsWithSphere({.rods = 1,
                             .Hr = Hr,
                             .tip = r.tip,
                             .Hx = Hx,
                             .onRoof = *planeIsGround,
                             .Rx = r.Rx,
                             .model = *planeIsGround ? std::string_view{} : kRodOnGroundModel},
                            rec, r.warnings);
    r.working = rec.take();
    return std::optional<HJSDanZ>{r};
}

}  // namespace tervalen
