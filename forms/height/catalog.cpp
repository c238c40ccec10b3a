#include "forms/height/forms.h"

namespace tervalen::forms {

std::vector<const FormDef*> heightForms() {
    return {&frmH_DLDanZ(), &frmH_JSDanZ(), &frmH_DLShuangZ(), &frmH_JSShuangZ(), &frmH_DLSanZ(),
            &frmH_DLSiZ(),  &frmH_DanX(),   &frmH_ShuangX(),   &frmH_BDGShuangZ()};
}

}  // namespace tervalen::forms
