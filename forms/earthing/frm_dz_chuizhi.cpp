// frmDZ_ChuiZhi: power-frequency resistance of one and of N driven (vertical) earth
// electrodes, and the impulse resistance of the group.

#include "calc/earthing/dz_electrodes.h"
#include "forms/earthing/earthing_controls.h"
#include "forms/earthing/forms.h"

namespace tervalen::forms {
namespace {

void CmdRun_GP_Click(Form& f) {
    f.clear({"PicD", "PicR", "PicRn"});
    // An impulse resistance converted from the resistance this press replaces is stale.
    f.clear({"PicRi"});
    if (f.anyBlank({"CmbGg", "Cmbρ", "CmbL1", "CmbN"})) return;
    const float s = f.number("CmbGg"), rho = f.number("Cmbρ"), L1 = f.number("CmbL1"),
                N = f.number("CmbN");
    const VerticalElectrodesInput in{f.text("CmbGx"), s, rho, L1, N};
    f.show(unit_id::calcDZ_ChuiZhi, in, calcDZ_ChuiZhi(in), [&](const DzChuiZhi& r) {
        f.print("PicD", r.D);
        f.print("PicR", r.R);
        f.print("PicRn", r.Rn);
        keepForImpulse(f, r.Rn);
    });
}

}  // namespace

const FormDef& frmDZ_ChuiZhi() {
    static const FormDef def{
        .name = "frmDZ_ChuiZhi",
        .caption = "人工垂直接地体工频接地电阻计算",
        .frames = {descriptionFrame(
                       "    人工垂直接地体工频接地电阻值的计算，该程序分为圆钢、圆钢、扁钢"
                       "及等边角钢作为接地体的计算。"),
                   inputFrame({steelTypeRow("垂直接地体钢材类型（Gx）：", "等边角钢"),
                               steelSizeRow("等边角钢的边长（b）：", "B 值错误，只为数字！"),
                               soilRow(KeyFilter::Numeric),
                               inputRow({}, "垂直接地体长度（L1）：", input("CmbL1"), "m"),
                               inputRow({}, "垂直接地体根数（N）：",
                                        input("CmbN").numeric("N 值错误，只为数字！"), "根"),
                               branchLengthRow()}),
                   resultFrame({heading({}, "接地体直径或等效直径（D）："),
                                resultRow({{"D=", "PicD"}}, "m"),
                                heading({}, "单根人工垂直接地体的工频接地电阻值（R）为："),
                                resultRow({{"R=", "PicR"}}, "Ω"),
                                heading({}, "N 根人工垂直接地体的工频接地电阻值（Rn）为："),
                                [] {
                                    Row r = resultRow({{"Rn=", "PicRn"}}, "Ω");
                                    r.push_back(label("利用系数：0.75"));
                                    return r;
                                }(),
                                impulseResultLine()})},
        .buttons = powerFrequencyButtons(CmdRun_GP_Click, "CmbL2", "Rn"),
        .defaultButton = "CmdRun_GP",
        .cancelButton = "cmdCancel",
        .kept = {kStoredR},
        .family = Family::Earthing,
        .basis = {formula("CmdRun_GP",
                          "人工垂直接地体工频接地电阻：R = ρ/(2πL1)·ln(4L1/D)；N 根：Rn = "
                          "R/(η·N)，利用系数 η = 0.75"),
                  impulseConversion("CmdRun_CJ")},
        .menu = {.menu = "mnuDZ", .name = "mnuDZ_ChuiZhi", .caption = "垂直接地体工频电阻"},
    };
    return def;
}

}  // namespace tervalen::forms
