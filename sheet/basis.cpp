#include "sheet/basis.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "forms/catalog.h"
#include "forms/number.h"
#include "forms/other/forms.h"

namespace tervalen::sheet {
namespace {

constexpr std::string_view kCodeTitle = "《建筑物防雷设计规范》";

struct Rule {
    // Forms' names, or the starts of the names of a family, parted by blanks.
    std::string_view formPrefix;
    std::string_view button;  // empty: any button of the form
    // Where each edition of the code gives the method; empty when the rule is a formula
    // only. The methods of these forms are the same in both editions.
    std::string_view part94, part2010;
    std::string_view text;  // after the 2010 edition's part, or the formula
    std::string_view text94 = "（滚球法）";
};

// The rolling-sphere forms, by the arrangement they compute.
// clang-format off
constexpr std::array kRules = {
    Rule{"frmRx_DLDanZ frmRx_JSDanZ frmH_DLDanZ frmH_JSDanZ", "", "附录四", "附录D 第D.0.1条",
         "（单支接闪杆的保护范围，滚球法）"},
    Rule{"frmRx_DLSanZ frmH_DLSanZ", "", "附录四", "附录D 第D.0.2条",
         "（两支等高接闪杆的保护范围，用于三角形的每一边，滚球法）"},
    Rule{"frmRx_DLSiZ frmH_DLSiZ", "", "附录四", "附录D 第D.0.4条",
         "（矩形布置的四支等高接闪杆的保护范围，滚球法）"},
    Rule{"frmRx_ frmH_DLShuangZ frmH_JSShuangZ", "", "附录四", "附录D 第D.0.2条",
         "（两支等高接闪杆的保护范围，滚球法）"},
    Rule{"frmRxBx_DanX frmH_DanX", "", "附录四", "附录D 第D.0.5条", "（单根接闪线的保护范围，滚球法）"},
    Rule{"frmRxBx_ShuangX frmH_ShuangX", "", "附录四", "附录D 第D.0.6条",
         "（两根等高接闪线的保护范围，滚球法）"},
    Rule{"frmDZ_ChuiZhi", "CmdRun_GP", "", "",
         "人工垂直接地体工频接地电阻：R = ρ/(2πL1)·ln(4L1/D)；N 根：Rn = R/(η·N)，利用系数 η = 0.75"},
    Rule{"frmDZ_ShuiPing", "CmdRun_GP", "", "",
         "人工水平接地体工频接地电阻：R = ρ/(2πL1)·[ln(L1²/(D·H)) + A]"},
    Rule{"frmDZ_XT", "CmdRun_GP", "", "",
         "接地系统工频接地电阻（各部分并联，利用系数 η = 0.75）：R = (RB∥RP∥RMn)/η，"
         "RMn = RM/N，无接地模块时 R = (RB∥RP)/η"},
    Rule{"frmDZ_", "CmdRun_CJ", "附录三", "附录C", "（接地装置冲击接地电阻与工频接地电阻的换算）",
         "（工频接地电阻换算为冲击接地电阻）"},
    Rule{"frmDZ_GC", "CmdRun", "附录三", "附录C", "（接地装置冲击接地电阻与工频接地电阻的换算）",
         "（工频接地电阻换算为冲击接地电阻）"},
    Rule{"frmZJXB", "CmdRun1", "", "", "直角三角形勾股定理：Lc = √(La² + Lb²)"},
    Rule{"frmZJXB", "CmdRun2", "", "", "直角三角形勾股定理：Lb = √(Lc² − La²)"},
};
// clang-format on

bool ruleFits(const Rule& rule, std::string_view form) {
    for (std::string_view names = rule.formPrefix; !names.empty();) {
        const auto blank = names.find(' ');
        if (form.starts_with(names.substr(0, blank))) return true;
        names = blank == std::string_view::npos ? std::string_view() : names.substr(blank + 1);
    }
    return false;
}

// N by the other edition, from the same actions: one line for comparison; empty when the
// actions give no N there.
std::string otherEditionLine(const SheetRecord& record, CodeEdition edition) {
    const CodeEdition other =
        edition == CodeEdition::GB50057_2010 ? CodeEdition::GB50057_94 : CodeEdition::GB50057_2010;
    const forms::FormDef* def = forms::findForm(record.form);
    if (!def) return {};
    std::optional<SheetRecord> there;
    try {
        there = replay(*def, forms::ljcsSettings(other, forms::ljcsUse(record.settings)),
                       record.actions);
    } catch (const std::out_of_range&) {  // actions or settings this form does not know
        return {};
    } catch (const std::invalid_argument&) {
        return {};
    }
    if (!there) return {};
    std::string line = "对照：按 " + cited(other, strikesAppendix(other));
    for (const Step& s : there->working)
        if (s.symbol == "Ng") line += "，Ng = " + s.formula + " = " + s.value + " " + s.unit;
    for (const Quantity& q : there->results)
        if (q.symbol == "N") line += "，N = " + q.value + (q.unit.empty() ? "" : " " + q.unit);
    return line + "（仅供对照，本计算不采用）";
}

// The annual strikes: the edition's appendix, the clauses that set the category when a
// use is chosen, and N by the other edition.
std::vector<Basis> strikesBasis(const SheetRecord& record) {
    const CodeEdition edition = forms::ljcsEdition(record.settings);
    std::vector<Basis> lines{{std::string(kCodeTitle) + cited(edition, strikesAppendix(edition)) +
                                  "（建筑物年预计雷击次数）",
                              false}};
    if (const auto use = forms::ljcsUse(record.settings))
        lines.push_back({std::string(kCodeTitle) + cited(edition, categoryClauses(edition, *use)) +
                             "（按年预计雷击次数划分防雷类别）",
                         false});
    if (std::string other = otherEditionLine(record, edition); !other.empty())
        lines.push_back({std::move(other), true});
    return lines;
}

// Why the sphere has the radius it has: the category of the building whose radius it is,
// or the designer's own value.
std::optional<Basis> sphereRadiusBasis(const SheetRecord& record, CodeEdition edition) {
    for (const Quantity& q : record.known) {
        if (q.symbol != "Hr") continue;
        const auto Hr = forms::toDouble(q.value);
        if (!Hr) return std::nullopt;
        const char* category = *Hr == 30   ? "第一类"
                               : *Hr == 45 ? "第二类"
                               : *Hr == 60 ? "第三类"
                                           : nullptr;
        if (!category)
            return Basis{"滚球半径 Hr = " + q.value + " m：设计给定（" + std::string(kCodeTitle) +
                             cited(edition, sphereRadiusTable(edition)) +
                             "规定第一、二、三类防雷建筑物分别为 30 m、45 m、60 m）",
                         false};
        return Basis{"滚球半径 Hr = " + q.value + " m：" + category + "防雷建筑物的滚球半径（" +
                         std::string(kCodeTitle) + cited(edition, sphereRadiusTable(edition)) +
                         "）",
                     false};
    }
    return std::nullopt;
}

}  // namespace

std::string_view sphereRadiusTable(CodeEdition edition) {
    return edition == CodeEdition::GB50057_2010 ? "表5.2.12" : "表5.2.1";
}

std::vector<Basis> basisOf(const SheetRecord& record, CodeEdition edition) {
    if (record.form == "frmLJCS") return strikesBasis(record);
    std::vector<Basis> lines;
    bool terms = false;
    for (const forms::Action& a : record.actions) {
        if (a.verb != forms::Action::Verb::Press) continue;
        for (const Rule& rule : kRules) {
            if (!ruleFits(rule, record.form)) continue;
            if (!rule.button.empty() && rule.button != a.control) continue;
            const std::string_view part =
                edition == CodeEdition::GB50057_2010 ? rule.part2010 : rule.part94;
            const std::string_view text =
                edition == CodeEdition::GB50057_2010 || part.empty() ? rule.text : rule.text94;
            Basis line{part.empty()
                           ? std::string(text)
                           : std::string(kCodeTitle) + cited(edition, part) + std::string(text),
                       part.empty()};
            terms = terms || rule.part2010.starts_with("附录D");
            if (std::find(lines.begin(), lines.end(), line) == lines.end())
                lines.push_back(std::move(line));
            break;  // the first rule that fits a press is the one it follows
        }
    }
    if (const auto radius = sphereRadiusBasis(record, edition)) lines.push_back(*radius);
    // The 2010 edition names the air terminals anew; the forms keep the older names.
    if (terms && edition == CodeEdition::GB50057_2010)
        lines.push_back({"注：本计算中的“避雷针”“避雷线”即该版规范中的“接闪杆”“接闪线”。", false});
    return lines;
}

}  // namespace tervalen::sheet
