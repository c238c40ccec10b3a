#include "calc/range/rx_sanz_siz.h"

namespace tervalen {

const char* const kThreeRodsTooFarApart = "避雷针之间距离太大！\n不能按等高三支避雷针方法计算！";
const char* const kFourRodsTooFarApart = "避雷针之间距离太大！\n不能按等高四支避雷针方法计算！";
const char* const kDiagonalUncovered =
    "对角线上无保护宽度！\n正方形对角线上的保护最低点 Ho2 低于地面，对角线上没有保护宽度 Bx2 ！";

Outcome<RxSanZ> calcRx_DLSanZ(float Hr, float H, float Hx, float L) {
    // The three sides are alike: one of them is a pair of rods L apart.
    return twoRods(false, Hr, H, Hx, L, kThreeRodsTooFarApart);
}

Outcome<RxSiZ> calcRx_DLSiZ(float Hr, float H, float Hx, float L) {
    // Only the side is tested against the reach; the diagonal may still be too long.
    const Outcome<TwoRods> side = twoRods(false, Hr, H, Hx, L, kFourRodsTooFarApart);
    if (const auto* refusal = std::get_if<Refusal>(&side)) return *refusal;
    RxSiZ r{std::get<TwoRods>(side), 0, 0, std::nullopt};
    const double Lsq = static_cast<double>(L) * L;
    r.Dg = single(root(Lsq + Lsq, "Dg"), "Dg");
    r.Ho2 = lowestPoint(Hr, H, r.Dg, "Ho2");
    if (r.Ho2 >= 0) r.Bx2 = widthAt(Hr, r.Ho2, r.side.reachHx, "Bx2");
    return r;
}

}  // namespace tervalen
