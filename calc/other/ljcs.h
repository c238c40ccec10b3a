#pragma once
// Expected number of lightning strikes per year on a building.

#include "calc/common/arith.h"
#include "calc/common/working.h"

namespace tervalen {

struct LJCS {
    float N;   // expected strikes per year
    float Ae;  // equivalent collection area, km²
    float Ng;  // ground flash density, strikes per km² and year
    // How far around the building it collects, in metres: sqrt(H(200 − H)) below 100 m,
    // H itself from 100 m on (fromHeight).
    double reachOut;
    bool fromHeight;
    Working working;
};

// What the expected strikes are computed from.
struct LjcsInput {
    float K;   // correction factor for the surroundings
    float Td;  // thunderstorm days per year
    // Length, width and height of the building in metres. L is kept in double precision
    // as typed, never rounded to single.
    double L;
    float W, H;
};

Outcome<LJCS> calcLJCS(const LjcsInput& in);

}  // namespace tervalen
