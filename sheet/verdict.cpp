#include "sheet/verdict.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "calc/other/ljcs.h"
#include "drawing/construct.h"
#include "forms/number.h"
#include "forms/other/forms.h"
#include "sheet/site_record.h"

namespace tervalen::sheet {
namespace {

const Quantity* resultNamed(const SheetRecord& r, std::string_view symbol) {
    for (const Quantity& q : r.results)
        if (q.symbol == symbol) return &q;
    return nullptr;
}

std::string withUnit(const std::string& value, const std::string& unit) {
    return unit.empty() ? value : value + " " + unit;
}

std::string stated(const Quantity& q) {
    return q.symbol + " = " + withUnit(q.value, q.unit);
}

// The 结论 gives the practical value a designer reads: metres and ohms to 0.01, strikes per
// year to 3 significant digits (the results table keeps the 7 digits). Where a verdict
// depends on it, it is rounded toward the safe side: down for a result that must reach a
// requirement, up for one that must stay under it or a height to erect.
enum class Toward { Nearest, Down, Up };

std::optional<double> practicalValue(double v, const std::string& unit, Toward toward) {
    double scale = 0;
    if (unit == "m" || unit == "Ω")
        scale = 100;
    else if (unit == "次/a" && v != 0)
        scale = std::pow(10.0, 2 - std::floor(std::log10(std::abs(v))));
    if (scale == 0 || !std::isfinite(v * scale)) return std::nullopt;
    // The shown values have 7 significant digits: a slack far below that keeps 0.29 (stored
    // as 0.28999…) at 0.29.
    const double x = v * scale, slack = 1e-7 * std::max(1.0, std::abs(x));
    const double r = toward == Toward::Down ? std::floor(x + slack)
                     : toward == Toward::Up ? std::ceil(x - slack)
                                            : std::round(x);
    return r / scale;
}

std::string practicalText(double v, const std::string& unit) {
    std::array<char, 48> buf{};
    const auto res =
        unit == "次/a"
            ? std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, 3)
            : std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, 2);
    std::string text(buf.data(), res.ptr);
    return text == "-0.00" ? "0.00" : text;
}

// "Rx = 11.70 m": the practical value, or the shown one where the practical value would
// not keep `keeps` (the relation the sentence states of it).
template <class Keeps>
std::string practical(const Quantity& q, Toward toward, Keeps&& keeps) {
    const auto v = forms::toDouble(q.value);
    const auto p = v ? practicalValue(*v, q.unit, toward) : std::nullopt;
    if (!p || !keeps(*p)) return stated(q);
    return q.symbol + " = " + withUnit(practicalText(*p, q.unit), q.unit);
}
std::string practical(const Quantity& q, Toward toward = Toward::Nearest) {
    return practical(q, toward, [](double) { return true; });
}

// The weak points, one sentence after another: "三针中心：Hx 高度该处无保护（…）".
std::string weakPoints(const SheetRecord& r) {
    std::string s;
    for (const Warning& w : r.warnings) s += (s.empty() ? "" : "；") + sentence(w);
    return s;
}

// A comparison that held is still no pass where the sphere reaches the protected level,
// nor where the record's press gives no result any more: "…，但…，不满足保护要求".
Conclusion judged(const SheetRecord& r, std::string comparison, bool held, std::string_view passed,
                  std::string_view failed) {
    bool ok = held;
    if (!r.warnings.empty()) {
        comparison += "，但" + weakPoints(r);
        ok = false;
    }
    if (r.mismatch && r.mismatch->refused) {
        comparison += "，且按保存的操作重新计算未得出结果";
        ok = false;
    }
    return {comparison + "，" + std::string(ok ? passed : failed), ok};
}

// One wire's narrowest width is at mid-span below the sphere radius and at the supports
// above it: a width required anywhere along it is compared with the narrower of the two.
bool singleWire(const SheetRecord& r) {
    const forms::FormDef* def = definitionOf(r);
    return def && def->narrowerWidthCounts;
}
const Quantity* narrowerWidth(const SheetRecord& r) {
    const Quantity* narrow = nullptr;
    std::optional<double> least;
    for (const char* symbol : {"Bx1", "Bx2"}) {
        const Quantity* q = resultNamed(r, symbol);
        const auto v = q ? forms::toDouble(q->value) : std::nullopt;
        if (v && (!least || *v < *least)) {
            narrow = q;
            least = v;
        }
    }
    return narrow;
}
// The result a width requirement is compared with: on one wire the narrower width in
// place of `q`, named as such in `named`; else `q` itself.
const Quantity* comparedWidth(const SheetRecord& r, const Quantity* q, std::string& named) {
    if (!q || !q->symbol.starts_with("Bx") || !singleWire(r)) return q;
    const Quantity* narrow = narrowerWidth(r);
    if (!narrow || narrow == q) return q;
    named = "较窄的保护宽度 ";
    return narrow;
}

