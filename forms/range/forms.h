#pragma once
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> rangeForms();

const FormDef& frmRx_DLDanZ();
const FormDef& frmRx_JSDanZ();
const FormDef& frmRx_DLShuangZ();
const FormDef& frmRx_JSShuangZ();
const FormDef& frmRx_DLSanZ();
const FormDef& frmRx_DLSiZ();
const FormDef& frmRxBx_DanX();
const FormDef& frmRxBx_ShuangX();
const FormDef& frmRx_BDGShuangZ();

}  // namespace tervalen::forms
