// frmRx_DLSanZ and frmRx_DLSiZ: protection range of three standalone rods on an
// equilateral triangle and of four on a square.

#include "calc/range/rx_sanz_siz.h"
#include "forms/form.h"
#include "forms/range/form_rows.h"
#include "forms/range/forms.h"

namespace tervalen::forms {
namespace {

const char* const kOuterRadius = "避雷针外端在Hx高度的平面上的保护半径为：";

void CmdRun_Click_SanZ(Form& f) {
    f.clear({"PicRx", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbH", "CmbHx", "CmbL"})) return;
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx"),
                L = f.number("CmbL");
    const RodFigureInput in{Hr, H, Hx, L};
    f.show(unit_id::calcRx_DLSanZ, in, calcRx_DLSanZ(in),
           [&](const RxSanZ& r) { printTwoRods(f, r); });
}

void CmdRun_Click_SiZ(Form& f) {
    f.clear({"PicRx", "PicHo1", "PicBx1", "PicHo2", "PicBx2"});
    if (f.anyBlank({"CmbH", "CmbHx", "CmbL"})) return;
    const float Hr = f.number("CmbHr"), H = f.number("CmbH"), Hx = f.number("CmbHx"),
                L = f.number("CmbL");
    const RodFigureInput in{Hr, H, Hx, L};
    f.show(unit_id::calcRx_DLSiZ, in, calcRx_DLSiZ(in), [&](const RxSiZ& r) {
        f.print("PicRx", r.side.Rx);
        f.print("PicHo1", r.side.Ho);
        f.print("PicBx1", r.side.Bx);
        printDiagonal(f, r.Ho2, r.Bx2);
    });
}

}  // namespace

const FormDef& frmRx_DLSanZ() {
    static const FormDef def{
        .name = "frmRx_DLSanZ",
        .caption = "独立等高等边三角形布置三针保护范围计算",
        .frames = {descriptionFrame(
                       "    独立避雷针且呈等边三角形分布的三支等高避雷针的建筑物保护范围"
                       "计算公式。计算方法：滚球法！"),
                   inputFrame(
                       equalRodInputs(inputRow("Lab_D", "等边三角形边长（L）：",
                                               input("CmbL").numeric("L 值输入错误，只为数字！")))),
                   resultFrame({heading("Lab_JieGuo", kOuterRadius), resultRow({{"Rx=", "PicRx"}}),
                                heading({}, "避雷针在等边三角形边长的保护最低点为："),
                                resultRow({{"Ho=", "PicHo"}}),
                                heading({}, "避雷针边长的保护最低点Ho在Hx高度平面上的保护宽度："),
                                resultRow({{"Bx=", "PicBx"}})})},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_SanZ), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.2条",
                               "（两支等高接闪杆的保护范围，用于三角形的每一边，滚球法）")},
        .menu = {.menu = "mnuRx", .name = "mnuRx_DLSanZ", .caption = "等高三针保护范围"},
    };
    return def;
}

const FormDef& frmRx_DLSiZ() {
    static const FormDef def{
        .name = "frmRx_DLSiZ",
        .caption = "独立等高正方形布置四针保护范围计算",
        .frames = {descriptionFrame(
                       "    独立避雷针且呈正方形分布的等高四针的建筑物保护范围计算公式。"
                       "计算方法：滚球法！"),
                   // The key filter of the side names D, the distance between the rods.
                   inputFrame(
                       equalRodInputs(inputRow("Lab_D", "正方形边长（L）：",
                                               input("CmbL").numeric("D 值输入错误，只为数字！")))),
                   resultFrame({heading("Lab_JieGuo", kOuterRadius), resultRow({{"Rx=", "PicRx"}}),
                                heading({}, "避雷针在正方形边长上的保护最低点及其保护宽度为："),
                                resultRow({{"Ho1=", "PicHo1"}, {"Bx1=", "PicBx1"}}),
                                heading({}, "避雷针在正方形对角线上的保护最低点及其保护宽度为："),
                                resultRow({{"Ho2=", "PicHo2"}, {"Bx2=", "PicBx2"}})})},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_SiZ), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Range,
        .drawn = true,
        .basis = {sphereMethod("第D.0.4条", "（矩形布置的四支等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuRx", .name = "mnuRx_DLSiZ", .caption = "等高四针保护范围"},
        .resultNames = {{"Ho1", "正方形边长上的保护最低点"},
                        {"Bx1", "边长上的保护最低点在Hx高度平面上的保护宽度"},
                        {"Ho2", "正方形对角线上的保护最低点"},
                        {"Bx2", "对角线上的保护最低点在Hx高度平面上的保护宽度"}},
    };
    return def;
}

}  // namespace tervalen::forms
