#pragma once
// Protection range of two equal-height rods: the radius at the outer ends, the lowest
// protection point midway between the rods, and the smallest width between them at Hx.

#include "calc/common/arith.h"
#include "calc/range/rod_pair.h"

namespace tervalen {

using RxShuangZ = TwoRods;

extern const char* const kRodsTooFarApart;  // D not below twice the reach of one rod

// Standalone rods of height H, D apart.
Outcome<RxShuangZ> calcRx_DLShuangZ(const RodPairInput& in);
// Rods on a building; yesNo: the building is an equipotential body connected to the
// earth, so the roof at Hx is the ground and the lowest point is measured above it.
Outcome<RxShuangZ> calcRx_JSShuangZ(const RodPairOnBuildingInput& in);

// The units' names, as the records of their presses carry them.
namespace unit_id {
inline constexpr const char* calcRx_DLShuangZ = "calcRx_DLShuangZ";
inline constexpr const char* calcRx_JSShuangZ = "calcRx_JSShuangZ";
}  // namespace unit_id

}  // namespace tervalen
