#pragma once
#include "forms/form_def.h"

namespace tervalen::forms {

const FormDef& frmRx_DLDanZ();
const FormDef& frmRx_JSDanZ();

}  // namespace tervalen::forms
