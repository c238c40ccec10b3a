#pragma once
// Every form the program knows, by name, in menu order. Each subsystem lists its own
// forms beside their definitions.

#include <string_view>
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms {

const std::vector<const FormDef*>& allForms();
const FormDef* findForm(std::string_view name);

}  // namespace tervalen::forms
