#include "sheet/document.h"

#include <algorithm>
#include <functional>

#include "drawing/construct.h"
#include "drawing/site_plan.h"
#include "sheet/basis.h"
#include "sheet/site_record.h"
#include "sheet/verdict.h"

namespace tervalen::sheet {
namespace {

Table quantityTable(const std::vector<Quantity>& qs) {
    Table t{{"符号", "名称", "数值", "单位"}, {}, 0, {12, 52, 22, 14}};
    for (const Quantity& q : qs) t.rows.push_back({q.symbol, q.name, q.value, q.unit});
    return t;
}

std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\n' && c != '\r') out += c;
    return out;
}

// The label of a record the program numbered itself: "12# " and its caption exactly.
bool programNumbered(const std::string& label, const std::string& caption) {
    std::size_t digits = 0;
    while (digits < label.size() && label[digits] >= '0' && label[digits] <= '9') ++digits;
    return digits > 0 && label[0] != '0' && label.size() == digits + 2 + caption.size() &&
           label.compare(digits, 2, "# ") == 0 &&
           label.compare(digits + 2, caption.size(), caption) == 0;
}

// A record read from a project file whose results differ from the ones saved: says so, with
// both values of each result that differs, or why no result was computed again.
void appendMismatch(std::vector<Block>& out, const SheetRecord& r) {
    const Mismatch& m = *r.mismatch;
    if (m.refused) {
        std::string why = oneLine(m.reason);
        out.push_back(Paragraph{std::string(kMismatchNote) + "：按保存的操作重新计算未得出结果" +
                                    (why.empty() ? "" : "（" + why + "）") +
                                    "，以上为保存时的结果。",
                                true});
        return;
    }
    out.push_back(
        Paragraph{std::string(kMismatchNote) + "：以上为重新计算的结果，两次的数值如下。"});
    Table t{{"符号", "名称", "保存时", "重新计算", "单位"}, {}, 0, {12, 40, 17, 17, 14}};
    const auto find = [](const std::vector<Quantity>& qs, const Quantity& q) -> const Quantity* {
        for (const Quantity& x : qs)
            if (x.symbol == q.symbol && x.name == q.name) return &x;
        return nullptr;
    };
    for (const Quantity& saved : m.savedResults) {
        const Quantity* now = find(r.results, saved);
        if (now && now->value == saved.value) continue;
        t.rows.push_back(
            {saved.symbol, saved.name, saved.value, now ? now->value : "—", saved.unit});
    }
    for (const Quantity& now : r.results)
        if (!find(m.savedResults, now))
            t.rows.push_back({now.symbol, now.name, "—", now.value, now.unit});
    out.push_back(std::move(t));
}

// ---------------------------------------------------------------- a site's check

std::string planPoint(sphere::Point2 p) {
    return "(" + drawing::num(p.x) + ", " + drawing::num(p.y) + ")";
}
std::string spacePoint(sphere::Point3 p) {
    return "(" + drawing::num(p.x) + ", " + drawing::num(p.y) + ", " + drawing::num(p.z) + ")";
}

// Every object of the site with where it stands and how high, metres throughout.
Table siteObjects(const sphere::Site& site) {
    Table t{{"对象", "位置（m）", "高度（m）"}, {}, -1, {20, 52, 28}};
    const auto nth = [](const char* what, std::size_t i) {
        return std::string(what) + " " + std::to_string(i + 1);
    };
    for (std::size_t i = 0; i < site.rods.size(); ++i) {
        const sphere::Rod& r = site.rods[i];
        t.rows.push_back({nth("接闪杆", i), planPoint({r.x, r.y}),
                          "底 " + drawing::num(r.base) + "，顶 " + drawing::num(r.tip)});
    }
    for (std::size_t i = 0; i < site.conductors.size(); ++i) {
        const sphere::Conductor& c = site.conductors[i];
        t.rows.push_back({nth("接闪导体", i), spacePoint(c.from) + " — " + spacePoint(c.to),
                          "两端 " + drawing::num(c.from.z) + "、" + drawing::num(c.to.z)});
    }
    for (std::size_t i = 0; i < site.wires.size(); ++i) {
        const sphere::Wire& w = site.wires[i];
        const std::optional<double> sag = sphere::sagOf(w);
        std::string height = "两端 " + drawing::num(w.from.z) + "、" + drawing::num(w.to.z);
        if (sag) height += "，弧垂 " + drawing::num(*sag) + (w.sag ? "" : "（按跨度确定）");
        t.rows.push_back({nth("接闪线", i), spacePoint(w.from) + " — " + spacePoint(w.to), height});
    }
    for (std::size_t i = 0; i < site.buildings.size(); ++i) {
        const sphere::Building& b = site.buildings[i];
        std::string outline;
        for (const sphere::Point2& p : b.outline)
            outline += (outline.empty() ? "" : " ") + planPoint(p);
        t.rows.push_back({"建筑物 " + (b.name.empty() ? std::to_string(i + 1) : oneLine(b.name)),
                          outline,
                          "底 " + drawing::num(b.base) + "，屋面 " + drawing::num(b.roof)});
    }
    return t;
}

// Each roof at its own height: its uncovered area, its worst point and its verdict.
Table roofTable(const std::vector<sphere::RoofCheck>& roofs) {
    Table t{{"名称", "屋面高度（m）", "未保护面积（m²）", "最不利点（m）", "结论"},
            {},
            -1,
            {22, 15, 17, 32, 14}};
    for (std::size_t i = 0; i < roofs.size(); ++i) {
        const sphere::RoofCheck& r = roofs[i];
        t.rows.push_back(
            {oneLine(roofName(r, i)), drawing::num(r.height), drawing::num(r.uncoveredArea),
             planPoint(r.worst.at) + "，S = " + drawing::num(r.worst.s), r.ok ? "满足" : "不满足"});
    }
    return t;
}

constexpr const char* kSiteMethod =
    "滚球法，精确几何计算：S(x, y) 为半径 hr 的滚球（球心离地不小于 hr，离各接闪杆、接闪导体、"
    "接闪线及建筑物均不小于 hr）在地面点 (x, y) 之上所能到达的最低高度；屋面上一点受保护，"
    "当且仅当该处 S 高出屋面 1 mm 以上。";

void appendSiteSection(std::vector<Block>& out, const SheetRecord& r,
                       const std::function<void(const char*)>& heading) {
    const SiteCheck& c = *r.site;
    heading("计算依据");
    out.push_back(Paragraph{kSiteMethod});
    out.push_back(Paragraph{c.hrBasis});
    heading("已知条件");
    out.push_back(Paragraph{"滚球半径 hr = " + drawing::num(c.site.hr) + " m；接闪杆 " +
                            std::to_string(c.site.rods.size()) + " 根，接闪导体 " +
                            std::to_string(c.site.conductors.size()) + " 根，接闪线 " +
                            std::to_string(c.site.wires.size()) + " 根，建筑物 " +
                            std::to_string(c.site.buildings.size()) + " 座。"});
    out.push_back(siteObjects(c.site));
    if (auto figure = figureOf(r)) {
        heading("保护范围图");
        out.push_back(std::move(*figure));
        out.push_back(Paragraph{"图中红色为滚球仍可触及的屋面部分，圆圈为各屋面的最不利点。"});
    }
    heading("计算结果");
    out.push_back(roofTable(c.roofs));
    if (r.mismatch) appendMismatch(out, r);
}

void appendSection(std::vector<Block>& out, const SheetRecord& r, int number, CodeEdition edition) {
    const std::string n = std::to_string(number);
    int part = 0;
    const auto heading = [&](const char* text) {
        out.push_back(Heading{2, n + "." + std::to_string(++part), text});
    };
    out.push_back(Heading{1, n, shownLabel(r)});
    if (r.site) {
        appendSiteSection(out, r, heading);
        heading("结论");
        Conclusion c = conclusionOf(r);
        out.push_back(Verdict{std::move(c.text), c.satisfied});
        return;
    }
    heading("计算依据");
    for (Basis& b : basisOf(r, edition)) out.push_back(Paragraph{std::move(b.text), b.formula});
    heading("已知条件");
    out.push_back(quantityTable(r.known));
    for (const std::string& s : r.earlierInputs) out.push_back(Paragraph{s, true});
    if (!r.working.empty()) {
        heading("计算过程");
        const auto steps = workingBlocks(r.working);
        out.insert(out.end(), steps.begin(), steps.end());
    }
    heading("计算结果");
    out.push_back(quantityTable(r.results));
    if (r.mismatch) appendMismatch(out, r);
    for (const std::string& m : r.messages) out.push_back(Paragraph{"提示：" + oneLine(m), true});
    for (const Warning& w : r.warnings) out.push_back(Paragraph{"保护校核：" + sentence(w), true});
    if (auto figure = figureOf(r)) {
        heading("保护范围图");
        out.push_back(std::move(*figure));
    }
    heading("结论");
    Conclusion c = conclusionOf(r);
    out.push_back(Verdict{std::move(c.text), c.satisfied});
}

}  // namespace

