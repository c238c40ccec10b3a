#pragma once
#include <optional>
#include <vector>

#include "calc/other/ljcs.h"
#include "forms/form_def.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> otherForms();

const FormDef& frmLJCS();
const FormDef& frmZJXB();

// frmLJCS's settings: the edition of the code it follows ("edition": "1994" by default,
// or "2010") and the building's use its category is judged for ("use": "none" by
// default, "civil", "industrial" or "public").
CodeEdition ljcsEdition(const Settings& settings);
std::optional<BuildingUse> ljcsUse(const Settings& settings);  // nullopt: none chosen
Settings ljcsSettings(CodeEdition edition, std::optional<BuildingUse> use = std::nullopt);

}  // namespace tervalen::forms
