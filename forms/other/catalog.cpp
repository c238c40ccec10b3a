#include "forms/other/forms.h"

namespace tervalen::forms {

std::vector<const FormDef*> otherForms() {
    return {&frmLJCS(), &frmZJXB()};
}

}  // namespace tervalen::forms