void Sheet::add(SheetRecord record) {
    if (record.label.empty()) record.label = record.caption;
    records.push_back(std::move(record));
}

Sheet::Updated Sheet::update(const SheetRecord& was, std::size_t hint, SheetRecord now) {
    const auto same = [&](const SheetRecord& r) {
        return r.form == was.form && r.settings == was.settings && r.actions == was.actions;
    };
    std::size_t at = hint;
    if (at >= records.size() || !same(records[at])) {
        at = 0;
        while (at < records.size() && !same(records[at])) ++at;
        if (at == records.size()) return {};
    }
    SheetRecord& r = records[at];
    Updated out{static_cast<int>(at), false};
    now.label = r.label;
    if (r.requirement) {
        const auto read = readRequirement(now, r.requirement->text, r.requirement->symbol);
        if (read)
            now.requirement = *read;
        else
            out.requirementDropped = true;
    }
    now.mismatch.reset();
    r = std::move(now);
    return out;
}

bool Sheet::adoptRecomputed(std::size_t index) {
    if (index >= records.size()) return false;
    SheetRecord& r = records[index];
    if (!r.mismatch || r.mismatch->refused) return false;
    r.mismatch.reset();
    if (r.site) r.site->savedRoofs.reset();
    return true;
}

std::string shownLabel(const SheetRecord& record) {
    return programNumbered(record.label, record.caption) ? record.caption : record.label;
}

