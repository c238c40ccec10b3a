#include "forms/catalog.h"

#include "forms/earthing/forms.h"
#include "forms/height/forms.h"
#include "forms/other/forms.h"
#include "forms/range/forms.h"

namespace tervalen::forms {

const std::vector<const FormDef*>& allForms() {
    static const std::vector<const FormDef*> all = [] {
        std::vector<const FormDef*> v;
        for (auto list : {rangeForms(), heightForms(), earthingForms(), otherForms()})
            v.insert(v.end(), list.begin(), list.end());
        return v;
    }();
    return all;
}

const FormDef* findForm(std::string_view name) {
    for (const FormDef* def : allForms())
        if (def->name == name) return def;
    return nullptr;
}

}  // namespace tervalen::forms
