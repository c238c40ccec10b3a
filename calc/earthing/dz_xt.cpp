#include "calc/earthing/dz_xt.h"

#include "calc/earthing/dz_electrodes.h"

namespace tervalen {

Outcome<DzXt> calcDZ_XT(float RB, float RP, std::optional<EarthingModules> modules) {
    const double product = static_cast<double>(RB) * RP, sum = static_cast<double>(RB) + RP;
    if (!modules) {
        // One expression, rounded once.
        const double Rp = quotient(product, sum, "R");
        return DzXt{std::nullopt, single(Rp * (1 / kUtilisation), "R"), Rp};
    }
    const float Rp = single(quotient(product, sum, "Rp"), "Rp");
    const float RMn = single(quotient(modules->RM, modules->N, "RMn"), "RMn");
    const double parallel =
        quotient(static_cast<double>(Rp) * RMn, static_cast<double>(Rp) + RMn, "R");
    return DzXt{RMn, single(parallel * (1 / kUtilisation), "R"), Rp};
}

}  // namespace tervalen
