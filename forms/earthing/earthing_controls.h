#pragma once
// What the earthing forms share: the steel-type box with its size label, the soil and
// length inputs of the impulse button, the stored power-frequency resistance, and the
// button row "求工频电阻" / "求冲击电阻" / "关 闭".

#include <string>
#include <string_view>

#include "forms/form.h"

namespace tervalen::forms {

// The steel-type row (CmbGx, any text can be typed) and the size row below it, whose
// label LabGg follows the type picked from the list.
Row steelTypeRow(std::string caption, std::string initialType);
Row steelSizeRow(std::string initialCaption, std::string refusal);
// "接地体处土壤电阻率（ρ）：" with the box Cmbρ, filtered or not.
Row soilRow(KeyFilter filter);
// CmbL2, used only by the impulse button, with its note "求冲击电阻".
Row branchLengthRow();
// "接地系统冲击接地电阻值（Ri）为：" PicRi "Ω" on one line.
Row impulseResultLine();

// The power-frequency resistance a form keeps for its impulse button, from its first
// opening to the end of the program (FormDef::kept).
inline const char* const kStoredR = "R";

// An impulse press before any power-frequency press of the form.
inline const char* const kPowerFrequencyFirst =
    "请先求工频电阻！\n冲击接地电阻由工频接地电阻换算而得，请先按“求工频电阻”计算。";

// After a complete power-frequency calculation: keep R for the impulse button and move
// the focus to it.
void keepForImpulse(Form& f, float R);
// CmdRun_CJ: converts the stored power-frequency resistance (the result `storedSymbol`
// of the last "求工频电阻" press) with ρ from Cmbρ and the length from `lengthBox`; prints Ri.
void impulseFromStored(Form& f, std::string_view lengthBox, const char* storedSymbol);

// CmdRun_GP (the default button), CmdRun_CJ and cmdCancel.
std::vector<Control> powerFrequencyButtons(Handler CmdRun_GP_Click, const std::string& lengthBox,
                                           const char* storedSymbol);

}  // namespace tervalen::forms
