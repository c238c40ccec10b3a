#include "calc/other/ljcs.h"

#include <cmath>

namespace tervalen {
namespace {

// The value of π the collection area has always been computed with.
constexpr double kPi = 3.1415926;

struct Area {
    double km2;
    double reachOut;
    bool fromHeight;
};

// Equivalent collection area in km² (the lengths are in metres). Below 100 m the
// building collects out to sqrt(H(200 - H)) around it; from 100 m on, out to H.
Area collectionArea(double L, double W, double H) {
    const double perMetre2 = std::pow(10.0, -6);
    if (H < 100) {
        const double reachOut = root(H * (200.0 - H), "Ae");
        return {(L * W + 2.0 * (L + W) * reachOut + kPi * H * (200.0 - H)) * perMetre2, reachOut,
                false};
    }
    return {(L * W + 2.0 * H * (L + W) + kPi * (H * H)) * perMetre2, H, true};
}

}  // namespace

Outcome<LJCS> calcLJCS(const LjcsInput& in) {
    const auto K = in.K;
    const auto Td = in.Td;
    const auto L = in.L;
    const auto W = in.W;
    const auto H = in.H;
    Recorder rec;
    const Area area = collectionArea(L, W, H);
    const float Ae = single(area.km2, "Ae");
    if (area.fromHeight) {
        rec.check("H", H, "≥", "100", 100);
        rec.step("Ae", "({L}×{W}+2×{H}×({L}+{W})+{π}×{H}²)×10^(−6)",
                 {{"L", L}, {"W", W}, {"H", H}, {"π", kPi}}, Ae, "km²");
    } else {
        rec.check("H", H, "<", "100", 100);
        rec.step("Ae", "({L}×{W}+2×({L}+{W})×√({H}×(200−{H}))+{π}×{H}×(200−{H}))×10^(−6)",
                 {{"L", L}, {"W", W}, {"H", H}, {"π", kPi}}, Ae, "km²");
    }
    // A negative Td has no real power 1.3: the non-finite value cannot be stored.
    const float Ng = single(0.024 * std::pow(static_cast<double>(Td), 1.3), "Ng");
    rec.step("Ng", "0.024×{Td}^1.3", {{"Td", Td}}, Ng, "次/(km²·a)");
    const float N = single(static_cast<double>(K) * Ng * Ae, "N");
    rec.step("N", "{K}×{Ng}×{Ae}", {{"K", K}, {"Ng", Ng}, {"Ae", Ae}}, N, "次/a");
    return LJCS{N, Ae, Ng, area.reachOut, area.fromHeight, rec.take()};
}

}  // namespace tervalen