std::optional<Figure> figureOf(const SheetRecord& record) {
    if (record.site) {
        // The plan with each roof's uncovered parts and worst point, no level's region.
        const SiteCheck& c = *record.site;
        Figure f{drawing::sitePlan(c.site, {}, c.roofs,
                                   "滚球法保护范围平面（hr=" + drawing::num(c.site.hr) + " m）",
                                   kFigureWidthMm, kFigureHeightMm - drawing::kScaleLineMm),
                 0};
        f.scale = f.drawing.scale;
        if (f.scale == 0) return std::nullopt;
        return f;
    }
    if (!record.layout) return std::nullopt;
    Figure f{drawing::draw(*record.layout, record.caption, kFigureWidthMm,
                           kFigureHeightMm - drawing::kScaleLineMm),
             0};
    f.scale = f.drawing.scale;
    if (f.scale == 0) return std::nullopt;
    return f;
}

std::vector<Block> workingBlocks(const Working& working) {
    std::vector<Block> out;
    for (const Step& s : working) out.push_back(Formula{s});
    return out;
}

std::vector<Block> coverBlocks(const SheetHeader& h) {
    std::vector<Block> out;
    out.push_back(Title{kSheetTitle});
    out.push_back(Table{{},
                        {{"工程名称", h.project},
                         {"子项", h.subitem},
                         {"计算书编号", h.number},
                         {"版次", h.revision},
                         {"设计单位", h.designer},
                         {"规范版本", std::string(editionName(h.edition))},
                         {"日期", h.date}},
                        -1,
                        {22, 78}});
    out.push_back(Table{{"", "姓名", "签字", "日期"},
                        {{"设计", h.calculator, "", h.calculatorDate},
                         {"校对", h.checker, "", h.checkerDate},
                         {"审核", h.reviewer, "", h.reviewerDate},
                         {"审定", h.approver, "", h.approverDate}},
                        -1,
                        {16, 30, 27, 27}});
    out.push_back(PageBreak{});
    return out;
}

