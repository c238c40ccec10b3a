// frmDZ_ShuiPing: power-frequency resistance of a buried (horizontal) earth electrode of
// one of seven layouts, and its impulse resistance.

#include <string>

#include "calc/earthing/dz_electrodes.h"
#include "forms/earthing/earthing_controls.h"
#include "forms/earthing/forms.h"

namespace tervalen::forms {
namespace {

// A straight line of a layout drawing, given in twips within the frame and placed in
// pixels (15 twips to the pixel).
Control twipLine(std::string name, int x1, int y1, int x2, int y2) {
    return line(std::move(name), x1 / 15, y1 / 15, x2 / 15, y2 / 15);
}

// Seven layouts in one row: each drawing fills a 240-twip cell from 360 to 600 twips down,
// above its option button, which shows only its marker (255 twips square, 720 twips down).
Row shapeOptions() {
    // clang-format off
    Row r = {
        // straight line
        twipLine("Line1", 480, 480, 720, 480),
        // L: an upright stroke with a foot to the right
        twipLine("Line2", 1320, 360, 1320, 600), twipLine("Line3", 1560, 600, 1320, 600),
        // three-armed star: one arm up, two down to the left and right
        twipLine("Line4", 2280, 360, 2280, 480), twipLine("Line5", 2160, 600, 2280, 480),
        twipLine("Line6", 2400, 600, 2280, 480),
        // cross
        twipLine("Line7", 3000, 480, 3240, 480), twipLine("Line8", 3120, 360, 3120, 600),
        // six-armed star: a horizontal and two diagonals
        twipLine("Line9", 3840, 480, 4080, 480), twipLine("Line10", 3840, 360, 4080, 600),
        twipLine("Line11", 4080, 360, 3840, 600),
        // eight-armed star: a horizontal, an upright and two diagonals
        twipLine("Line12", 4680, 480, 4920, 480), twipLine("Line13", 4800, 360, 4800, 600),
        twipLine("Line14", 4920, 360, 4680, 600), twipLine("Line15", 4680, 360, 4920, 600),
        // closed square
        twipLine("Line16", 5520, 360, 5520, 600), twipLine("Line17", 5760, 600, 5520, 600),
        twipLine("Line18", 5760, 360, 5760, 600), twipLine("Line19", 5520, 360, 5760, 360),
    };
    // clang-format on
    for (int i = 0; i < 7; ++i) {
        const int left = 480 + 840 * i;
        r.push_back(option("OptA" + std::to_string(i + 1)).at(left / 15, 720 / 15).sized(17, 17));
    }
    return r;
}

// The first selected layout's index; none selected: -1 (the unit takes a straight line).
int selectedLayout(const Form& f) {
    for (std::size_t i = 0; i < kShapeCoefficients.size(); ++i)
        if (f.selected("OptA" + std::to_string(i + 1))) return static_cast<int>(i);
    return -1;
}

void CmdRun_GP_Click(Form& f) {
    f.clear({"PicA", "PicD", "PicR"});
    // An impulse resistance converted from the resistance this press replaces is stale.
    f.clear({"PicRi"});
    if (f.anyBlank({"CmbGg", "Cmbρ", "CmbL1", "CmbH"})) return;
    const float s = f.number("CmbGg"), rho = f.number("Cmbρ"), L1 = f.number("CmbL1"),
                H = f.number("CmbH");
    const HorizontalElectrodeInput in{f.text("CmbGx"), s, rho, L1, H, selectedLayout(f)};
    f.show(unit_id::calcDZ_ShuiPing, in, calcDZ_ShuiPing(in), [&](const DzShuiPing& r) {
        f.print("PicA", r.A);
        f.print("PicD", r.D);
        f.print("PicR", r.R);
        keepForImpulse(f, r.R);
    });
}

}  // namespace

const FormDef& frmDZ_ShuiPing() {
    static const FormDef def{
        .name = "frmDZ_ShuiPing",
        .caption = "人工水平接地体工频接地电阻计算",
        .frames = {descriptionFrame(
                       "    人工水平接地体工频接地电阻值的计算，该程序分为圆钢、圆钢、扁钢"
                       "及等边角钢作为接地体的计算。"),
                   inputFrame({steelTypeRow("水平接地体钢材类型（Gx）：", "扁钢"),
                               steelSizeRow("扁钢的边长（b）：", "b 值错误，只为数字！"),
                               soilRow(KeyFilter::Numeric),
                               inputRow({}, "水平接地体长度（L1）：", input("CmbL1"), "m"),
                               inputRow({}, "水平接地体埋深（H）：",
                                        input("CmbH").numeric("H 值错误，只为数字！"), "m"),
                               branchLengthRow()}),
                   {"Frame1", "选择水平接地体形状：", {shapeOptions()}, 72},
                   resultFrame({heading({}, "水平接地体的形状系数（A）："),
                                resultRow({{"A=", "PicA"}}, {}),
                                heading({}, "接地体直径或等效直径（D）："),
                                resultRow({{"D=", "PicD"}}, "m"),
                                heading({}, "人工水平接地体的工频接地电阻值（R）为："),
                                resultRow({{"R=", "PicR"}}, "Ω"), impulseResultLine()})},
        .buttons = powerFrequencyButtons(CmdRun_GP_Click, "CmbL2", "R"),
        .defaultButton = "CmdRun_GP",
        .cancelButton = "cmdCancel",
        .kept = {kStoredR},
        .family = Family::Earthing,
        .basis = {formula("CmdRun_GP",
                          "人工水平接地体工频接地电阻：R = ρ/(2πL1)·[ln(L1²/(D·H)) + A]"),
                  impulseConversion("CmdRun_CJ")},
        .menu = {.menu = "mnuDZ", .name = "mnuDZ_ShuiPing", .caption = "水平接地体工频电阻"},
    };
    return def;
}

}  // namespace tervalen::forms
