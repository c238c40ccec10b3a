#include "forms/catalog.h"

namespace tervalen::forms {

// The forms of this subsystem, in menu order.
std::vector<const FormDef*> earthingForms() { return {}; }

}  // namespace tervalen::forms
