// frmRxBx_DanX: protection range of one overhead wire.

#include "calc/range/rxbx_danx.h"
#include "forms/form.h"
#include "forms/range/form_rows.h"
#include "forms/range/forms.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.clear({"PicHh", "PicBx1", "PicBx2"});
    if (f.anyBlank({"CmbH", "CmbHx", "CmbD"})) return;
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx"),
                D = f.number("CmbD");
    const WireInput in{Hr, H, Hx, D};
    f.show(unit_id::calcRxBx_DanX, in, calcRxBx_DanX(in), [&](const RxBxDanX& r) {
        f.print("PicHh", r.Hh);
        f.print("PicBx1", r.Bx1);
        f.print("PicBx2", r.Bx2);
    });
}

}  // namespace

const FormDef& frmRxBx_DanX() {
    static const FormDef def{
        .name = "frmRxBx_DanX",
        .caption = "架空单线保护范围计算",
        .frames =
            {descriptionFrame("    架空单根避雷线的建筑物保护范围计算公式。计算方法：滚球法！"),
             inputFrame(rows({sphereRadiusRows(KeyFilter::DigitsOnly, "Hr 值错误，只为数字！"),
                              {inputRow("Lab_H", "避雷线等高支柱高度（H）：",
                                        input("CmbH").numeric("H 值输入错误，只为数字！")),
                               inputRow({}, "避雷线等高支柱间距（D）：",
                                        input("CmbD").numeric("D 值输入错误，只为数字！")),
                               spanNoteRow(),
                               inputRow("Lab_Hx", "被保护面高度（Hx）：",
                                        input("CmbHx").numeric("Hx 值输入错误，只为数字！"))}})),
             resultFrame({heading({}, "避雷线保护范围最高点高度为："),
                          resultRow({{"Hh=", "PicHh"}}),
                          heading("Lab_JieGuo", "避雷线支柱间在Hx高度的平面上的最小保护宽度为："),
                          resultRow({{"Bx1=", "PicBx1"}}),
                          heading({}, "避雷线支柱间在Hx高度的平面上的最大保护宽度为："),
                          resultRow({{"Bx2=", "PicBx2"}})})},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .narrowerWidthCounts = true,
        .basis = {sphereMethod("第D.0.5条", "（单根接闪线的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx",
                 .name = "mnuRx_DanX",
                 .caption = "架空单线保护范围",
                 .separatorBefore = "mnuRx_Divide"},
    };
    return def;
}

}  // namespace tervalen::forms
