// frmDZ_TuRang: the reference table of soil resistivities. It computes nothing and has
// no inputs and no buttons; it is closed through its window's close box.

#include "forms/earthing/forms.h"

namespace tervalen::forms {

const FormDef& frmDZ_TuRang() {
    // The table is a white portrait drawing of 6135 × 8775 twips at the form's top left,
    // covering its frame.
    static const FormDef def{
        .name = "frmDZ_TuRang",
        .caption = "土壤电阻率参考值",
        .frames = {{"Picture1", {}, {{picture("soil-table", 409, 585).at(0, 0)}}, 585}},
        .buttons = {},
        .defaultButton = "",
        .cancelButton = "",
        .family = Family::Earthing,
        .menu = {.menu = "mnuDZ",
                 .name = "mnuDZ_TuRang",
                 .caption = "土壤电阻率参考值",
                 .separatorBefore = "mnuDZ_Divide"},
    };
    return def;
}

}  // namespace tervalen::forms
