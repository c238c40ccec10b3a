#pragma once
// Power-frequency resistance of a whole earthing system: vertical and horizontal
// electrodes and, optionally, N identical earthing modules, all in parallel.

#include <optional>

#include "calc/common/arith.h"

namespace tervalen {

struct EarthingModules {
    float RM;  // resistance of one module
    float N;   // number of modules
};

struct DzXt {
    std::optional<float> RMn;  // the N modules together (only with modules)
    float R;                   // the whole system
    double Rp;                 // the electrodes RB and RP in parallel
};

// RB, RP: resistances of the vertical and the horizontal electrodes. The parallel
// resistance is divided by the utilisation factor 0.75.
Outcome<DzXt> calcDZ_XT(float RB, float RP, std::optional<EarthingModules> modules);

}  // namespace tervalen
