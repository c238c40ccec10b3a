#include "forms/catalog.h"

#include "calc/earthing/forms.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> earthingForms() {
    return {&frmDZ_ChuiZhi(), &frmDZ_ShuiPing(), &frmDZ_XT(), &frmDZ_GC(), &frmDZ_TuRang()};
}

}  // namespace tervalen::forms
