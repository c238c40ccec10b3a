// An A3 sheet's frame around a drawing, with its title block, in the drawing's metres at
// its scale: the sheet 420 × 297 mm, the frame 25 mm in from the left (the binding edge)
// and 10 mm from the others, the title block 180 × 32 mm in the frame's lower right corner.

#include <algorithm>
#include <string>

#include "drawing/dxf.h"

namespace tervalen::drawing {
namespace {

constexpr double kSheetW = 420, kSheetH = 297, kBind = 25, kEdge = 10;
constexpr double kBlockW = 180, kRowH = 8, kRows = 4;

}  // namespace

Drawing framed(const Drawing& d, const TitleBlock& block) {
    const auto b = d.bounds();
    if (!b) return d;
    // The room above the title block, within the frame.
    const double roomW = kSheetW - kBind - kEdge, roomH = kSheetH - 2 * kEdge - kRows * kRowH;
    const int N = d.scale > 0 ? d.scale : roundScale(d, roomW, roomH);
    if (N <= 0) return d;
    Drawing out = d;
    const double k = N / 1000.0;  // metres of the drawing per millimetre of paper
    // The room's centre on the drawing's centre.
    const double cx = kBind + roomW / 2, cy = kEdge + kRows * kRowH + roomH / 2;
    const auto at = [&](double x, double y) {
        return Point{(b->x0 + b->x1) / 2 + (x - cx) * k, (b->y0 + b->y1) / 2 + (y - cy) * k};
    };
    const auto line = [&](double x0, double y0, double x1, double y1, Stroke s = Stroke::Solid) {
        out.add(Line{at(x0, y0), at(x1, y1)}, Layer::Frame, s);
    };
    const auto rect = [&](double x0, double y0, double x1, double y1, Stroke s) {
        out.add(Polyline{{at(x0, y0), at(x1, y0), at(x1, y1), at(x0, y1)}, true}, Layer::Frame, s);
    };
    rect(0, 0, kSheetW, kSheetH, Stroke::Thin);
    rect(kBind, kEdge, kSheetW - kEdge, kSheetH - kEdge, Stroke::Solid);
    // The title block: four rows from the top, cells of label and value.
    const double x0 = kSheetW - kEdge - kBlockW, y0 = kEdge, x1 = kSheetW - kEdge;
    rect(x0, y0, x1, y0 + kRows * kRowH, Stroke::Solid);
    for (int r = 1; r < kRows; ++r) line(x0, y0 + r * kRowH, x1, y0 + r * kRowH, Stroke::Thin);
    const double th = kTextMm * k;
    const auto text = [&](double x, double row, const std::string& s, Align a) {
        if (s.empty()) return;
        const double y = y0 + (kRows - 1 - row) * kRowH + (kRowH - kTextMm) / 2;
        out.add(Text{at(x, y), s, th, a}, Layer::Frame);
    };
    // Rows 0 and 1: 工程名称 and 图名, a label cell of 20 mm and the rest.
    // Row 2: 设计 | 校对 | 审核, each a label of 20 mm and a value of 40 mm.
    // Row 3: 比例 | 日期.
    // A cell's left edge (the block's own edge drawn already).
    const auto cell = [&](double row, double from) {
        const double y = y0 + (kRows - 1 - row) * kRowH;
        if (from > x0) line(from, y, from, y + kRowH, Stroke::Thin);
    };
    const std::string scale = "1:" + std::to_string(N);
    const std::pair<const char*, std::string> wide[] = {{"工程名称", block.project},
                                                        {"图名", block.title}};
    for (int r = 0; r < 2; ++r) {
        cell(r, x0 + 20);
        text(x0 + 10, r, wide[r].first, Align::Centre);
        text(x0 + 22, r, wide[r].second, Align::Left);
    }
    const std::pair<const char*, std::string> people[] = {
        {"设计", block.designer}, {"校对", block.checker}, {"审核", block.reviewer}};
    for (int i = 0; i < 3; ++i) {
        const double from = x0 + 60 * i;
        cell(2, from);
        cell(2, from + 20);
        text(from + 10, 2, people[i].first, Align::Centre);
        text(from + 22, 2, people[i].second, Align::Left);
    }
    const std::pair<const char*, std::string> last[] = {{"比例", scale}, {"日期", block.date}};
    for (int i = 0; i < 2; ++i) {
        const double from = x0 + 60 * i;
        cell(3, from);
        cell(3, from + 20);
        text(from + 10, 3, last[i].first, Align::Centre);
        text(from + 22, 3, last[i].second, Align::Left);
    }
    return out;
}

}  // namespace tervalen::drawing
