#include "forms/range/forms.h"

namespace tervalen::forms {

std::vector<const FormDef*> rangeForms() {
    return {&frmRx_DLDanZ(),    &frmRx_JSDanZ(),    &frmRx_DLShuangZ(),
            &frmRx_JSShuangZ(), &frmRx_DLSanZ(),    &frmRx_DLSiZ(),
            &frmRxBx_DanX(),    &frmRxBx_ShuangX(), &frmRx_BDGShuangZ()};
}

}  // namespace tervalen::forms
