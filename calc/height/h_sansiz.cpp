#include "calc/height/h_sansiz.h"

#include "calc/common/rolling_sphere.h"
#include "calc/height/height_checks.h"

namespace tervalen {

const char* const kNoThreeRodHeight = "等边三角形的边长太大\n不能按独立等高三针方法计算出针高";

namespace {

Outcome<RodPairHeight> sideSearch(float Hr, float Bxo, float Hx, float L, bool compareStored) {
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    auto found =
        searchRodPair({.Hr = Hr, .Bxo = Bxo, .Hx = Hx, .s = L, .compareStored = compareStored});
    if (const auto* r = std::get_if<RodPairHeight>(&found); r && !spacingCovered(r->H, Hr, L))
        return Refusal{kNoThreeRodHeight};
    return found;
}

}  // namespace

Outcome<HDLSanZ> calcH_DLSanZ(float Hr, float Bxo, float Hx, float L) {
    return sideSearch(Hr, Bxo, Hx, L, true);
}

Outcome<HDLSiZ> calcH_DLSiZ(float Hr, float Bxo, float Hx, float L) {
    const double L2 = static_cast<double>(L) * L;
    const float Ld = single(root(L2 + L2, "Ld"), "Ld");
    // The square compares each step's width and lowest point as computed.
    auto found = sideSearch(Hr, Bxo, Hx, L, false);
    if (const auto* refusal = std::get_if<Refusal>(&found)) return *refusal;
    HDLSiZ r{std::get<RodPairHeight>(found), Ld, 0, 0, 0, std::nullopt};
    const float H = r.search.H;
    const double reachHx = reach(Hx, Hr, "Bx1");
    r.Ho1 = single(lowest(H, L, Hr, "Ho1"), "Ho1");
    r.Bx1 = single(reach(r.Ho1, Hr, "Bx1") - reachHx, "Bx1");
    r.Ho2 = single(lowest(H, Ld, Hr, "Ho2"), "Ho2");
    if (r.Ho2 >= 0) r.Bx2 = single(reach(r.Ho2, Hr, "Bx2") - reachHx, "Bx2");
    return r;
}

}  // namespace tervalen
