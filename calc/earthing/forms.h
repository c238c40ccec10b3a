#pragma once
#include "forms/form_def.h"

namespace tervalen::forms {

const FormDef& frmDZ_ChuiZhi();
const FormDef& frmDZ_ShuiPing();
const FormDef& frmDZ_XT();
const FormDef& frmDZ_GC();
const FormDef& frmDZ_TuRang();

}  // namespace tervalen::forms
