#include "calc/earthing/dz_xt.h"

#include "calc/earthing/dz_electrodes.h"

namespace tervalen {

Outcome<DzXt> calcDZ_XT(const EarthingSystemInput& in) {
    const float RB = in.RB, RP = in.RP;
    const double product = static_cast<double>(RB) * RP, sum = static_cast<double>(RB) + RP;
    Recorder rec;
    if (!in.modules) {
        // One expression, rounded once.
        const double Rp = quotient(product, sum, "R");
        const float R = single(Rp * (1 / kUtilisation), "R");
        rec.step("R", "{RB}×{RP}/({RB}+{RP})×(1/{η})",
                 {{"RB", RB}, {"RP", RP}, {"η", kUtilisation}}, R, "Ω");
        return DzXt{std::nullopt, R, Rp, rec.take()};
    }
    const auto RM = in.modules->RM;
    const auto N = in.modules->N;
    const float Rp = single(quotient(product, sum, "Rp"), "Rp");
    rec.step("Rp", "{RB}×{RP}/({RB}+{RP})", {{"RB", RB}, {"RP", RP}}, Rp, "Ω");
    const float RMn = single(quotient(RM, N, "RMn"), "RMn");
    rec.step("RMn", "{RM}/{N}", {{"RM", RM}, {"N", N}}, RMn, "Ω");
    const double parallel =
        quotient(static_cast<double>(Rp) * RMn, static_cast<double>(Rp) + RMn, "R");
    const float R = single(parallel * (1 / kUtilisation), "R");
    rec.step("R", "{Rp}×{RMn}/({Rp}+{RMn})×(1/{η})",
             {{"Rp", Rp}, {"RMn", RMn}, {"η", kUtilisation}}, R, "Ω");
    return DzXt{RMn, R, Rp, rec.take()};
}

}  // namespace tervalen
