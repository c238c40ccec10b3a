// frmZJXB: the third side of a right triangle, two independent calculations.

#include "calc/other/zjxb.h"
#include "forms/form.h"
#include "forms/other/forms.h"

namespace tervalen::forms {
namespace {

// One calculation: clears only its own result box, stops on a blank input, converts
// both inputs and prints the side the unit returns.
template <class In, class R>
void calculateSide(Form& f, std::string_view box, std::string_view first, std::string_view second,
                   const char* unitName, Outcome<R> (*unit)(const In&), float R::*side) {
    f.clear({box});
    if (f.anyBlank({first, second})) return;
    const float a = f.number(first), b = f.number(second);
    const In in{a, b};
    f.show(unitName, in, unit(in), [&](const R& r) { f.print(box, r.*side); });
}

void CmdRun1_Click(Form& f) {
    calculateSide(f, "PicLc", "CmbLa1", "CmbLb", unit_id::calcZJXB_Hypotenuse, calcZJXB_Hypotenuse,
                  &Hypotenuse::Lc);
}

void CmdRun2_Click(Form& f) {
    calculateSide(f, "PicLb", "CmbLa2", "CmbLc", unit_id::calcZJXB_Leg, calcZJXB_Leg, &Leg::Lb);
}

Control side(const char* name, const char* symbol) {
    return input(name).numeric(std::string(symbol) + " 值错误，只为数字！").named(symbol);
}

// Two inputs, then the caption of the result, its box and the frame's own button.
Frame sideFrame(const char* name, const char* caption, std::vector<Row> inputs, Row result) {
    inputs.push_back(std::move(result));
    return {name, caption, std::move(inputs)};
}

}  // namespace

const FormDef& frmZJXB() {
    static const FormDef def{
        .name = "frmZJXB",
        .caption = "直角三角形斜边计算",
        .frames =
            {descriptionFrame("    该程序主要是对防雷工程计算过程中，求针高时所用到的保护半径计算。"
                              "分为已经两条直角边计算斜边与已经一条直角边与斜边计算另一条直角边。"),
             sideFrame("Frame_ShuRu", "已知两条直角边求斜边：",
                       {inputRow("", "直角三角形第一直角边（La）：", side("CmbLa1", "La"), ""),
                        inputRow("", "直角三角形第二直角边（Lb）：", side("CmbLb", "Lb"), "")},
                       {label("计算得出斜边为（Lc）："), result("PicLc"),
                        button("CmdRun1", "计算", CmdRun1_Click).atRight()}),
             sideFrame("Frame1", "已知直角边与斜边求另一直角边：",
                       {inputRow("", "直角三角形第一直角边（La）：", side("CmbLa2", "La"), ""),
                        inputRow("", "直角三角形斜边（Lc）：", side("CmbLc", "Lc"), "")},
                       {label("计算得出第二直角边为（Lb）："), result("PicLb"),
                        button("CmdRun2", "计算", CmdRun2_Click).atRight()})},
        .buttons = {closeButton()},
        // No default button: Enter reaches the boxes' key filters and is refused there.
        .defaultButton = "",
        .cancelButton = "cmdCancel",
        .centredButtons = true,
        .family = Family::Other,
        .basis = {formula("CmdRun1", "直角三角形勾股定理：Lc = √(La² + Lb²)"),
                  formula("CmdRun2", "直角三角形勾股定理：Lb = √(Lc² − La²)")},
        .menu = {.menu = "mnuQT", .name = "mnuZJXB", .caption = "直角三角形斜边计算"},
        .unitOfUnlabelled = "m",
    };
    return def;
}

}  // namespace tervalen::forms
