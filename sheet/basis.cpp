#include "sheet/basis.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tervalen::sheet {
namespace {

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
    Rule{"frmLJCS", "", "附录一", "（建筑物年预计雷击次数）"},
    Rule{"frmZJXB", "CmdRun1", "", "直角三角形勾股定理：Lc = √(La² + Lb²)"},
    Rule{"frmZJXB", "CmdRun2", "", "直角三角形勾股定理：Lb = √(Lc² − La²)"},
};
// clang-format on

}  // namespace

std::vector<Basis> basisOf(const SheetRecord& record) {
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
