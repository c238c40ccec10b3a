#include "calc/earthing/dz_gc.h"

#include <cmath>
#include <string>

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

// The band's angle for ρ > 100, and the steps that name the band. A band includes its
// upper edge: ρ = 150 is the first band, ρ = 500 the last band of the first block. Above
// 2000 Ω·m the top line holds.
double angleFor(float rho, const Block*& block, Recorder& rec) {
    for (const Block& b : kBlocks) {
        if (rho > b.upper) continue;
        block = &b;
        int k = 1;
        while (rho > b.lower + static_cast<float>(k) * b.width) ++k;
        const double theta = b.angle * k / b.bands;
        rec.note("ρ = " + shown(rho) + " Ω·m 在 " + shown(b.lower + (k - 1) * b.width) + "～" +
                 shown(b.lower + k * b.width) + " Ω·m 档：" + shown(b.lower) + "～" +
                 shown(b.upper) + " Ω·m 间 " + std::to_string(b.bands) + " 档中的第 " +
                 std::to_string(k) + " 档，ρ = " + shown(b.upper) + " 线的倾角按档均分");
        rec.step("θ", "{θ" + shown(b.upper) + "}×{k}/{n}",
                 {{"θ" + shown(b.upper), b.angle}, {"k", k}, {"n", b.bands}}, theta, "rad");
        return theta;
    }
    block = &kBlocks[2];
    rec.note("ρ = " + shown(rho) + " Ω·m > 2000 Ω·m：取 ρ = 2000 线");
    rec.value("θ", kAngle2000, "rad", "ρ = 2000 线的倾角");
    return kAngle2000;
}

}  // namespace

Outcome<DzGc> calcDZ_GC(const ImpulseInput& in) {
    const float R = in.R, rho = in.rho;
    float L = in.L;
    Recorder rec;
    // The resistance converted keeps the name it had where it was computed: a group of
    // vertical electrodes stores Rn, while its R is one electrode's.
    const std::string Rs = in.storedFrom ? in.storedFrom : "R";
    if (in.storedFrom) rec.value(Rs, R, "Ω", "上次“求工频电阻”所得的工频接地电阻");
    const float Le = single(2.0 * root(rho, "Le"), "Le");
    rec.step("Le", "2×√({ρ})", {{"ρ", rho}}, Le, "m");
    if (L > Le) {
        rec.check("L", L, ">", "Le", Le, "取 L = Le");
        L = Le;
    }
    if (rho <= 100) {
        rec.check("ρ", rho, "≤", "100", 100, "A = 1");
        rec.value("A", 1, "");
        rec.value("Ri", R, "Ω", "A = 1：Ri = " + Rs);
        return DzGc{R, Le, 1.0f, L, 0.0, true, rec.take()};
    }

    const Block* block = nullptr;
    const double theta = angleFor(rho, block, rec);
    const double slope = std::tan(theta);
    rec.value("tanθ", slope, "", "该档直线的斜率");
    // Only the ratio x = L/Le that decides the flat part is rounded to single precision first.
    const float x = single(static_cast<double>(L) / Le, "L/Le");
    rec.step("x", "{L}/{Le}", {{"L", L}, {"Le", Le}}, x, "");
    const bool flat = x <= block->x0;
    float A;
    if (flat) {
        rec.check("x", x, "≤", "x0", block->x0, "直线起点左侧的平直段");
        A = single(1.0 + block->f * slope, "A");
        rec.step("A", "1+{f}×{tanθ}", {{"f", block->f}, {"tanθ", slope}}, A, "");
    } else {
        rec.check("x", x, ">", "x0", block->x0, "在直线上插值");
        // Double precision is enough: on a grid of 11.3 million (ρ, L) on the sloped part,
        // an 80-bit long double evaluation stored exactly the same A.
        const double fromEnd = 1.0 - static_cast<double>(L) / Le;
        A = single(1.0 + fromEnd * slope, "A");
        rec.step("A", "1+(1−{L}/{Le})×{tanθ}", {{"L", L}, {"Le", Le}, {"tanθ", slope}}, A, "");
    }
    const float Ri = single(quotient(R, A, "Ri"), "Ri");
    rec.step("Ri", "{" + Rs + "}/{A}", {{Rs, R}, {"A", A}}, Ri, "Ω");
    return DzGc{Ri, Le, A, L, theta, flat, rec.take()};
}

}  // namespace tervalen
