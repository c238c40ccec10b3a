#include "calc/height/h_shuangz.h"

#include "calc/height/h_danz.h"
#include "calc/height/height_checks.h"

namespace tervalen {

const char* const kNoTwoRodHeight = "避雷针之间距离太大\n不能按独立等高双针方法计算出针高";

namespace {

Outcome<RodPairHeight> rodPair(float Hr, float Bxo, float Hx, float D, bool planeIsGround) {
    auto found =
        searchRodPair({.Hr = Hr, .Bxo = Bxo, .Hx = Hx, .s = D, .planeIsGround = planeIsGround});
    if (const auto* r = std::get_if<RodPairHeight>(&found); r && !spacingCovered(r->H, Hr, D))
        return Refusal{kNoTwoRodHeight};
    return found;
}

}  // namespace

Outcome<HDLShuangZ> calcH_DLShuangZ(float Hr, float Bxo, float Hx, float D) {
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    return rodPair(Hr, Bxo, Hx, D, false);
}

Outcome<std::optional<HJSShuangZ>> calcH_JSShuangZ(float Hr, float Bxo, float Hx, float D, float G,
                                                   std::optional<bool> planeIsGround) {
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    if (!planeIsGround) return std::optional<HJSShuangZ>{};
    auto found = rodPair(Hr, Bxo, Hx, D, *planeIsGround);
    if (const auto* refusal = std::get_if<Refusal>(&found)) return *refusal;
    if (G == 0) return Refusal{kUseStandaloneForm};
    HJSShuangZ r{std::get<RodPairHeight>(found), 0, 0};
    // For "是" the height found is above the plane Hx; Ho stays measured from the plane.
    r.tip = *planeIsGround ? single(static_cast<double>(Hx) + r.search.H, "H(针尖)") : r.search.H;
    r.body = single(static_cast<double>(r.tip) - G, "H(针体)");
    return std::optional<HJSShuangZ>{r};
}

}  // namespace tervalen
