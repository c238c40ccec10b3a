#pragma once
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> otherForms();

const FormDef& frmLJCS();
const FormDef& frmZJXB();

}  // namespace tervalen::forms
