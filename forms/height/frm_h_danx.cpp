// frmH_DanX: support height of a single overhead wire.

#include "calc/height/h_danx.h"
#include "forms/form.h"
#include "forms/height/form_parts.h"
#include "forms/height/forms.h"
#include "forms/range/form_rows.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.clear({"PicH", "PicHc", "PicHh", "PicBx1", "PicBx2"});
    if (f.anyBlank({"CmbBx1o", "CmbHx", "CmbD"})) return;
    const float Hr = f.number("CmbHr"), Bx1o = f.number("CmbBx1o"), Hx = f.number("CmbHx"),
                D = f.number("CmbD");
    const WireHeightInput in{Hr, Bx1o, Hx, D};
    f.show(unit_id::calcH_DanX, in, calcH_DanX(in), [&](const HDanX& r) {
        f.print("PicH", r.H);
        f.print("PicHc", r.Hc);
        f.print("PicHh", r.H);  // the highest point of the range is the wire at its supports
        f.print("PicBx1", r.Bx1);
        f.print("PicBx2", r.Bx2);
    });
}

}  // namespace

const FormDef& frmH_DanX() {
    static const FormDef def{
        .name = "frmH_DanX",
        .caption = "架空单线高度计算",
        .frames = {descriptionFrame("    架空单根避雷线高度计算公式。计算方法：滚球法！"),
                   inputFrame(
                       rows({sphereRadiusRows(KeyFilter::DigitsOnly, "Hr 值错误，只为数字！"),
                             {inputRow("Lab_Bx1o", "所需最小保护宽度（Bx1o）：", input("CmbBx1o")),
                              inputRow("Lab_D", "避雷线等高支柱间距（D）：",
                                       input("CmbD").numeric("D 值输入错误，只为数字！")),
                              spanNoteRow(), height::surfaceRow()}})),
                   resultFrame({heading({}, "避雷线支柱高度 H 及弧垂 Hc 为："),
                                height::eachInMetres({{"H=", "PicH"}, {"Hc=", "PicHc"}}),
                                heading({}, "避雷线保护范围最高点高度为："),
                                height::eachInMetres({{"Hh=", "PicHh"}}),
                                heading({}, "避雷线支柱间在Hx高度的平面上的最小及最大保护宽度为："),
                                height::eachInMetres({{"Bx1=", "PicBx1"}, {"Bx2=", "PicBx2"}})})},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .narrowerWidthCounts = true,
        .basis = {sphereMethod("第D.0.5条", "（单根接闪线的保护范围，滚球法）")},
        .menu = {.menu = "mnuH",
                 .name = "mnuH_DanX",
                 .caption = "架空单线高度",
                 .separatorBefore = "mnuH_Divide"},
        .resultNames = {{"H", "满足要求所需避雷线支柱高度"},
                        {"Hc", "避雷线弧垂"},
                        {"Bx1", "档距中央在Hx高度平面上的最小保护宽度"},
                        {"Bx2", "支柱处在Hx高度平面上的保护宽度"}},
    };
    return def;
}

}  // namespace tervalen::forms
