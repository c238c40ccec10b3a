// frmDZ_GC: the power-frequency earthing resistance of a system converted into its
// impulse resistance, with the coefficient chart beside the inputs.

#include "calc/earthing/dz_gc.h"
#include "forms/earthing/forms.h"
#include "forms/form.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.clear({"PicRi", "PicLe"});
    if (f.anyBlank({"CmbR", "Cmbρ", "CmbL"})) return;
    const float R = f.number("CmbR"), rho = f.number("Cmbρ"), L = f.number("CmbL");
    const ImpulseInput in{R, rho, L};
    f.show(unit_id::calcDZ_GC, in, calcDZ_GC(in), [&](const DzGc& r) {
        f.print("PicRi", r.Ri);
        f.print("PicLe", r.Le);
    });
}

}  // namespace

const FormDef& frmDZ_GC() {
    static const FormDef def{
        .name = "frmDZ_GC",
        .caption = "人工接地系统工频冲击接地电阻值互算",
        .frames = {descriptionFrame("该程序是将接地系统工频接地电阻值转算为冲击接地电阻值。"),
                   inputFrame({inputRow({}, "接地系统工频接地电阻值（R）：",
                                        input("CmbR").numeric("R 值错误，只为数字！"), "Ω"),
                               inputRow({}, "接地系统处土壤电阻率（ρ）：",
                                        input("Cmbρ").numeric("ρ 值错误，只为数字！"), "Ω·m"),
                               inputRow({}, "接地体最长支线实际长度（L）：",
                                        input("CmbL").numeric("L 值错误，只为数字！"), "m")}),
                   {"Frame1", "换算系数 A 示图：", {{picture("coefficient-chart", 280, 267)}}},
                   resultFrame({resultRow({{"接地系统冲击接地电阻值（Ri）为：", "PicRi"}}, "Ω"),
                                resultRow({{"接地体有效长度（Le）为：", "PicLe"}}, "m")})},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Earthing,
        .basis = {impulseConversion("CmdRun")},
        .menu = {.menu = "mnuDZ", .name = "mnuDZ_GC", .caption = "工频冲击接地电阻互算"},
    };
    return def;
}

}  // namespace tervalen::forms
