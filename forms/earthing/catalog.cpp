#include "forms/earthing/forms.h"

namespace tervalen::forms {

std::vector<const FormDef*> earthingForms() {
    return {&frmDZ_ChuiZhi(), &frmDZ_ShuiPing(), &frmDZ_XT(), &frmDZ_GC(), &frmDZ_TuRang()};
}

}  // namespace tervalen::forms
