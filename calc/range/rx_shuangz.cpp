#include "calc/range/rx_shuangz.h"

namespace tervalen {

const char* const kRodsTooFarApart = "避雷针之间距离太大！\n不能按双支等高避雷针方法计算！";

Outcome<RxShuangZ> calcRx_DLShuangZ(float Hr, float H, float Hx, float D) {
    return twoRods(false, Hr, H, Hx, D, kRodsTooFarApart);
}

Outcome<RxShuangZ> calcRx_JSShuangZ(bool yesNo, float Hr, float H, float Hx, float D) {
    return twoRods(yesNo, Hr, H, Hx, D, kRodsTooFarApart);
}

}  // namespace tervalen