namespace {

// A site's summary: the uncovered area of its roofs in all, or where every roof is covered,
// how far the surface stays above the roof at the worst point of any.
std::string siteKeyResult(const SiteCheck& c) {
    double uncovered = 0;
    std::optional<double> margin;
    for (const sphere::RoofCheck& r : c.roofs) {
        uncovered += r.uncoveredArea;
        const double m = r.worst.s - r.height;
        if (!margin || m < *margin) margin = m;
    }
    if (uncovered > 0 || !margin) return "未保护面积 " + drawing::num(uncovered) + " m²";
    return "最小裕度 " + drawing::num(*margin) + " m";
}

}  // namespace

std::vector<std::string> summaryRow(const SheetRecord& r, int number) {
    if (r.site) {
        const Conclusion c = conclusionOf(r);
        std::string verdict = !c.satisfied ? "—" : *c.satisfied ? "满足" : "不满足";
        if (r.mismatch) verdict += std::string(" ") + kMismatchMark;
        return {std::to_string(number), shownLabel(r),    r.caption,
                siteKeyResult(*r.site), kSiteRequirement, verdict};
    }
    // The result a requirement is compared with, else the first a requirement could be,
    // else the first result.
    const Quantity* key = nullptr;
    const auto named = [&](const std::string& symbol) -> const Quantity* {
        for (const Quantity& q : r.results)
            if (q.symbol == symbol) return &q;
        return nullptr;
    };
    if (r.requirement) key = named(r.requirement->symbol);
    for (const std::string& s : comparableResults(r))
        if (!key) key = named(s);
    if (!key && !r.results.empty()) key = &r.results.front();
    std::string result = "—";
    if (key)
        result = (key->symbol.empty() ? key->name : key->symbol) + " = " + key->value +
                 (key->unit.empty() ? "" : " " + key->unit);
    std::string required = "—";
    if (r.requirement) {
        const Quantity* compared = named(r.requirement->symbol);
        required = std::string(familyOf(r) == Family::Earthing ? "≤ " : "≥ ") +
                   r.requirement->text +
                   (compared && !compared->unit.empty() ? " " + compared->unit : "");
    }
    const Conclusion c = conclusionOf(r);
    std::string verdict = !c.satisfied ? "—" : *c.satisfied ? "满足" : "不满足";
    if (r.mismatch) verdict += std::string(" ") + kMismatchMark;
    return {std::to_string(number), shownLabel(r), r.caption, result, required, verdict};
}

