// frmLJCS: expected number of lightning strikes per year on a building.

#include "calc/other/ljcs.h"
#include "forms/form.h"
#include "forms/other/forms.h"

namespace tervalen::forms {
namespace {

const char* const kMetre = "米";

// The settings' values, as stored in records, snapshots and projects and as the driver
// takes the edition.
const char* const kEdition = "edition";
const char* const kUse = "use";
// clang-format off
constexpr std::pair<const char*, CodeEdition> kEditions[] = {
    {"1994", CodeEdition::GB50057_94},
    {"2010", CodeEdition::GB50057_2010},
};
constexpr std::pair<const char*, BuildingUse> kUses[] = {
    {"civil", BuildingUse::Civil},
    {"industrial", BuildingUse::Industrial},
    {"public", BuildingUse::Important},
};
// clang-format on

void CmdRun_Click(Form& f) {
    f.clear({"PicN"});
    if (f.anyBlank({"CmbK", "CmbTd", "CmbL", "CmbW", "CmbH"})) return;
    const float K = f.number("CmbK"), Td = f.number("CmbTd");
    const double L = f.numberDouble("CmbL");  // kept as typed: not rounded to single
    const float W = f.number("CmbW"), H = f.number("CmbH");
    const LjcsInput in{K, Td, L, W, H, ljcsEdition(f.settings())};
    f.show(unit_id::calcLJCS, in, calcLJCS(in), [&](const LJCS& r) { f.print("PicN", r.N); });
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
        .settings = {{kEdition,
                      "计算依据：",
                      {{kEditions[0].first, std::string(editionName(kEditions[0].second))},
                       {kEditions[1].first, std::string(editionName(kEditions[1].second))}},
                      true},
                     {kUse,
                      "建筑物用途：",
                      {{"none", "未选择（不按 N 判定防雷类别）"},
                       {kUses[0].first, "住宅、办公楼等一般性民用建筑物"},
                       {kUses[1].first, "一般性工业建筑物"},
                       {kUses[2].first,
                        "部、省级办公建筑物及其他重要或人员密集的公共建筑物（含火灾危险场所）"}}}},
        .family = Family::Other,
        .menu = {.menu = "mnuQT", .name = "mnuQT_LJCS", .caption = "年预计雷击次数计算"},
    };
    return def;
}

CodeEdition ljcsEdition(const Settings& settings) {
    const auto it = settings.find(kEdition);
    for (const auto& [value, edition] : kEditions)
        if (it != settings.end() && it->second == value) return edition;
    return CodeEdition::GB50057_94;
}

std::optional<BuildingUse> ljcsUse(const Settings& settings) {
    const auto it = settings.find(kUse);
    for (const auto& [value, use] : kUses)
        if (it != settings.end() && it->second == value) return use;
    return std::nullopt;
}

Settings ljcsSettings(CodeEdition edition, std::optional<BuildingUse> use) {
    Settings s{{kEdition, kEditions[0].first}, {kUse, "none"}};
    for (const auto& [value, e] : kEditions)
        if (e == edition) s[kEdition] = value;
    for (const auto& [value, u] : kUses)
        if (use == u) s[kUse] = value;
    return s;
}

}  // namespace tervalen::forms
