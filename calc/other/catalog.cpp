#include "forms/catalog.h"

#include "calc/other/forms.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> otherForms() {
    return {&frmLJCS(), &frmZJXB()};
}

}  // namespace tervalen::forms
