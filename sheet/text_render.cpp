#include "sheet/text_render.h"

#include <algorithm>

#include "drawing/model.h"
#include "forms/utf8.h"

namespace tervalen::sheet {
namespace {

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width - std::min(width, displayWidth(text)), ' ');
}

void trimRight(std::string& s) {
    s.erase(s.find_last_not_of(' ') + 1);
}

void writeTable(std::string& out, const Table& t) {
    std::vector<std::vector<std::string>> lines;
    if (!t.header.empty()) lines.push_back(t.header);
    lines.insert(lines.end(), t.rows.begin(), t.rows.end());
    std::vector<std::size_t> widths;
    for (const auto& row : lines) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    }
    for (const auto& row : lines) {
        std::string line = "  ";
        for (std::size_t i = 0; i < row.size(); ++i) line += padded(row[i], widths[i] + 2);
        trimRight(line);
        out += line + '\n';
    }
}

struct Writer {
    std::string& out;
    void operator()(const Title& t) const {
        if (!out.empty() && !out.ends_with("\n\n")) out += '\n';
        out += t.text + "\n\n";
    }
    void operator()(const Heading& h) const {
        if (h.level == 1) out += '\n';
        out += h.number + ' ' + h.text + '\n';
    }
    void operator()(const Paragraph& p) const { out += p.text + '\n'; }
    void operator()(const Table& t) const { writeTable(out, t); }
    void operator()(const Formula& f) const { out += "  " + stepText(f.step) + '\n'; }
    void operator()(const Verdict& v) const { out += v.text + '\n'; }
    void operator()(const Figure& f) const {
        out += "  " + f.drawing.title + "：剖面与平面，比例 1:" + std::to_string(f.scale) +
               "，见 PDF 或打印的计算书\n";
    }
    void operator()(const PageBreak&) const { out += '\n'; }
};

}  // namespace

std::size_t displayWidth(const std::string& text) {
    std::size_t w = 0;
    for (char32_t c : forms::decodeUtf8(text)) w += drawing::wideCharacter(c) ? 2 : 1;
    return w;
}

std::string stepText(const Step& s) {
    if (s.formula.empty() && s.value.empty()) return s.note;
    std::vector<std::string> sides;
    if (!s.symbol.empty()) sides.push_back(s.symbol);
    if (!s.formula.empty()) sides.push_back(s.formula);
    if (!s.substituted.empty() && s.substituted != s.formula) sides.push_back(s.substituted);
    if (!s.value.empty()) sides.push_back(s.unit.empty() ? s.value : s.value + " " + s.unit);
    std::string text;
    for (const std::string& side : sides) text += (text.empty() ? "" : " = ") + side;
    if (!s.note.empty()) text += "（" + s.note + "）";
    return text;
}

std::string plainText(const Document& document) {
    std::string out;
    for (std::size_t i = 0; i < document.blocks.size(); ++i) {
        const auto* t = std::get_if<Table>(&document.blocks[i]);
        if (t && document.contents && document.contents->table == i) {
            // Text has no pages: the contents without their page column.
            Table contents = *t;
            contents.header.pop_back();
            for (auto& row : contents.rows) row.pop_back();
            writeTable(out, contents);
            continue;
        }
        std::visit(Writer{out}, document.blocks[i]);
    }
    return out;
}

}  // namespace tervalen::sheet
