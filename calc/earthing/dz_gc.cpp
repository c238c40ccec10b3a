#include "calc/earthing/dz_gc.h"

#include <cmath>

namespace tervalen {
namespace {

// One block of resistivity bands between two chart lines. Within a block the angle
// climbs in equal steps from zero up to the angle of the block's upper line; it does
// not start from the lower line, so A falls back near 1 just above 500 and 1000 Ω·m.
struct Block {
    float lower, upper;  // (lower, upper] in Ω·m
    float width;         // of one band
    int bands;
    double angle;  // of the upper line
    float x0;      // L/Le at the line's start: the flat part lies left of it
    double f;      // 1 − x0
};

constexpr Block kBlocks[] = {
    {100, 500, 50, 8, kAngle500, 0.3f, 0.7},
    {500, 1000, 50, 10, kAngle1000, 0.2f, 0.8},
    {1000, 2000, 100, 10, kAngle2000, 0.1f, 0.9},
};

// The band's angle for ρ > 100. A band includes its upper edge: ρ = 150 is the first
// band, ρ = 500 the last band of the first block. Above 2000 Ω·m the top line holds.
double angleFor(float rho, const Block*& block) {
    for (const Block& b : kBlocks) {
        if (rho > b.upper) continue;
        block = &b;
        int k = 1;
        while (rho > b.lower + static_cast<float>(k) * b.width) ++k;
        return b.angle * k / b.bands;
    }
    block = &kBlocks[2];
    return kAngle2000;
}

}  // namespace

Outcome<DzGc> calcDZ_GC(float R, float rho, float L) {
    const float Le = single(2.0 * root(rho, "Le"), "Le");
    if (L > Le) L = Le;
    if (rho <= 100) return DzGc{R, Le, 1.0f, L, 0.0, true};

    const Block* block = nullptr;
    const double theta = angleFor(rho, block);
    const double slope = std::tan(theta);
    // Only the ratio that decides the flat part is rounded to single precision first.
    const float x = single(static_cast<double>(L) / Le, "L/Le");
    const bool flat = x <= block->x0;
    const float A = flat ? single(1.0 + block->f * slope, "A")
                         : single(1.0L + (1.0L - static_cast<long double>(L) / Le) * slope, "A");
    return DzGc{single(quotient(R, A, "Ri"), "Ri"), Le, A, L, theta, flat};
}

}  // namespace tervalen
