// frmH_DLDanZ and frmH_JSDanZ: height of a single rod, standalone or on a building.

#include "calc/height/h_danz.h"
#include "forms/form.h"
#include "forms/height/form_parts.h"
#include "forms/height/forms.h"

namespace tervalen::forms {
namespace {

std::vector<Row> radiusInputs() {
    return rows({sphereRadiusRows(KeyFilter::DigitsOnly, "Hr 值错误，只为数字！"),
                 {inputRow("Lab_Rxo", "所需保护半径（Rxo）：",
                           input("CmbRxo").numeric("Rxo 值输入错误，只为数字！")),
                  height::surfaceRow()}});
}

Row heightHeading() {
    return heading({}, "满足 Hx 高度平面上的保护半径所需针高 H 为：");
}

std::vector<Row> radiusResult() {
    return {heading({}, "该高度避雷针在 Hx 高度平面上的保护半径 Rx 为："),
            resultRow({{"Rx=", "PicRx"}})};
}

void CmdRun_Click_DL(Form& f) {
    f.clear({"PicH", "PicRx"});
    if (f.anyBlank({"CmbRxo", "CmbHx"})) return;
    const float Hr = f.number("CmbHr"), Rxo = f.number("CmbRxo"), Hx = f.number("CmbHx");
    const RodHeightInput in{Hr, Rxo, Hx};
    f.show(unit_id::calcH_DLDanZ, in, calcH_DLDanZ(in), [&](const HDLDanZ& r) {
        f.print("PicH", r.H);
        f.print("PicRx", r.Rx);
    });
}

void CmdRun_Click_JS(Form& f) {
    f.clear({"PicHj", "PicHt", "PicRx"});
    if (f.anyBlank({"CmbRxo", "CmbHx", "CmbG"})) return;
    const std::string answer = f.text("CmbYesNo");
    const float Hr = f.number("CmbHr"), Rxo = f.number("CmbRxo"), Hx = f.number("CmbHx"),
                G = f.number("CmbG");
    const RodHeightOnBuildingInput in{yesNoAnswer(answer), Hr, Rxo, Hx, G};
    f.show(unit_id::calcH_JSDanZ, in, calcH_JSDanZ(in), [&](const std::optional<HJSDanZ>& r) {
        if (!r) return;
        f.print("PicHj", r->tip);
        f.print("PicHt", r->body);
        f.print("PicRx", r->Rx);
    });
}

}  // namespace

const FormDef& frmH_DLDanZ() {
    static const FormDef def{
        .name = "frmH_DLDanZ",
        .caption = "独立单针针高计算",
        .frames = {descriptionFrame(
                       "    独立单支避雷针（即以建筑物基础为基准，架设的单支避雷针）针高"
                       "计算公式。计算方法：滚球法！"),
                   inputFrame(radiusInputs()),
                   resultFrame(
                       rows({{heightHeading(), resultRow({{"H=", "PicH"}})}, radiusResult()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_DL), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.1条", "（单支接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuH",
                 .submenu = "mnuH_DanZ",
                 .submenuCaption = "单针高度",
                 .name = "mnuH_DLDanZ",
                 .caption = "独立单针高度"},
    };
    return def;
}

const FormDef& frmH_JSDanZ() {
    static const FormDef def{
        .name = "frmH_JSDanZ",
        .caption = "架设于建筑物上的单针针高计算",
        .frames = {descriptionFrame("    架设于建筑物上的单支避雷针（即在建筑顶上架设的避雷针）针高"
                                    "计算公式。计算方法：滚球法！"),
                   inputFrame(
                       rows({{yesNoRow()},
                             radiusInputs(),
                             {inputRow("Lab_G", "架针物面高度（G）：",
                                       input("CmbG").numeric("G 值输入错误，只为数字！"))}})),
                   resultFrame(
                       rows({{heightHeading(),
                              height::eachInMetres({{"H(针尖)=", "PicHj"}, {"H(针体)=", "PicHt"}})},
                             radiusResult()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_JS), closeButton("CmdCancel")},
        .defaultButton = "CmdRun",
        .cancelButton = "CmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.1条", "（单支接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuH",
                 .submenu = "mnuH_DanZ",
                 .submenuCaption = "单针高度",
                 .name = "mnuH_JSDanZ",
                 .caption = "架设单针高度"},
        .resultNames = {{"H(针尖)", "针尖距地面高度"}, {"H(针体)", "针体高出架针物面的长度"}},
    };
    return def;
}

}  // namespace tervalen::forms
