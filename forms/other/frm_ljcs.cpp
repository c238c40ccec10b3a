// frmLJCS: expected number of lightning strikes per year on a building.

#include "calc/other/ljcs.h"
#include "forms/form.h"
#include "forms/other/forms.h"

namespace tervalen::forms {
namespace {

const char* const kMetre = "米";

void CmdRun_Click(Form& f) {
    f.clear({"PicN"});
    if (f.anyBlank({"CmbK", "CmbTd", "CmbL", "CmbW", "CmbH"})) return;
    const float K = f.number("CmbK"), Td = f.number("CmbTd");
    const double L = f.numberDouble("CmbL");  // kept as typed: not rounded to single
    const float W = f.number("CmbW"), H = f.number("CmbH");
    const LjcsInput in{K, Td, L, W, H};
    f.show("calcLJCS", in, calcLJCS(in), [&](const LJCS& r) { f.print("PicN", r.N); });
}

}  // namespace

const FormDef& frmLJCS() {
    static const FormDef def{
        .name = "frmLJCS",
        .caption = "建筑物年预计雷击次数计算",
        .frames = {descriptionFrame("    该程序为计算建筑物年预计雷击次数！"),
                   inputFrame(
                       {inputRow("LabYesNo", "请根据建筑物所处的环境，选择校正系数K值：",
                                 input("CmbK", "1.0")
                                     .withList({"1.0", "1.5", "1.7", "2.0"})
                                     .digitsOnly("K 值错误，只为数字！"),
                                 ""),
                        {paragraph(
                            "Lab_Hr2",
                            "    校正系数说明：一般情况下取1，在下列情况下取相应数值：位于旷野孤立"
                            "的建筑物取2；金属屋面的砖木结构建筑物取1.7；位于河边、湖边、山坡下"
                            "或山地中土壤电阻率小处、地下水露头处、土山顶部、山谷风口等处的建筑，"
                            "以及特别潮湿的建筑物取1.5。")},
                        inputRow("", "年均雷暴日（Td）：",
                                 input("CmbTd").numeric("Td 值输入错误，只为数字！"), "天/年"),
                        inputRow("Lab_H", "建筑物长度（L）：",
                                 input("CmbL").numeric("L 值输入错误，只为数字！"), kMetre),
                        inputRow("Lab_Hx", "建筑物宽度（W）：",
                                 input("CmbW").numeric("W 值输入错误，只为数字！"), kMetre),
                        inputRow("Lab_D", "建筑物高度（H）：",
                                 input("CmbH").numeric("H 值输入错误，只为数字！"), kMetre)}),
                   resultFrame({heading("Lab_JieGuo", "建筑物年预计雷击次数 N 为："),
                                resultRow({{"N=", "PicN"}}, "次")})},
        .buttons = {button("CmdRun", "计 算", CmdRun_Click), closeButton()},
        .defaultButton = "CmdRun",
        .cancelButton = "cmdCancel",
    };
    return def;
}

}  // namespace tervalen::forms
