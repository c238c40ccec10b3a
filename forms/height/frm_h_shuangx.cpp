// frmH_ShuangX: support height of two parallel overhead wires.

#include "calc/height/h_shuangx.h"
#include "forms/form.h"
#include "forms/height/form_parts.h"
#include "forms/height/forms.h"
#include "forms/range/form_rows.h"

namespace tervalen::forms {
namespace {

void CmdRun_Click(Form& f) {
    f.clear({"PicH", "PicHc", "PicHo", "PicBx1", "PicBx2"});
    if (f.anyBlank({"CmbHr", "CmbHoo", "CmbHx", "CmbD1", "CmbD2"})) return;
    // Hidden only once the blank tests pass: a run stopped there leaves it as it was.
    f.setVisible("LabJG", false);
    const float Hr = f.number("CmbHr");
    const auto Hoo = [&f] { return f.numberDouble("CmbHoo"); };  // read when first compared
    const float Hx = f.number("CmbHx"), D1 = f.number("CmbD1"), D2 = f.number("CmbD2");
    const auto outcome = calcH_ShuangX(Hr, Hoo, Hx, D1, D2);
    // Hoo is read within the search: the input the press ran on holds the value read.
    const auto* found = std::get_if<HShuangX>(&outcome);
    const WirePairHeightInput in{Hr, found ? found->Hoo : 0.0, Hx, D1, D2};
    f.show(unit_id::calcH_ShuangX, in, outcome, [&](const HShuangX& r) {
        if (r.withinSphere) f.setVisible("LabJG", true);
        f.print("PicH", r.H);
        if (r.Hc) f.print("PicHc", static_cast<float>(*r.Hc));
        f.print("PicBx1", r.withinSphere ? r.Bx1 : 0.0f);
        f.print("PicHo", r.Ho);
        if (r.Bx2) f.print("PicBx2", *r.Bx2);
    });
}

}  // namespace

const FormDef& frmH_ShuangX() {
    static const FormDef def{
        .name = "frmH_ShuangX",
        .caption = "架空双线高度计算",
        .frames = {descriptionFrame("    双根等高架空避雷线高度计算公式。计算方法：滚球法！"),
                   inputFrame(
                       rows({sphereRadiusRows(KeyFilter::Numeric, "Hr 值错误，只为数字！"),
                             {inputRow("Lab_Hoo", "所需保护最低点高度（Hoo）：",
                                       input("CmbHoo").numeric("Hoo 值输入错误，只为数字！")),
                              inputRow("Lab_D1", "避雷线等高支柱间距（D1）：",
                                       input("CmbD1").numeric("D1 值输入错误，只为数字！")),
                              spanNoteRow(),
                              inputRow("Lab_D2", "两根避雷线间的距离（D2）：",
                                       input("CmbD2").numeric("D2 值输入错误，只为数字！")),
                              height::surfaceRow()}})),
                   resultFrame(rows(
                       {{
                            heading({}, "避雷线支柱高度 H 及避雷线弧垂 Hc 为："),
                            height::eachInMetres({{"H=", "PicH"}, {"Hc=", "PicHc"}}),
                            heading({}, "避雷线间的中线两端在Hx高度的平面上的最小保护宽度为："),
                            resultRow({{"Bx1=", "PicBx1"}}),
                            heading({}, "两根避雷线间的保护最低点为："),
                            resultRow({{"Ho=", "PicHo"}}),
                        },
                        widthAtSphereRadiusRows()}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.6条", "（两根等高接闪线的保护范围，滚球法）")},
        .menu = {.menu = "mnuH", .name = "mnuH_ShuangX", .caption = "架空双线高度"},
        .resultNames = {{"H", "满足要求所需避雷线支柱高度"}, {"Hc", "避雷线弧垂"}},
    };
    return def;
}

}  // namespace tervalen::forms
