// A record of a range or height form carries its protection-range drawing into its
// section, just before the 结论, at a scale that fits the page; other records have none.

#include <gtest/gtest.h>

#include <algorithm>

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
