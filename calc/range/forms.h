#pragma once
#include "forms/form_def.h"

namespace tervalen::forms {

const FormDef& frmRx_DLDanZ();
const FormDef& frmRx_JSDanZ();
const FormDef& frmRx_DLShuangZ();
const FormDef& frmRx_JSShuangZ();
const FormDef& frmRx_DLSanZ();
const FormDef& frmRx_DLSiZ();
const FormDef& frmRxBx_DanX();
const FormDef& frmRxBx_ShuangX();

}  // namespace tervalen::forms
