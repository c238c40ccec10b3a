#pragma once
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> heightForms();

const FormDef& frmH_DLDanZ();
const FormDef& frmH_JSDanZ();
const FormDef& frmH_DLShuangZ();
const FormDef& frmH_JSShuangZ();
const FormDef& frmH_DLSanZ();
const FormDef& frmH_DLSiZ();
const FormDef& frmH_DanX();
const FormDef& frmH_ShuangX();
const FormDef& frmH_BDGShuangZ();

}  // namespace tervalen::forms
