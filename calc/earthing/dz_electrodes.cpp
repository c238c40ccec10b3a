#include "calc/earthing/dz_electrodes.h"

namespace tervalen {

std::optional<float> equivalentDiameter(std::string_view steelType, float s) {
    if (steelType == "圆钢" || steelType == "钢管") return s;
    if (steelType == "扁钢") return single(s / 2.0, "D");
    if (steelType == "等边角钢") return single(0.84 * s, "D");
    return std::nullopt;
}

Outcome<DzChuiZhi> calcDZ_ChuiZhi(float D, float rho, float L1, float N) {
    const double spread = quotient(rho, L1 * kTwoPi, "R");
    const double logTerm = ln(quotient(4.0 * L1, D, "R"), "R");
    const float R = single(spread * logTerm, "R");
    // The electrodes screen each other, so the group is worse than N in parallel.
    const float Rn = single(quotient(R, N, "Rn") / kUtilisation, "Rn");
    return DzChuiZhi{R, Rn, spread, logTerm};
}

Outcome<DzShuiPing> calcDZ_ShuiPing(float D, float rho, float L1, float H, float A) {
    const double spread = quotient(rho, L1 * kTwoPi, "R");
    const double L1sq = static_cast<double>(L1) * L1;
    const double logTerm = ln(quotient(L1sq, static_cast<double>(D) * H, "R"), "R");
    return DzShuiPing{single(spread * (A + logTerm), "R"), spread, logTerm};
}

}  // namespace tervalen
