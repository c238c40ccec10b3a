#include "sheet/document.h"

#include <algorithm>
#include <charconv>

#include "sheet/basis.h"
#include "sheet/verdict.h"

namespace tervalen::sheet {
namespace {

Table quantityTable(const std::vector<Quantity>& qs) {
    Table t{{"符号", "名称", "数值", "单位"}, {}, 0, {12, 52, 22, 14}};
    for (const Quantity& q : qs) t.rows.push_back({q.symbol, q.name, q.value, q.unit});
    return t;
}

std::string oneLine(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\n' && c != '\r') out += c;
    return out;
}

// The number a label starts with ("12# …" → 12), or 0.
int labelNumber(const std::string& label) {
    int n = 0;
    const auto [end, ec] = std::from_chars(label.data(), label.data() + label.size(), n);
    return ec == std::errc() && end != label.data() + label.size() && *end == '#' ? n : 0;
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

void appendSection(std::vector<Block>& out, const SheetRecord& r, int number, CodeEdition edition) {
    const std::string n = std::to_string(number);
    int part = 0;
    const auto heading = [&](const char* text) {
        out.push_back(Heading{2, n + "." + std::to_string(++part), text});
    };
    out.push_back(Heading{1, n, r.label});
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

int Sheet::nextNumber() const {
    int highest = 0;
    for (const SheetRecord& r : records) highest = std::max(highest, labelNumber(r.label));
    return highest + 1;
}

void Sheet::add(SheetRecord record) {
    if (record.label.empty()) record.label = defaultLabel(nextNumber(), record.caption);
    records.push_back(std::move(record));
}

std::optional<Figure> figureOf(const SheetRecord& record) {
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

Document sheetDocument(const SheetHeader& h, std::span<const SheetRecord> records) {
    Document d{h.project, {}};
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
    for (std::size_t i = 0; i < records.size(); ++i)
        appendSection(d.blocks, records[i], static_cast<int>(i) + 1, h.edition);
    d.blocks.push_back(Paragraph{kClosingLine});
    return d;
}

Document recordDocument(const SheetRecord& record, int number, CodeEdition edition) {
    Document d;
    appendSection(d.blocks, record, number, edition);
    return d;
}

}  // namespace tervalen::sheet
