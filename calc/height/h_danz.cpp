#include "calc/height/h_danz.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"
#include "calc/height/height_search.h"

namespace tervalen {

const char* const kUseStandaloneForm = "请选用独立等高双针针高计算程序！";

Outcome<HDLDanZ> calcH_DLDanZ(float Hr, float Rxo, float Hx) {
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
    return r;
}

Outcome<std::optional<HJSDanZ>> calcH_JSDanZ(float Hr, float Rxo, float Hx, float G,
                                             std::optional<bool> planeIsGround) {
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
    r.tip = single(*planeIsGround ? Hx + r.h : r.h, "H(针尖)");
    r.body = single(static_cast<double>(r.tip) - G, "H(针体)");
    return std::optional<HJSDanZ>{r};
}

}  // namespace tervalen
