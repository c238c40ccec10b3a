#include "sheet/basis.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

#include "forms/catalog.h"
#include "forms/other/forms.h"

namespace tervalen::sheet {
namespace {

constexpr std::string_view kCodeTitle = "《建筑物防雷设计规范》";
constexpr std::string_view kCode = "《建筑物防雷设计规范》GB 50057-94（2000年版）";

struct Rule {
    std::string_view formPrefix;  // a form's name, or the start of the names of a family
    std::string_view button;      // empty: any button of the form
    std::string_view appendix;    // of the code; empty when the rule is a formula only
    std::string_view text;
};

// clang-format off
constexpr std::array kRules = {
    Rule{"frmRx_", "", "附录四", "（滚球法）"},
    Rule{"frmRxBx_", "", "附录四", "（滚球法）"},
    Rule{"frmH_", "", "附录四", "（滚球法）"},
    Rule{"frmDZ_ChuiZhi", "CmdRun_GP", "",
         "人工垂直接地体工频接地电阻：R = ρ/(2πL1)·ln(4L1/D)；N 根：Rn = R/(η·N)，利用系数 η = 0.75"},
    Rule{"frmDZ_ShuiPing", "CmdRun_GP", "",
         "人工水平接地体工频接地电阻：R = ρ/(2πL1)·[ln(L1²/(D·H)) + A]"},
    Rule{"frmDZ_XT", "CmdRun_GP", "",
         "接地系统工频接地电阻（各部分并联，利用系数 η = 0.75）：R = (RB∥RP∥RMn)/η，"
         "RMn = RM/N，无接地模块时 R = (RB∥RP)/η"},
    Rule{"frmDZ_", "CmdRun_CJ", "附录三", "（工频接地电阻换算为冲击接地电阻）"},
    Rule{"frmDZ_GC", "CmdRun", "附录三", "（工频接地电阻换算为冲击接地电阻）"},
    Rule{"frmZJXB", "CmdRun1", "", "直角三角形勾股定理：Lc = √(La² + Lb²)"},
    Rule{"frmZJXB", "CmdRun2", "", "直角三角形勾股定理：Lb = √(Lc² − La²)"},
};
// clang-format on

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

}  // namespace

std::vector<Basis> basisOf(const SheetRecord& record) {
    if (record.form == "frmLJCS") return strikesBasis(record);
    std::vector<Basis> lines;
    for (const forms::Action& a : record.actions) {
        if (a.verb != forms::Action::Verb::Press) continue;
        for (const Rule& rule : kRules) {
            if (!record.form.starts_with(rule.formPrefix)) continue;
            if (!rule.button.empty() && rule.button != a.control) continue;
            Basis line{rule.appendix.empty() ? std::string(rule.text)
                                             : std::string(kCode) + std::string(rule.appendix) +
                                                   std::string(rule.text),
                       rule.appendix.empty()};
            if (std::find(lines.begin(), lines.end(), line) == lines.end())
                lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace tervalen::sheet