std::string restated(const SheetRecord& r) {
    std::string s;
    for (const Quantity& q : r.results) s += (s.empty() ? "" : "，") + practical(q);
    return s.empty() ? std::string() : "计算得 " + s + "。";
}

// The target a height form was given ("Rxo") and the result that reaches it ("Rx", or
// the first "Bx…" for "Bxo" where the form names its widths Bx1, Bx2).
std::optional<Conclusion> heightAgainstTarget(const SheetRecord& r) {
    if (r.results.empty()) return std::nullopt;
    for (const Quantity& target : r.known) {
        if (target.symbol.size() < 2 || !target.symbol.ends_with('o')) continue;
        const std::string base = target.symbol.substr(0, target.symbol.size() - 1);
        const Quantity* reached = resultNamed(r, base);
        for (const Quantity& q : r.results)
            if (!reached && q.symbol.starts_with(base)) reached = &q;
        std::string named;
        reached = comparedWidth(r, reached, named);
        const auto got = reached ? forms::toDouble(reached->value) : std::nullopt;
        const auto want = forms::toDouble(target.value);
        if (!got || !want) continue;
        const bool ok = *got >= *want;
        const std::string reachedText =
            practical(*reached, Toward::Down, [&](double p) { return (p >= *want) == ok; });
        return judged(r,
                      practical(r.results.front(), Toward::Up) + " 时，" + named + reachedText +
                          (ok ? " ≥ " : " < ") + target.symbol + " = " +
                          withUnit(target.value, target.unit),
                      ok, "满足要求", "不满足要求");
    }
    return std::nullopt;
}

// The annual strikes with a building use chosen: the protection category by N in the
// edition the record follows, its threshold and clause, and that N is not all that decides.
std::optional<Conclusion> categoryOfStrikes(const SheetRecord& r) {
    if (r.form != "frmLJCS") return std::nullopt;
    const auto use = forms::ljcsUse(r.settings);
    const Quantity* n = resultNamed(r, "N");
    const auto N = n ? forms::toDouble(n->value) : std::nullopt;
    if (!use || !N) return std::nullopt;
    const CodeEdition edition = forms::ljcsEdition(r.settings);
    const CategoryByN c = categoryByN(edition, *use, *N);
    const forms::Setting* uses = forms::frmLJCS().setting("use");
    const std::string code = cited(edition, c.clause);
    // N rounded up, where that keeps the category the shown value gives.
    const std::string stated = practical(*n, Toward::Up, [&](double p) {
        return categoryByN(edition, *use, p).category == c.category;
    });
    std::string s =
        "计算得 " + stated + "。建筑物用途为" + uses->find(r.settings.at("use"))->text + "，";
    const std::string lower(c.lower), upper(c.upper.value_or(""));
    switch (c.category) {
        case 2:
            s += "N > " + upper + "，依据 " + code + "，按年预计雷击次数属第二类防雷建筑物";
            break;
        case 3:
            s += c.upper ? lower + " ≤ N ≤ " + upper : "N ≥ " + lower;
            s += "，依据 " + code + "，按年预计雷击次数属第三类防雷建筑物";
            if (!c.upper) s += "（该版规范未按年预计雷击次数规定此类建筑物的第二类）";
            break;
        default:
            s +=
                "N < " + lower + "（" + code + "的下限），按年预计雷击次数可不划为第三类防雷建筑物";
            break;
    }
    return Conclusion{s + "。防雷类别还须按规范其他条款（建筑物用途、高度、爆炸危险等）综合确定。",
                      std::nullopt};
}