std::vector<Block> frontBlocks(std::span<const SheetRecord> records) {
    std::vector<Block> out;
    out.push_back(Title{kContentsTitle});
    Table contents{{"序号", "名称", "页码"}, {{"", kSummaryTitle, ""}}, -1, {10, 76, 14}};
    for (std::size_t i = 0; i < records.size(); ++i)
        contents.rows.push_back({std::to_string(i + 1), shownLabel(records[i]), ""});
    out.push_back(std::move(contents));
    out.push_back(Title{kSummaryTitle});
    Table summary{
        {"序号", "名称", "计算项目", "主要结果", "要求", "结论"}, {}, 3, {7, 25, 24, 20, 11, 13}};
    for (std::size_t i = 0; i < records.size(); ++i)
        summary.rows.push_back(summaryRow(records[i], static_cast<int>(i) + 1));
    if (summary.rows.empty()) summary.rows.push_back({"", "（尚无记录）", "", "", "", ""});
    out.push_back(std::move(summary));
    if (std::any_of(records.begin(), records.end(),
                    [](const SheetRecord& r) { return r.mismatch; }))
        out.push_back(Paragraph{std::string(kMismatchMark) + " " + kMismatchNote +
                                "，见该记录的“计算结果”。"});
    out.push_back(Paragraph{kDisplayRule});
    out.push_back(PageBreak{});
    return out;
}

std::vector<Block> sectionBlocks(const SheetRecord& record, int number, CodeEdition edition) {
    std::vector<Block> out;
    appendSection(out, record, number, edition);
    return out;
}

std::vector<Block> SectionCache::section(const SheetRecord& record, int number,
                                         CodeEdition edition) {
    for (Entry& e : m_entries) {
        if (e.used || e.edition != edition || e.record != record) continue;
        e.used = true;
        if (e.number != number) {
            // "3", "3.1"… become "5", "5.1"…
            const std::string from = std::to_string(e.number), to = std::to_string(number);
            for (Block& b : e.blocks)
                if (auto* h = std::get_if<Heading>(&b);
                    h && h->number.starts_with(from) &&
                    (h->number.size() == from.size() || h->number[from.size()] == '.'))
                    h->number = to + h->number.substr(from.size());
            e.number = number;
        }
        return e.blocks;
    }
    m_entries.push_back({record, edition, number, sectionBlocks(record, number, edition), true});
    return m_entries.back().blocks;
}

void SectionCache::prune() {
    std::erase_if(m_entries, [](const Entry& e) { return !e.used; });
    for (Entry& e : m_entries) e.used = false;
}

Document sheetDocument(const SheetHeader& h, std::span<const SheetRecord> records,
                       SectionCache* cache) {
    Document d{h.project, {}, {}};
    d.blocks = coverBlocks(h);
    const std::size_t front = d.blocks.size();
    for (Block& b : frontBlocks(records)) d.blocks.push_back(std::move(b));
    // The contents point at the summary's title and at each record's section heading.
    ContentsTable contents{front + 1, {front + 2}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0 && h.recordPerPage) d.blocks.push_back(PageBreak{});
        contents.targets.push_back(d.blocks.size());
        const int number = static_cast<int>(i) + 1;
        if (!cache) {
            appendSection(d.blocks, records[i], number, h.edition);
            continue;
        }
        for (Block& b : cache->section(records[i], number, h.edition))
            d.blocks.push_back(std::move(b));
    }
    if (cache) cache->prune();
    d.blocks.push_back(Paragraph{kClosingLine});
    d.contents = std::move(contents);
    return d;
}

Document singleSheetDocument(const SheetHeader& h, const SheetRecord& record) {
    Document d{h.project, {}, {}};
    d.blocks.push_back(Title{kSheetTitle});
    d.blocks.push_back(
        Table{{},
              {{"工程名称", h.project, "子项/编号", h.subitem},
               {"设计单位", h.designer, "日期", h.date},
               {"计算人", h.calculator, "校对人", h.checker},
               {"审核人", h.reviewer, "规范版本", std::string(editionName(h.edition))}},
              -1,
              {15, 35, 15, 35}});
    d.blocks.push_back(Paragraph{kDisplayRule});
    appendSection(d.blocks, record, 1, h.edition);
    d.blocks.push_back(Paragraph{kClosingLine});
    return d;
}

Document recordDocument(const SheetRecord& record, int number, CodeEdition edition) {
    Document d;
    appendSection(d.blocks, record, number, edition);
    return d;
}

}  // namespace tervalen::sheet
