// frmH_DLSanZ and frmH_DLSiZ: height of standalone rods on an equilateral triangle or a square.

#include "calc/height/h_sansiz.h"
#include "calc/range/rx_sanz_siz.h"
#include "forms/form.h"
#include "forms/height/form_parts.h"
#include "forms/height/forms.h"
#include "forms/range/form_rows.h"

namespace tervalen::forms {
namespace {

std::vector<Row> sideInputs(const char* sideCaption, std::vector<Row> widthNote) {
    return rows(
        {sphereRadiusRows(KeyFilter::Numeric, "Hr 值输入错误，请选择！"),
         {inputRow("Lab_Bxo",
                   "所需保护宽度（Bxo）:", input("CmbBxo").numeric("Rxo 值输入错误，只为数字！"))},
         std::move(widthNote),
         {height::surfaceRow(),
          inputRow("Lab_L", sideCaption, input("CmbL").numeric("D 值输入错误，只为数字！"))}});
}

std::vector<Row> heightResult() {
    return {heading({}, "满足 Hx 高度平面上的保护宽度所需针高 H 为："),
            resultRow({{"H=", "PicH"}})};
}

// Reads the inputs both forms share, in their order, after the blank tests.
RodFigureHeightInput sideInput(const Form& f) {
    const float Hr = f.number("CmbHr"), Bxo = f.number("CmbBxo"), Hx = f.number("CmbHx"),
                L = f.number("CmbL");
    return {Hr, Bxo, Hx, L};
}

void CmdRun_Click_San(Form& f) {
    f.clear({"PicH", "PicHo", "PicBx"});
    if (f.anyBlank({"CmbBxo", "CmbHx", "CmbL"})) return;
    const RodFigureHeightInput in = sideInput(f);
    f.show(unit_id::calcH_DLSanZ, in, calcH_DLSanZ(in), [&](const HDLSanZ& r) {
        f.print("PicH", r.H);
        f.print("PicHo", r.Ho);
        f.print("PicBx", r.Bx);
    });
}

void CmdRun_Click_Si(Form& f) {
    f.clear({"PicH", "PicHo1", "PicHo2", "PicBx1", "PicBx2"});
    if (f.anyBlank({"CmbBxo", "CmbHx", "CmbL"})) return;
    const RodFigureHeightInput in = sideInput(f);
    f.show(unit_id::calcH_DLSiZ, in, calcH_DLSiZ(in), [&](const HDLSiZ& r) {
        f.print("PicH", r.search.H);
        f.print("PicHo1", r.Ho1);
        f.print("PicBx1", r.Bx1);
        printDiagonal(f, r.Ho2, r.Bx2);
    });
}

}  // namespace

const FormDef& frmH_DLSanZ() {
    static const FormDef def{
        .name = "frmH_DLSanZ",
        .caption = "独立等高等边三角形布置三针针高计算",
        .frames = {descriptionFrame(
                       "    独立避雷针且呈等边三角形分布的三支等高避雷针的针高计算公式。"
                       "计算方法：滚球法！"),
                   inputFrame(sideInputs("等边三角形边长（L）：", {})),
                   resultFrame(
                       rows({heightResult(),
                             {heading({}, "避雷针在等边三角形边长的保护最低点为："),
                              resultRow({{"Ho=", "PicHo"}}),
                              heading({}, "避雷针边长的保护最低点Ho在Hx高度平面上的保护宽度："),
                              resultRow({{"Bx=", "PicBx"}})}}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_San), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.2条",
                               "（两支等高接闪杆的保护范围，用于三角形的每一边，滚球法）")},
        .menu = {.menu = "mnuH", .name = "mnuH_DLSanZ", .caption = "等高三针高度"},
    };
    return def;
}

const FormDef& frmH_DLSiZ() {
    static const FormDef def{
        .name = "frmH_DLSiZ",
        .caption = "独立等高正方形布置四针针高计算",
        .frames =
            {descriptionFrame("    独立避雷针且呈正方形分布的四支等高避雷针的针高计算公式。"
                              "计算方法：滚球法！"),
             inputFrame(sideInputs(
                 "正方形边长（L）：",
                 {Row{paragraph({},
                                "保护宽度说明：该保护宽度是指在正方形布置四针                中，"
                                "位于边长上的两针在 Hx 高度                上的所需保护宽度。")}})),
             resultFrame(rows({heightResult(),
                               {heading({}, "避雷针在正方形边长上的保护最低点及其保护宽度为："),
                                resultRow({{"Ho1=", "PicHo1"}, {"Bx1=", "PicBx1"}}),
                                heading({}, "避雷针在正方形对角线上的保护最低点及其保护宽度为："),
                                resultRow({{"Ho2=", "PicHo2"}, {"Bx2=", "PicBx2"}})}}))},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click_Si), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
        .family = Family::Height,
        .drawn = true,
        .basis = {sphereMethod("第D.0.4条", "（矩形布置的四支等高接闪杆的保护范围，滚球法）")},
        .menu = {.menu = "mnuH", .name = "mnuH_DLSiZ", .caption = "等高四针高度"},
        .resultNames = {{"Ho1", "正方形边长上的保护最低点"},
                        {"Bx1", "边长上的保护最低点在Hx高度平面上的保护宽度"},
                        {"Ho2", "正方形对角线上的保护最低点"},
                        {"Bx2", "对角线上的保护最低点在Hx高度平面上的保护宽度"}},
    };
    return def;
}

}  // namespace tervalen::forms
