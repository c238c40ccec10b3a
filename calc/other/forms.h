#pragma once
#include "forms/form_def.h"

namespace tervalen::forms {

const FormDef& frmLJCS();
const FormDef& frmZJXB();

}  // namespace tervalen::forms
