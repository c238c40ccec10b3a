#pragma once
// Every form the program knows, by name. Each subsystem lists its own forms.

#include <string_view>
#include <vector>

#include "forms/form_def.h"

namespace tervalen::forms {

const std::vector<const FormDef*>& allForms();
const FormDef* findForm(std::string_view name);

// One list per subsystem, defined beside its forms.
std::vector<const FormDef*> rangeForms();
std::vector<const FormDef*> heightForms();
std::vector<const FormDef*> earthingForms();
std::vector<const FormDef*> otherForms();

}  // namespace tervalen::forms
