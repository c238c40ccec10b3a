// frmRx_BDGShuangZ: protection range of two standalone rods of different heights.

#include "calc/range/rx_bdgshuangz.h"
#include "forms/form.h"
#include "forms/range/forms.h"
#include "forms/range/unequal_rods_rows.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.setVisible("LabDZ", false);
    f.clear({"PicRx1", "PicRx2", "PicD1", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbH1", "CmbH2", "CmbD", "CmbHx"})) return;
    const float Hr = f.number("CmbHr"), H1 = f.number("CmbH1"), H2 = f.number("CmbH2"),
                D = f.number("CmbD"), Hx = f.number("CmbHx");
    const UnequalRodsInput in{Hr, H1, H2, D, Hx};
    f.show(unit_id::calcRx_BDGShuangZ, in, calcRx_BDGShuangZ(in),
           [&](const RxBDGShuangZ& r) { printUnequalRods(f, r); });
}

}  // namespace

const FormDef& frmRx_BDGShuangZ() {
    static const FormDef def{
        .name = "frmRx_BDGShuangZ",
        .caption = "不等高双针保护范围计算",
        .frames = {descriptionFrame("    两支不等高避雷针（即以建筑物基础为基准，架设的两支不等高"
                                    "避雷针）建筑物保护范围计算公式。计算方法：滚球法！"),
                   inputFrame(
                       rows({sphereRadiusRows(KeyFilter::Numeric, "Hr 值输入错误，只为数字！"),
                             {rodHeightRow(1), rodHeightRow(2), spacingRow(), surfaceRow()}})),
                   resultFrame(unequalRodResults())},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.3条", "（两支不等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx", .name = "mnuRx_BDGShuangZ", .caption = "不等高双针保护范围"},
    };
    return def;
}

}  // namespace tervalen::forms
