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

// N by the other edition, from the same actions: one line for comparison; empty when the
// actions give no N there.
std::string otherEditionLine(const SheetRecord& record, CodeEdition edition) {
    const CodeEdition other =
        edition == CodeEdition::GB50057_2010 ? CodeEdition::GB50057_94 : CodeEdition::GB50057_2010;
    const forms::FormDef* def = definitionOf(record);
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
    const forms::FormDef* def = definitionOf(record);
    for (const forms::Action& a : record.actions) {
        if (!def || a.verb != forms::Action::Verb::Press) continue;
        // The first citation that fits a press is the one it follows.
        const auto citation = std::find_if(
            def->basis.begin(), def->basis.end(),
            [&](const forms::Citation& c) { return c.button.empty() || c.button == a.control; });
        if (citation == def->basis.end()) continue;
        const std::string_view part =
            edition == CodeEdition::GB50057_2010 ? citation->part2010 : citation->part94;
        const std::string_view text = edition == CodeEdition::GB50057_2010 || part.empty()
                                          ? citation->text
                                          : citation->text94;
        Basis line{part.empty()
                       ? std::string(text)
                       : std::string(kCodeTitle) + cited(edition, part) + std::string(text),
                   part.empty()};
        terms = terms || citation->part2010.starts_with("附录D");
        if (std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(std::move(line));
    }
    if (const auto radius = sphereRadiusBasis(record, edition)) lines.push_back(*radius);
    // The 2010 edition names the air terminals anew; the forms keep the older names.
    if (terms && edition == CodeEdition::GB50057_2010)
        lines.push_back({"注：本计算中的“避雷针”“避雷线”即该版规范中的“接闪杆”“接闪线”。", false});
    return lines;
}

}  // namespace tervalen::sheet
