// frmH_BDGShuangZ: the height a second rod needs beside a rod of given height.

#include "calc/height/h_bdgshuangz.h"
#include "forms/form.h"
#include "forms/height/forms.h"
#include "forms/range/unequal_rods_rows.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.setVisible("LabDZ", false);
    f.clear({"PicH2", "PicRx1", "PicRx2", "PicD1", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbH1", "CmbD", "CmbHx", "CmbBxo"})) return;
    const float Hr = f.number("CmbHr"), H1 = f.number("CmbH1"), D = f.number("CmbD"),
                Hx = f.number("CmbHx"), Bxo = f.number("CmbBxo");
    const UnequalRodHeightInput in{Hr, H1, D, Hx, Bxo};
    f.show(unit_id::calcH_BDGShuangZ, in, calcH_BDGShuangZ(in), [&](const HBDGShuangZ& r) {
        f.print("PicH2", r.H2);
        printUnequalRods(f, r.range);
    });
}

}  // namespace

const FormDef& frmH_BDGShuangZ() {
    static const FormDef def{
        .name = "frmH_BDGShuangZ",
        .caption = "不等高双针针高计算",
        .frames = {descriptionFrame("    两支不等高避雷针（即以建筑物基础为基准，架设的两支不等高"
                                    "避雷针）已知避雷针1高度，求避雷针2针高。计算方法：滚球法！"),
                   inputFrame(
                       rows({sphereRadiusRows(KeyFilter::Numeric, "Hr 值输入错误，请选择！"),
                             {rodHeightRow(1), spacingRow(), surfaceRow(),
                              inputRow("Lab_Bxo", "所需保护宽度（Bxo）：",
                                       input("CmbBxo").numeric("Bxo 值输入错误，只为数字！"))}})),
                   resultFrame(rows({{heading({},
                                              "满足 Hx 高度平面上的保护宽度所需避雷针2高度"
                                              " H2 为："),
                                      resultRow({{"H2=", "PicH2"}})},
                                     unequalRodResults()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.3条", "（两支不等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuH", .name = "mnuH_BDGShuangZ", .caption = "不等高双针高度"},
    };
    return def;
}

}  // namespace tervalen::forms
