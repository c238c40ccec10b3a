#include "calc/range/rx_shuangz.h"

namespace tervalen {

const char* const kRodsTooFarApart = "避雷针之间距离太大！\n不能按双支等高避雷针方法计算！";

Outcome<RxShuangZ> calcRx_DLShuangZ(const RodPairInput& in) {
    return twoRods(false, in, kRodsTooFarApart);
}

Outcome<RxShuangZ> calcRx_JSShuangZ(const RodPairOnBuildingInput& in) {
    return twoRods(in.yesNo, {in.Hr, in.H, in.Hx, in.D}, kRodsTooFarApart);
}

}  // namespace tervalen
