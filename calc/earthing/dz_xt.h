#pragma once
// Power-frequency resistance of a whole earthing system: vertical and horizontal
// electrodes and, optionally, N identical earthing modules, all in parallel.

#include <optional>

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

struct EarthingModules {
    float RM;  // resistance of one module
    float N;   // number of modules
};

// What an earthing system is computed from.
struct EarthingSystemInput {
    float RB;                                // resistance of the vertical electrodes
    float RP;                                // resistance of the horizontal electrodes
    std::optional<EarthingModules> modules;  // none when the system has no modules
};

struct DzXt {
    std::optional<float> RMn;  // the N modules together (only with modules)
    float R;                   // the whole system
    double Rp;                 // the electrodes RB and RP in parallel
    Working working;
};

// The parallel resistance is divided by the utilisation factor 0.75.
Outcome<DzXt> calcDZ_XT(const EarthingSystemInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcDZ_XT = "calcDZ_XT";
}  // namespace unit_id

}  // namespace tervalen
