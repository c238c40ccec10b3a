#pragma once
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> earthingForms();

const FormDef& frmDZ_ChuiZhi();
const FormDef& frmDZ_ShuiPing();
const FormDef& frmDZ_XT();
const FormDef& frmDZ_GC();
const FormDef& frmDZ_TuRang();

}  // namespace tervalen::forms
