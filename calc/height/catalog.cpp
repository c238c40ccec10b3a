#include "forms/catalog.h"

#include "calc/height/forms.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> heightForms() {
    return {&frmH_DLDanZ(), &frmH_JSDanZ(), &frmH_DLShuangZ(), &frmH_JSShuangZ(),
            &frmH_DLSanZ(), &frmH_DLSiZ(),  &frmH_DanX(),      &frmH_ShuangX()};
}

}  // namespace tervalen::forms
