#include "sheet/form_reading.h"

#include <array>
#include <utility>

#include "forms/form.h"

namespace tervalen::sheet {
namespace {

using forms::Control;
using forms::Kind;
using forms::Row;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool dropSuffix(std::string_view& s, std::string_view suffix) {
    if (!s.ends_with(suffix)) return false;
    s.remove_suffix(suffix.size());
    return true;
}

bool dropPrefix(std::string_view& s, std::string_view prefix) {
    if (!s.starts_with(prefix)) return false;
    s.remove_prefix(prefix.size());
    return true;
}

// The option buttons of the horizontal electrode show a drawing of their layout only.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kLayoutNames = {{
    {"OptA1", "直线形"},
    {"OptA2", "L 形"},
    {"OptA3", "三射线星形"},
    {"OptA4", "十字形"},
    {"OptA5", "六射线星形"},
    {"OptA6", "八射线星形"},
    {"OptA7", "闭合正方形"},
}};

std::string optionText(const Control& option) {
    for (const auto& [name, text] : kLayoutNames)
        if (option.name == name) return std::string(text);
    return option.text.empty() ? option.name : option.text;
}

// A result the form names by a shared heading or not at all, as its definition names it.
std::string_view namedResult(const forms::FormDef& def, std::string_view symbol) {
    for (const forms::ResultName& n : def.resultNames)
        if (n.symbol == symbol) return n.name;
    return {};
}

// A label's caption as it stands (handlers change some).
std::string captionOf(const forms::Form& form, const Control& label) {
    return label.name.empty() ? label.text : form.state(label.name).text;
}

// The first label after position i that is not the prefix of a further result box: the
// unit label of an input box or a result box ("", when the row has none).
std::string unitAfter(const Row& row, std::size_t i) {
    for (std::size_t j = i + 1; j < row.size(); ++j) {
        const Control& c = row[j];
        if (c.kind == Kind::Result) continue;
        if (c.kind != Kind::Label) return {};
        if (j + 1 < row.size() && row[j + 1].kind == Kind::Result) continue;  // a prefix
        return unitOf(c.text);
    }
    return {};
}

// The unit of the box at row[i] as its label gives it, else as the form states it for
// boxes without one.
std::string unitOfBox(const forms::Form& form, const Row& row, std::size_t i) {
    std::string unit = unitAfter(row, i);
    return unit.empty() ? form.def().unitOfUnlabelled : unit;
}

bool isHeading(const Row& row) {
    if (row.empty() || row.front().wrap) return false;
    for (const Control& c : row)
        if (c.kind != Kind::Label) return false;
    return true;
}

// A symbol the form gives a box ("CmbK" → K) when the caption names it without
// parentheses ("选择校正系数K值").
void symbolFromName(const forms::Form& form, const Control& box, Quantity& q) {
    if (!q.symbol.empty()) return;
    const std::string s = form.symbolOf(box.name);
    if (q.name.find(s) != std::string::npos) q.symbol = s;
}

}  // namespace

Quantity splitCaption(std::string_view caption) {
    std::string_view s = trimmed(caption);
    Quantity q;
    if (dropSuffix(s, "=")) {  // a result's prefix: the symbol alone ("H(针尖)=")
        q.symbol = trimmed(s);
        return q;
    }
    if (!dropSuffix(s, "：")) dropSuffix(s, ":");
    dropSuffix(s, "为");
    s = trimmed(s);
    for (const auto& [open, close] : {std::pair{"（", "）"}, std::pair{"(", ")"}}) {
        if (!s.ends_with(close)) continue;
        const auto at = s.rfind(open);
        if (at == std::string_view::npos) continue;
        const std::string_view o = open, c = close;
        q.symbol = trimmed(s.substr(at + o.size(), s.size() - at - o.size() - c.size()));
        std::string_view name = trimmed(s.substr(0, at));
        dropSuffix(name, "为");  // "计算得出斜边为（Lc）："
        q.name = name;
        return q;
    }
    // A long question names its quantity after its last comma ("请根据…，选择校正系数K值").
    if (const auto comma = s.rfind("，"); comma != std::string_view::npos)
        s.remove_prefix(comma + std::string_view("，").size());
    dropPrefix(s, "选择");
    q.name = trimmed(s);
    return q;
}

std::string unitOf(std::string_view unitLabel) {
    std::string_view s = trimmed(unitLabel);
    dropPrefix(s, "单位：");
    if (s == "米") return "m";
    // The form counts strikes per year ("次"); the sheet gives the unit whole.
    if (s == "次") return "次/a";
    return std::string(s);
}

std::vector<Quantity> knownConditions(const forms::Form& form) {
    std::vector<Quantity> out;
    for (const forms::Frame& frame : form.def().frames)
        for (const Row& row : frame.rows)
            for (std::size_t i = 0; i < row.size(); ++i) {
                const Control& c = row[i];
                if (c.kind == Kind::Option && form.selected(c.name)) {
                    Quantity q = splitCaption(frame.caption);
                    q.value = optionText(c);
                    out.push_back(std::move(q));
                }
                if (c.kind != Kind::Input) continue;
                const forms::ControlState& s = form.state(c.name);
                if (!s.visible || trimmed(s.text).empty()) continue;
                Quantity q;
                for (std::size_t j = i; j-- > 0;)
                    if (row[j].kind == Kind::Label) {
                        q = splitCaption(captionOf(form, row[j]));
                        break;
                    }
                symbolFromName(form, c, q);
                q.value = s.text;
                q.unit = unitOfBox(form, row, i);
                out.push_back(std::move(q));
            }
    return out;
}

std::vector<Quantity> resultsShown(const forms::Form& form) {
    std::vector<Quantity> out;
    for (const forms::Frame& frame : form.def().frames)
        for (std::size_t r = 0; r < frame.rows.size(); ++r) {
            const Row& row = frame.rows[r];
            int boxes = 0;
            for (const Control& c : row) boxes += c.kind == Kind::Result;
            for (std::size_t i = 0; i < row.size(); ++i) {
                const Control& c = row[i];
                if (c.kind != Kind::Result) continue;
                const forms::ControlState& s = form.state(c.name);
                if (!s.visible || trimmed(s.text).empty()) continue;
                Quantity q;
                if (i > 0 && row[i - 1].kind == Kind::Label)
                    q = splitCaption(captionOf(form, row[i - 1]));
                if (q.symbol.empty()) q.symbol = form.symbolOf(c.name);
                // A row of one result is named by the heading above it.
                if (q.name.empty() && boxes == 1 && r > 0 && isHeading(frame.rows[r - 1])) {
                    const Quantity heading =
                        splitCaption(captionOf(form, frame.rows[r - 1].front()));
                    std::string_view name = heading.name;
                    if (name.ends_with(" " + q.symbol)) name.remove_suffix(q.symbol.size() + 1);
                    q.name = trimmed(name);
                }
                if (q.name.empty()) q.name = namedResult(form.def(), q.symbol);
                q.value = trimmed(s.text);
                q.unit = unitOfBox(form, row, i);
                out.push_back(std::move(q));
            }
        }
    return out;
}

}  // namespace tervalen::sheet
