// frmRx_DLShuangZ and frmRx_JSShuangZ: protection range of two equal-height rods,
// standalone or on a building.

#include "calc/range/rx_shuangz.h"
#include "forms/form.h"
#include "forms/range/form_rows.h"
#include "forms/range/forms.h"

namespace tervalen::forms {
namespace {

std::vector<Row> spacedRodInputs() {
    return equalRodInputs(
        inputRow("Lab_D", "避雷针间距（D）：", input("CmbD").numeric("D 值输入错误，只为数字！")));
}

Frame twoRodResults() {
    return resultFrame(
        {heading("Lab_JieGuo", "避雷针两端在Hx高度的平面上的保护半径为："),
         resultRow({{"Rx=", "PicRx"}}), heading({}, "避雷针中心轴线的保护最低点为："),
         resultRow({{"Ho=", "PicHo"}}), heading({}, "避雷针之间在Hx高度平面上的最小保护宽度："),
         resultRow({{"Bx=", "PicBx"}})});
}

void CmdRun_Click_DL(Form& f) {
    f.clear({"PicRx", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbH", "CmbHx", "CmbD"})) return;
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx"),
                D = f.number("CmbD");
    const RodPairInput in{Hr, H, Hx, D};
    f.show(unit_id::calcRx_DLShuangZ, in, calcRx_DLShuangZ(in),
           [&](const RxShuangZ& r) { printTwoRods(f, r); });
}

void CmdRun_Click_JS(Form& f) {
    f.clear({"PicRx", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbH", "CmbHx", "CmbD"})) return;
    const std::string answer = f.text("CmbYesNo");
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx"),
                D = f.number("CmbD");
    const auto yes = yesNoAnswer(answer);
    if (!yes) return;
    const RodPairOnBuildingInput in{*yes, Hr, H, Hx, D};
    f.show(unit_id::calcRx_JSShuangZ, in, calcRx_JSShuangZ(in),
           [&](const RxShuangZ& r) { printTwoRods(f, r); });
}

}  // namespace

const FormDef& frmRx_DLShuangZ() {
    static const FormDef def{
        .name = "frmRx_DLShuangZ",
        .caption = "独立等高双针保护范围计算",
        .frames = {descriptionFrame(
                       "    独立双支等高避雷针（即以建筑物基础为基准，架设的双支等高避雷针）"
                       "建筑物保护范围计算公式。计算方法：滚球法！"),
                   inputFrame(spacedRodInputs()), twoRodResults()},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_DL), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.2条", "（两支等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx",
                 .submenu = "mnuRx_ShuangZ",
                 .submenuCaption = "等高双针保护范围",
                 .name = "mnuRx_DLShuangZ",
                 .caption = "独立等高双针保护范围"},
    };
    return def;
}

const FormDef& frmRx_JSShuangZ() {
    static const FormDef def{
        .name = "frmRx_JSShuangZ",
        .caption = "架设于建筑物上的等高双针保护范围计算",
        .frames = {descriptionFrame("    架设双支等高避雷针（即在建筑物屋顶上架设的双支等高避雷针）"
                                    "建筑物保护范围计算公式。计算方法：滚球法！"),
                   inputFrame(rows({{yesNoRow()}, spacedRodInputs()})), twoRodResults()},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_JS), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.2条", "（两支等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx",
                 .submenu = "mnuRx_ShuangZ",
                 .submenuCaption = "等高双针保护范围",
                 .name = "mnuRx_JSShuangZ",
                 .caption = "架设等高双针保护范围"},
    };
    return def;
}

}  // namespace tervalen::forms