// A name on one line.
std::string flat(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

// A site: 满足 only when every roof is covered (and the site was computed again, for a
// record read from a project); each roof the sphere still reaches is named.
Conclusion siteConclusion(const SheetRecord& r) {
    const SiteCheck& c = *r.site;
    std::string s;
    std::optional<double> margin;
    for (std::size_t i = 0; i < c.roofs.size(); ++i) {
        const sphere::RoofCheck& roof = c.roofs[i];
        const double m = roof.worst.s - roof.height;
        if (!margin || m < *margin) margin = m;
        if (roof.ok) continue;
        s += std::string(s.empty() ? "" : "；") + "屋面“" + flat(roofName(roof, i)) + "”（" +
             drawing::num(roof.height) + " m）未保护面积 " + drawing::num(roof.uncoveredArea) +
             " m²，最不利点 (" + drawing::num(roof.worst.at.x) + ", " +
             drawing::num(roof.worst.at.y) + ") 处 S = " + drawing::num(roof.worst.s) + " m";
    }
    bool ok = c.ok && !c.roofs.empty();
    if (ok)
        s = "各屋面（共 " + std::to_string(c.roofs.size()) +
            " 个）均在滚球保护之内，最不利点处 S 高出屋面 " + drawing::num(*margin) + " m";
    else if (s.empty())
        s = "没有已校核的屋面";
    else
        s += "，滚球仍可触及屋面";
    if (r.mismatch && r.mismatch->refused) {
        s += "，且按保存的场地重新计算未得出结果";
        ok = false;
    }
    return {s + "，" + (ok ? "满足保护要求。" : "不满足保护要求。"), ok};
}

}  // namespace

Family familyOf(const SheetRecord& record) {
    const forms::FormDef* def = definitionOf(record);
    return def ? def->family : Family::Other;
}

std::string requirementPrompt(const SheetRecord& record) {
    if (comparableResults(record).empty()) return {};
    switch (familyOf(record)) {
        case Family::Range:
            return "Hx 高度上须保护的水平距离（m）";
        case Family::Earthing:
            return "允许的最大接地电阻（Ω）";
        case Family::Height:
        case Family::Other:
            break;
    }
    return {};
}

std::vector<std::string> comparableResults(const SheetRecord& record) {
    std::vector<std::string> widths, radii;
    switch (familyOf(record)) {
        case Family::Range:
            // Between rods and wires the narrowest width is the one to check first.
            for (const Quantity& q : record.results) {
                if (q.symbol.starts_with("Bx")) widths.push_back(q.symbol);
                if (q.symbol.starts_with("Rx")) radii.push_back(q.symbol);
            }
            widths.insert(widths.end(), radii.begin(), radii.end());
            return widths;
        case Family::Earthing:
            // The resistance the press arrives at is the last one it shows.
            for (auto q = record.results.rbegin(); q != record.results.rend(); ++q)
                if (q->unit == "Ω") widths.push_back(q->symbol);
            return widths;
        case Family::Height:
        case Family::Other:
            break;
    }
    return {};
}

Result<Requirement> readRequirement(const SheetRecord& record, std::string_view text,
                                    std::string_view symbol) {
    const std::vector<std::string> comparable = comparableResults(record);
    if (comparable.empty()) return Failure{"该计算不设要求值"};
    const auto value = forms::toDouble(text);
    if (!value) return Failure{"要求值应为数字"};
    if (*value < 0) return Failure{"要求值不应为负数"};
    const std::string compared = symbol.empty() ? comparable.front() : std::string(symbol);
    if (std::find(comparable.begin(), comparable.end(), compared) == comparable.end())
        return Failure{"没有可比较的结果 " + compared};
    std::string typed(text);
    typed.erase(0, typed.find_first_not_of(' '));
    typed.erase(typed.find_last_not_of(' ') + 1);
    return Requirement{typed, *value, compared};
}

Conclusion conclusionOf(const SheetRecord& r) {
    if (r.site) return siteConclusion(r);
    if (r.requirement) {
        std::string named;
        const Quantity* q = comparedWidth(r, resultNamed(r, r.requirement->symbol), named);
        const auto got = q ? forms::toDouble(q->value) : std::nullopt;
        if (got) {
            const std::string want = withUnit(r.requirement->text, q->unit);
            if (familyOf(r) == Family::Earthing) {
                // Equal to the highest resistance allowed is allowed.
                const bool ok = *got <= r.requirement->value;
                const std::string gotText = practical(
                    *q, Toward::Up, [&](double p) { return (p <= r.requirement->value) == ok; });
                return judged(r, gotText + (ok ? " ≤ " : " > ") + want, ok, "满足要求",
                              "不满足要求");
            }
            const bool ok = *got >= r.requirement->value;
            const std::string gotText = practical(
                *q, Toward::Down, [&](double p) { return (p >= r.requirement->value) == ok; });
            return judged(r, named + gotText + (ok ? " ≥ " : " < ") + want, ok, "满足保护要求",
                          "不满足保护要求");
        }
    }
    if (familyOf(r) == Family::Height)
        if (auto c = heightAgainstTarget(r)) return *c;
    if (auto c = categoryOfStrikes(r)) return *c;
    // Without a requirement the weak points are still said, and nothing passes.
    if (!r.warnings.empty()) return {restated(r) + weakPoints(r) + "，不满足保护要求。", false};
    return {restated(r), std::nullopt};
}

}  // namespace tervalen::sheet
