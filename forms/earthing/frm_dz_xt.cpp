// frmDZ_XT: power-frequency resistance of an earthing system of vertical and horizontal
// electrodes and, optionally, earthing modules; and its impulse resistance.

#include "calc/earthing/dz_xt.h"
#include "forms/earthing/earthing_controls.h"
#include "forms/earthing/forms.h"

namespace tervalen::forms {
namespace {

// The module inputs follow a pick of "是" or "否"; their texts stay.
void CmbYesNo_Click(Form& f) {
    const auto answer = yesNoAnswer(f.text("CmbYesNo"));
    if (!answer) return;
    for (const char* c : {"LabRM", "CmbRM", "LabN", "CmbN"}) f.setEnabled(c, *answer);
}

Row moduleRow(const char* labelName, const char* caption, const char* box, const char* refusal,
              const char* unit) {
    Row r = inputRow(labelName, caption, input(box).numeric(refusal), unit);
    r[0] = r[0].changes(kEnabled);
    r[1] = r[1].changes(kEnabled);
    return r;
}

void CmdRun_GP_Click(Form& f) {
    // PicRMn keeps the modules' resistance of the last calculation that had modules.
    f.clear({"PicR", "PicRi"});
    if (f.anyBlank({"CmbRB", "CmbRP"})) return;
    const float RB = f.number("CmbRB"), RP = f.number("CmbRP");
    const auto answer = yesNoAnswer(f.text("CmbYesNo"));
    std::optional<EarthingModules> modules;
    if (answer == true) {
        if (f.anyBlank({"CmbRM", "CmbN"})) return;
        const float RM = f.number("CmbRM"), N = f.number("CmbN");
        modules = EarthingModules{RM, N};
    }
    if (answer) {
        const EarthingSystemInput in{RB, RP, modules};
        f.show(unit_id::calcDZ_XT, in, calcDZ_XT(in), [&](const DzXt& r) {
            if (r.RMn) f.print("PicRMn", *r.RMn);
            f.print("PicR", r.R);
            f.kept(kStoredR) = r.R;
        });
    }
    // Any other answer computes nothing, but the focus still moves on.
    f.focus("CmdRun_CJ");
}

}  // namespace

const FormDef& frmDZ_XT() {
    static const FormDef def{
        .name = "frmDZ_XT",
        .caption = "接地系统工频冲击接地电阻计算",
        .frames = {descriptionFrame(
                       "    该程序计算由人工垂直、水平接地体（或接地模块）组成的接地系统的"
                       "工频及冲击接地电阻值。"),
                   inputFrame({inputRow("LabGg", "接地系统中是否有接地模块：",
                                        input("CmbYesNo", "是")
                                            .withList({"是", "否"})
                                            .sized(50)
                                            .onPick(CmbYesNo_Click),
                                        {}),
                               inputRow({}, "垂直接地体工频电阻（RB）：",
                                        input("CmbRB").numeric("RB 值错误，只为数字！"), "Ω"),
                               inputRow({}, "水平接地体工频电阻（RP）：",
                                        input("CmbRP").numeric("Rp 值错误，只为数字！"), "Ω"),
                               moduleRow("LabRM", "单个接地模块工频电阻（RM）：", "CmbRM",
                                         "RM 值错误，只为数字！", "Ω"),
                               moduleRow("LabN", "接地系统中接地模块块数（N）：", "CmbN",
                                         "N 值错误，只为数字！", "块"),
                               soilRow(KeyFilter::None),
                               inputRow({}, "接地体最长支线实际长度（L）：", input("CmbL"), "m")}),
                   resultFrame(
                       {heading({}, "N 块接地模块的工频接地电阻值（RMn）为："),
                        resultRow({{"RMn=", "PicRMn"}}, "Ω"),
                        heading({}, "接地系统工频接地电阻值（R）为："),
                        resultRow({{"R=", "PicR"}}, "Ω"),
                        heading({}, "接地系统冲击接地电阻值（Ri）为："),
                        resultRow({{"Ri=", "PicRi"}}, "Ω"),
                        {label("注：该程序接地系统工频接地电阻值计算的利用系数为：     η=0.75")}})},
        .buttons = powerFrequencyButtons(CmdRun_GP_Click, "CmbL", "R"),
        .defaultButton = "CmdRun_GP",
        .cancelButton = "cmdCancel",
        .kept = {kStoredR},
        .family = Family::Earthing,
        .basis = {formula(
                      "CmdRun_GP",
                      "接地系统工频接地电阻（各部分并联，利用系数 η = 0.75）：R = (RB∥RP∥RMn)/η，"
                      "RMn = RM/N，无接地模块时 R = (RB∥RP)/η"),
                  impulseConversion("CmdRun_CJ")},
        .menu = {.menu = "mnuDZ", .name = "mnuDZ_XiTong", .caption = "接地系统工频电阻"},
    };
    return def;
}

}  // namespace tervalen::forms
