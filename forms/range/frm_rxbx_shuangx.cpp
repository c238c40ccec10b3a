// frmRxBx_ShuangX: protection range of two parallel overhead wires.

#include "calc/range/rxbx_shuangx.h"
#include "forms/form.h"
#include "forms/range/form_rows.h"
#include "forms/range/forms.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.clear({"PicHo", "PicBx1", "PicBx2"});
    if (f.anyBlank({"CmbHr", "CmbH", "CmbHx", "CmbD1", "CmbD2"})) return;
    f.setVisible("LabJG", false);
    const float Hr = f.number("CmbHr"), H = f.number("CmbH");
    // No width at the height Hr is worked out for wires up to Hr high; the note says so
    // from here on, even when a check then refuses the inputs.
    f.setVisible("LabJG", H <= Hr);
    const float Hx = f.number("CmbHx"), D1 = f.number("CmbD1"), D2 = f.number("CmbD2");
    const WirePairInput in{Hr, H, Hx, D1, D2};
    f.show(unit_id::calcRxBx_ShuangX, in, calcRxBx_ShuangX(in), [&](const RxBxShuangX& r) {
        f.print("PicHo", r.Ho);
        f.print("PicBx1", r.Bx1);
    });
}

}  // namespace

const FormDef& frmRxBx_ShuangX() {
    static const FormDef def{
        .name = "frmRxBx_ShuangX",
        .caption = "架空双线保护范围计算",
        .frames =
            {descriptionFrame("    双根等高架空避雷线的建筑物保护范围计算公式。计算方法：滚球法！"),
             inputFrame(rows({sphereRadiusRows(KeyFilter::Numeric, "Hr 值错误，只为数字！"),
                              {inputRow("Lab_H", "避雷线等高支柱高度（H）：",
                                        input("CmbH").numeric("H 值输入错误，只为数字！")),
                               inputRow({}, "避雷线等高支柱间距（D1）：",
                                        input("CmbD1").numeric("D1 值输入错误，只为数字！")),
                               spanNoteRow(),
                               inputRow({}, "两根避雷线间的距离（D2）：",
                                        input("CmbD2").numeric("D2 值输入错误，只为数字！")),
                               inputRow("Lab_Hx", "被保护面高度（Hx）：",
                                        input("CmbHx").numeric("Hx 值输入错误，只为数字！"))}})),
             resultFrame(rows(
                 {{
                      heading({}, "两根避雷线间的保护最低点为："),
                      resultRow({{"Ho=", "PicHo"}}),
                      heading("Lab_JieGuo", "避雷线间的中线两端在Hx高度的平面上的最小保护宽度为："),
                      resultRow({{"Bx1=", "PicBx1"}}),
                  },
                  widthAtSphereRadiusRows()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.6条", "（两根等高接闪线的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx", .name = "mnuRx_ShuangX", .caption = "架空双线保护范围"},
    };
    return def;
}

}  // namespace tervalen::forms
