// A site checked with the rolling sphere as a record of the sheet: its section (the
// objects, the radius and its basis, the method, the plan, each roof), its line in the
// summary, and a verdict that is 满足 only when every roof is protected.

#include "sheet/site_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "sheet/document.h"
#include "sheet/text_render.h"
#include "sheet/verdict.h"
#include "site_fixture.h"

namespace tervalen::sheet {
namespace {

sphere::Site site(bool withStore) {
    return testing_sites::pumpHouse(withStore);
}

// Each record computed once, when a test first asks for it (a roof's check costs some
// thousands of S queries).
class SiteRecord : public ::testing::Test {
protected:
    static const SheetRecord& open() {
        static const SheetRecord r = siteRecordOf(site(true), "厂区屋面校核");
        return r;
    }
    static const SheetRecord& covered() {
        static const SheetRecord r = siteRecordOf(site(false));
        return r;
    }
};

bool has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

TEST_F(SiteRecord, OneUncoveredRoofFailsTheSiteInTheSectionAndTheSummary) {
    const SheetRecord& r = open();
    ASSERT_TRUE(r.site);
    ASSERT_EQ(r.site->roofs.size(), 2u);
    EXPECT_TRUE(r.site->roofs[0].ok);
    EXPECT_FALSE(r.site->roofs[1].ok);
    // The store's whole roof: 10 m × 8 m.
    EXPECT_NEAR(r.site->roofs[1].uncoveredArea, 80, 0.05);
    EXPECT_FALSE(r.site->ok);

    const Conclusion c = conclusionOf(r);
    EXPECT_EQ(c.satisfied, false);
    EXPECT_TRUE(has(c.text, "屋面“库房”（6 m）未保护面积 80")) << c.text;
    EXPECT_FALSE(has(c.text, "泵房")) << c.text;  // only the roofs the sphere reaches
    EXPECT_TRUE(c.text.ends_with("不满足保护要求。")) << c.text;

    const std::vector<std::string> row = summaryRow(r, 3);
    EXPECT_EQ(row, (std::vector<std::string>{"3", "厂区屋面校核", kSiteCaption, row[3],
                                             kSiteRequirement, "不满足"}));
    EXPECT_TRUE(row[3].starts_with("未保护面积 80")) << row[3];
    // No requirement is typed for it: it carries its own.
    EXPECT_TRUE(comparableResults(r).empty());
    EXPECT_FALSE(readRequirement(r, "10").ok());
}

TEST_F(SiteRecord, EveryRoofCoveredSatisfiesWithTheWorstMargin) {
    const SheetRecord& r = covered();
    ASSERT_TRUE(r.site && r.site->ok);
    const double margin = r.site->roofs[0].worst.s - 10;
    // Half a metre up, sagging 45 − √(45² − 5²) = 0.278 m between opposite edges.
    EXPECT_NEAR(margin, 0.5 - (45 - std::sqrt(45.0 * 45 - 25)), 0.01);
    const Conclusion c = conclusionOf(r);
    EXPECT_EQ(c.satisfied, true);
    EXPECT_TRUE(c.text.ends_with("满足保护要求。")) << c.text;
    const std::vector<std::string> row = summaryRow(r, 1);
    EXPECT_TRUE(row[3].starts_with("最小裕度 0.22")) << row[3];
    EXPECT_EQ(row[5], "满足");
    // Unlabelled, it takes the caption when added.
    Sheet sheet;
    sheet.add(r);
    EXPECT_EQ(sheet.records.back().label, kSiteCaption);
}

TEST_F(SiteRecord, TheSectionStatesTheObjectsTheRadiusTheMethodThePlanAndEachRoof) {
    Sheet sheet;
    sheet.add(open());
    const Document d = sheetDocument(sheet.header, sheet.records);
    const std::string text = plainText(d);
    for (const char* part :
         {"1 厂区屋面校核", "1.1 计算依据", "滚球法，精确几何计算", "1.2 已知条件",
          "1.3 保护范围图", "1.4 计算结果", "1.5 结论",
          // The objects with where they stand and how high.
          "接闪杆 1", "(150, 20)", "底 0，顶 8", "接闪导体 4", "(0, 10, 10.5) — (0, 0, 10.5)",
          "接闪线 1", "弧垂 1.5", "建筑物 泵房", "(0, 0) (10, 0) (10, 10) (0, 10)", "屋面 6",
          "滚球半径 hr = 45 m：第二类防雷建筑物的滚球半径（《建筑物防雷设计规范》GB "
          "50057-2010 表5.2.12）",
          // The roofs' table.
          "屋面高度（m）", "未保护面积（m²）", "最不利点（m）", "库房", "不满足"})
        EXPECT_TRUE(has(text, part)) << part << "\n" << text;
    // In the contents and the summary.
    EXPECT_TRUE(has(text, "屋面/总平面防雷校核")) << text;

    // The plan: to a scale that fits the page, the store's roof hatched in red.
    const auto figure = figureOf(sheet.records.front());
    ASSERT_TRUE(figure);
    EXPECT_GT(figure->scale, 0);
    const auto box = figure->drawing.bounds();
    ASSERT_TRUE(box);
    EXPECT_LE((box->width() + 2 * figure->drawing.margin()) * 1000 / figure->scale, kFigureWidthMm);
    const auto hatched = std::count_if(
        figure->drawing.items.begin(), figure->drawing.items.end(), [](const drawing::Item& i) {
            return std::holds_alternative<drawing::Hatch>(i.shape) && drawing::isWarning(i);
        });
    EXPECT_EQ(hatched, 1);
}

TEST(SiteRecordBasis, TheRadiusIsTheTablesForACategoryOrSaidToBeNone) {
    const struct {
        double hr;
        const char* says;
    } cases[] = {
        {30, "滚球半径 hr = 30 m：第一类防雷建筑物的滚球半径"},
        {45, "滚球半径 hr = 45 m：第二类防雷建筑物的滚球半径"},
        {60, "滚球半径 hr = 60 m：第三类防雷建筑物的滚球半径"},
        {50,
         "滚球半径 hr = 50 m：设计给定，不是《建筑物防雷设计规范》GB 50057-2010 表5.2.12"
         "所列第一、二、三类防雷建筑物的滚球半径（30 m、45 m、60 m）之一"},
        {45.5, "滚球半径 hr = 45.5 m：设计给定"},
    };
    for (const auto& c : cases) {
        const std::string basis = hrBasis(c.hr);
        EXPECT_TRUE(basis.starts_with(c.says)) << basis;
        EXPECT_EQ(has(basis, "表5.2.12"), true) << basis;
    }
}

TEST(SiteRecordRefused, ASiteTheEngineRefusesOrWithoutARoofThrowsItsLine) {
    sphere::Site upsideDown = site(false);
    upsideDown.rods[0].tip = -1;
    sphere::Site noRoof = site(false);
    noRoof.buildings.clear();
    for (const auto& [s, line] :
         {std::pair{upsideDown, sphere::problemOf(upsideDown)},
          std::pair{noRoof, std::string("场地中没有建筑物，没有可校核的屋面")}}) {
        ASSERT_FALSE(line.empty());
        try {
            (void)siteRecordOf(s);
            ADD_FAILURE() << line;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(e.what(), line);
        }
    }
}

}  // namespace
}  // namespace tervalen::sheet
