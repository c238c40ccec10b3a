#include "forms/catalog.h"

#include "calc/range/forms.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> rangeForms() {
    return {&frmRx_DLDanZ(), &frmRx_JSDanZ(), &frmRx_DLShuangZ(), &frmRx_JSShuangZ(),
            &frmRx_DLSanZ(), &frmRx_DLSiZ(),  &frmRxBx_DanX(),    &frmRxBx_ShuangX()};
}

}  // namespace tervalen::forms
