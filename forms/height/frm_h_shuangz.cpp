// frmH_DLShuangZ and frmH_JSShuangZ: height of two equal rods, standalone or on a building.

#include "calc/height/h_danz.h"
#include "calc/height/h_shuangz.h"
#include "forms/form.h"
#include "forms/height/form_parts.h"
#include "forms/height/forms.h"

namespace tervalen::forms {
namespace {

const char* const kDescription =
    "    "
    "独立双支等高避雷针（即以建筑物基础为基准，架设的双支等高避雷针）针高计算公式。计算方法：滚球法"
    "！";

std::vector<Row> widthInputs() {
    return rows({sphereRadiusRows(KeyFilter::Numeric, "Hr 值输入错误，请选择！"),
                 {inputRow("Lab_Bxo", "所需保护宽度（Bxo）：",
                           input("CmbBxo").numeric("Rxo 值输入错误，只为数字！")),
                  height::surfaceRow(),
                  inputRow("Lab_D", "避雷针间距（D）：",
                           input("CmbD").numeric("D 值输入错误，只为数字！"))}});
}

Row heightHeading() {
    return heading({}, "满足 Hx 高度平面上的保护宽度所需针高 H 为：");
}

std::vector<Row> lowestPointResults() {
    return {heading({}, "避雷针中心轴线的保护最低点为："), resultRow({{"Ho=", "PicHo"}}),
            heading({}, "避雷针之间在Hx高度平面上的最小保护宽度："), resultRow({{"Bx=", "PicBx"}})};
}

void CmdRun_Click_DL(Form& f) {
    f.clear({"PicH", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbBxo", "CmbHx", "CmbD"})) return;
    const float Hr = f.number("CmbHr"), Bxo = f.number("CmbBxo"), Hx = f.number("CmbHx"),
                D = f.number("CmbD");
    const RodPairHeightInput in{Hr, Bxo, Hx, D};
    f.show(unit_id::calcH_DLShuangZ, in, calcH_DLShuangZ(in), [&](const HDLShuangZ& r) {
        f.print("PicH", r.H);
        f.print("PicHo", r.Ho);
        f.print("PicBx", r.Bx);
    });
}

void CmdRun_Click_JS(Form& f) {
    f.clear({"PicHj", "PicHt", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbBxo", "CmbHx", "CmbD", "CmbG"})) return;
    const std::string answer = f.text("CmbYesNo");
    const float Hr = f.number("CmbHr"), Bxo = f.number("CmbBxo"), Hx = f.number("CmbHx"),
                D = f.number("CmbD"), G = f.number("CmbG");
    const RodPairHeightOnBuildingInput in{yesNoAnswer(answer), Hr, Bxo, Hx, D, G};
    f.show(unit_id::calcH_JSShuangZ, in, calcH_JSShuangZ(in),
           [&](const std::optional<HJSShuangZ>& r) {
               if (!r) return;
               f.print("PicHj", r->tip);
               f.print("PicHt", r->body);
               f.print("PicHo", r->search.Ho);
               f.print("PicBx", r->search.Bx);
           });
}

// The equipotential answer is picked from its list: typed keys meet a numeric filter.
Row answerRow() {
    Row r = yesNoRow();
    r[1] = r[1].numeric("Rxo 值输入错误，只为数字！");
    return r;
}

}  // namespace

const FormDef& frmH_DLShuangZ() {
    static const FormDef def{
        .name = "frmH_DLShuangZ",
        .caption = "独立等高双针针高计算",
        .frames = {descriptionFrame(kDescription), inputFrame(widthInputs()),
                   resultFrame(rows(
                       {{heightHeading(), resultRow({{"H=", "PicH"}})}, lowestPointResults()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_DL), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.2条", "（两支等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuH",
                 .submenu = "mnuH_ShuangZ",
                 .submenuCaption = "等高双针高度",
                 .name = "mnuH_DLShuangZ",
                 .caption = "独立等高双针高度"},
    };
    return def;
}

const FormDef& frmH_JSShuangZ() {
    static const FormDef def{
        .name = "frmH_JSShuangZ",
        .caption = "架设于建筑物上等高双针针高计算",
        .frames = {descriptionFrame(kDescription),
                   inputFrame(rows({{answerRow()},
                                    widthInputs(),
                                    {inputRow("Lab_G", "架针物面高度（G）：", input("CmbG"))}})),
                   resultFrame(
                       rows({{heightHeading(),
                              height::eachInMetres({{"H(针尖)=", "PicHj"}, {"H(针体)=", "PicHt"}})},
                             lowestPointResults()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_JS), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.2条", "（两支等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuH",
                 .submenu = "mnuH_ShuangZ",
                 .submenuCaption = "等高双针高度",
                 .name = "mnuH_JSShuangZ",
                 .caption = "架设等高双针高度"},
        .resultNames = {{"H(针尖)", "针尖距地面高度"}, {"H(针体)", "针体高出架针物面的长度"}},
    };
    return def;
}

}  // namespace tervalen::forms
