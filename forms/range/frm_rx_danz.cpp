// frmRx_DLDanZ and frmRx_JSDanZ: protection radius of a single rod, standalone or on a building.

#include "calc/range/rx_danz.h"
#include "forms/form.h"
#include "forms/range/forms.h"

namespace tervalen::forms {
namespace {

const char* const kRodHeight = "避雷针高度（H）：";
const char* const kTipHeight = "避雷针针尖高度（H）：";

std::vector<Row> rodInputs(const char* heightCaption) {
    return rows(
        {sphereRadiusRows(KeyFilter::DigitsOnly, "Hr 值错误，只为数字！"),
         {inputRow("Lab_H", heightCaption, input("CmbH").numeric("H 值输入错误，只为数字！")),
          inputRow("Lab_Hx", "被保护面高度（Hx）：",
                   input("CmbHx").numeric("Hx 值输入错误，只为数字！"))}});
}

Frame radiusResult() {
    return resultFrame({heading("Lab_JieGuo", "避雷针在Hx高度的平面上的保护半径为："),
                        resultRow({{"Rx=", "PicRx"}})});
}

void printRx(Form& f, const RxDanZ& r) {
    f.print("PicRx", r.Rx);
}

void CmdRun_Click_DL(Form& f) {
    f.clear({"PicRx"});
    if (f.anyBlank({"CmbH", "CmbHx"})) return;
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx");
    const RodInput in{Hr, H, Hx};
    f.show(unit_id::calcRx_DLDanZ, in, calcRx_DLDanZ(in), [&](const RxDanZ& r) { printRx(f, r); });
}

void CmdRun_Click_JS(Form& f) {
    f.clear({"PicRx"});
    if (f.anyBlank({"CmbH", "CmbHx"})) return;
    const std::string answer = f.text("CmbYesNo");
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx");
    const auto yes = yesNoAnswer(answer);
    if (!yes) return;
    const RodOnBuildingInput in{*yes, Hr, H, Hx};
    f.show(unit_id::calcRx_JSDanZ, in, calcRx_JSDanZ(in), [&](const RxDanZ& r) { printRx(f, r); });
}

}  // namespace

const FormDef& frmRx_DLDanZ() {
    static const FormDef def{
        .name = "frmRx_DLDanZ",
        .caption = "独立单针保护范围计算",
        .frames = {descriptionFrame(
                       "    独立单支避雷针（即以建筑物基础为基准，架设的单支避雷针）建筑物保护"
                       "范围计算公式。计算方法：滚球法！"),
                   inputFrame(rodInputs(kRodHeight)), radiusResult()},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_DL), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.1条", "（单支接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx",
                 .submenu = "mnuRx_DanZ",
                 .submenuCaption = "单针保护范围",
                 .name = "mnuRx_DLDanZ",
                 .caption = "独立单针保护范围"},
    };
    return def;
}

const FormDef& frmRx_JSDanZ() {
    static const FormDef def{
        .name = "frmRx_JSDanZ",
        .caption = "架设于建筑物上的单针保护范围计算",
        .frames = {descriptionFrame(
                       "    架设于建筑物上的单支避雷针（即在建筑顶上架设的避雷针）的建筑物"
                       "保护范围计算公式。计算方法：滚球法！"),
                   inputFrame(rows({{yesNoRow()}, rodInputs(kTipHeight)})), radiusResult()},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_JS), closeButton()},
        // No default button: Enter reaches the boxes' key filters.
        .defaultButton = "",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.1条", "（单支接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx",
                 .submenu = "mnuRx_DanZ",
                 .submenuCaption = "单针保护范围",
                 .name = "mnuRx_JSDanZ",
                 .caption = "架设单针保护范围"},
    };
    return def;
}

}  // namespace tervalen::forms
