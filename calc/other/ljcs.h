#pragma once
// Expected number of lightning strikes per year on a building.

#include "calc/common/arith.h"

namespace tervalen {

struct LJCS {
    float N;   // expected strikes per year
    float Ae;  // equivalent collection area, km²
    float Ng;  // ground flash density, strikes per km² and year
    // How far around the building it collects, in metres: sqrt(H(200 − H)) below 100 m,
    // H itself from 100 m on (fromHeight).
    double reachOut;
    bool fromHeight;
};

// K: correction factor for the surroundings; Td: thunderstorm days per year; L, W, H:
// length, width and height of the building in metres. L is kept in double precision
// as typed, never rounded to single.
Outcome<LJCS> calcLJCS(float K, float Td, double L, float W, float H);

}  // namespace tervalen
