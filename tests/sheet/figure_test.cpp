// A record of a range or height form carries its protection-range drawing into its
// section, just before the 结论, at a scale that fits the page; other records have none.

#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/finite.h"
#include "drawing/layouts.h"
#include "forms/catalog.h"
#include "sheet/document.h"
#include "sheet/text_render.h"
#include "sheet_test_support.h"

namespace tervalen::sheet {
namespace {

using forms::Action;

SheetRecord replayed(const char* form, std::vector<Action> actions) {
    auto r = replay(*forms::findForm(form), actions);
    if (!r) throw std::runtime_error(std::string("no record of ") + form);
    return *r;
}

TEST(SheetFigure, RangeAndHeightRecordsDrawnBeforeTheConclusion) {
    const struct {
        const char* form;
        std::vector<Action> actions;
        const char* label;  // a text the drawing must hold
    } cases[] = {
        {"frmRx_DLDanZ",
         {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")},
         "Rx=11.70115"},
        {"frmH_DLDanZ",
         {Action::set("CmbHx", "5"), Action::set("CmbRxo", "10"), Action::press("CmdRun")},
         "H=16.10027"},
        // A warning of the form is a drawing all the same, with its mark.
        {"frmRx_DLSiZ",
         {Action::set("CmbH", "20"), Action::set("CmbHx", "2"), Action::set("CmbL", "42"),
          Action::press("CmdRun")},
         "对角线上无保护宽度（Ho2 低于地面）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        const SheetRecord r = replayed(c.form, c.actions);
        ASSERT_TRUE(r.layout);
        const Document d = recordDocument(r, 2);
        const auto figure = std::find_if(d.blocks.begin(), d.blocks.end(), [](const Block& b) {
            return std::holds_alternative<Figure>(b);
        });
        ASSERT_NE(figure, d.blocks.end());
        const auto* heading = std::get_if<Heading>(&*(figure - 1));
        ASSERT_TRUE(heading);
        EXPECT_EQ(heading->text, "保护范围图");
        EXPECT_EQ(std::get<Heading>(*(figure + 1)).text, "结论");
        EXPECT_EQ(std::get<Heading>(*(figure + 1)).number, "2.6");

        const Figure& f = std::get<Figure>(*figure);
        EXPECT_EQ(f.drawing.title, r.caption);
        EXPECT_TRUE(std::any_of(f.drawing.items.begin(), f.drawing.items.end(), [&](const auto& i) {
            const auto* t = std::get_if<drawing::Text>(&i.shape);
            return t && t->text == c.label;
        }));
        // At 1:scale the drawing and its margin fit the page's width and the room allowed.
        const auto b = f.drawing.bounds();
        ASSERT_GT(f.scale, 0);
        EXPECT_LE((b->width() + 2 * f.drawing.margin()) * 1000 / f.scale, kFigureWidthMm);
        EXPECT_LE((b->height() + 2 * f.drawing.margin()) * 1000 / f.scale + drawing::kScaleLineMm,
                  kFigureHeightMm);
        // The plain text says where the drawing is, and at what scale.
        EXPECT_NE(plainText(d).find("：剖面与平面，比例 1:" + std::to_string(f.scale) +
                                    "，见 PDF 或打印的计算书\n"),
                  std::string::npos);
    }
}

// A spacing of zero (rods on one another, a wire of no span, two wires in one place)
// leaves the range without coordinates that are numbers: the press keeps its results and
// its record, with no drawing (no figure in the sheet, none to export), where the same
// press with the spacing above zero is drawn, every coordinate a number.
struct Spacing {
    const char* form;
    std::vector<Action> inputs;  // all but the spacing
    std::vector<const char*> spacings;
};

std::ostream& operator<<(std::ostream& o, const Spacing& c) {
    return o << c.form << " " << c.spacings.front();
}

class ZeroSpacing : public ::testing::TestWithParam<Spacing> {};

TEST_P(ZeroSpacing, KeepsTheResultsAndDrawsNothing) {
    const Spacing& c = GetParam();
    for (const char* zeroed : c.spacings) {
        std::vector<Action> zero = c.inputs, spaced = c.inputs;
        for (const char* s : c.spacings) {
            zero.push_back(Action::set(s, s == zeroed ? "0" : "10"));
            spaced.push_back(Action::set(s, "10"));
        }
        zero.push_back(Action::press("CmdRun"));
        spaced.push_back(Action::press("CmdRun"));
        const SheetRecord r = replayed(c.form, zero);
        EXPECT_FALSE(r.results.empty()) << zeroed;
        EXPECT_FALSE(r.layout) << zeroed;
        EXPECT_FALSE(figureOf(r)) << zeroed;
        EXPECT_EQ(plainText(recordDocument(r, 1)).find("保护范围图"), std::string::npos);

        const SheetRecord drawn = replayed(c.form, spaced);
        ASSERT_TRUE(drawn.layout) << zeroed;
        EXPECT_TRUE(drawing::allFinite(drawing::draw(*drawn.layout, drawn.caption))) << zeroed;
    }
}

INSTANTIATE_TEST_SUITE_P(
    RangeAndHeightForms, ZeroSpacing,
    ::testing::Values(
        Spacing{
            "frmRx_DLShuangZ", {Action::set("CmbH", "20"), Action::set("CmbHx", "5")}, {"CmbD"}},
        Spacing{
            "frmRx_JSShuangZ",
            {Action::pick("CmbYesNo", "否"), Action::set("CmbH", "20"), Action::set("CmbHx", "5")},
            {"CmbD"}},
        Spacing{
            "frmRx_DLSanZ",
            {Action::set("CmbHr", "100"), Action::set("CmbH", "100"), Action::set("CmbHx", "0")},
            {"CmbL"}},
        Spacing{
            "frmRx_DLSiZ",
            {Action::set("CmbHr", "100"), Action::set("CmbH", "100"), Action::set("CmbHx", "0")},
            {"CmbL"}},
        Spacing{"frmRx_BDGShuangZ",
                {Action::set("CmbHr", "45"), Action::set("CmbH1", "20"), Action::set("CmbH2", "30"),
                 Action::set("CmbHx", "5")},
                {"CmbD"}},
        Spacing{"frmRxBx_DanX", {Action::set("CmbH", "20"), Action::set("CmbHx", "5")}, {"CmbD"}},
        Spacing{"frmRxBx_ShuangX",
                {Action::set("CmbH", "20"), Action::set("CmbHx", "5")},
                {"CmbD1", "CmbD2"}},
        Spacing{
            "frmH_DLShuangZ", {Action::set("CmbBxo", "5"), Action::set("CmbHx", "5")}, {"CmbD"}},
        Spacing{"frmH_JSShuangZ",
                {Action::pick("CmbYesNo", "否"), Action::set("CmbBxo", "5"),
                 Action::set("CmbHx", "5"), Action::set("CmbG", "1")},
                {"CmbD"}},
        Spacing{"frmH_DLSanZ", {Action::set("CmbBxo", "5"), Action::set("CmbHx", "5")}, {"CmbL"}},
        Spacing{"frmH_DLSiZ", {Action::set("CmbBxo", "5"), Action::set("CmbHx", "5")}, {"CmbL"}},
        Spacing{"frmH_DanX", {Action::set("CmbBx1o", "5"), Action::set("CmbHx", "5")}, {"CmbD"}},
        Spacing{"frmH_ShuangX",
                {Action::set("CmbHoo", "5"), Action::set("CmbHx", "5")},
                {"CmbD1", "CmbD2"}}));

TEST(SheetFigure, NoneForAFormWithoutADrawing) {
    const SheetRecord r =
        replayed("frmDZ_GC", {Action::set("CmbR", "10"), Action::set("Cmbρ", "100"),
                              Action::set("CmbL", "10"), Action::press("CmdRun")});
    EXPECT_FALSE(r.layout);
    for (const Block& b : recordDocument(r, 1).blocks) {
        EXPECT_FALSE(std::holds_alternative<Figure>(b));
        if (const auto* h = std::get_if<Heading>(&b)) {
            EXPECT_NE(h->text, "保护范围图");
        }
    }
}

}  // namespace
}  // namespace tervalen::sheet
