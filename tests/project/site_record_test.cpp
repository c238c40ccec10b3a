// A site's record and the open site windows in the project file (version 2): read back as
// saved, the record checked again and marked where it differs, a site the engine refuses
// now kept as saved and failing, a damaged or oversized site refused; files of version 1
// read and written as before.

#include "sheet/site_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "../sheet/site_fixture.h"
#include "project_fixture.h"
#include "sheet/document.h"
#include "sheet/text_render.h"
#include "sheet/verdict.h"

namespace tervalen::project {
namespace {

using Json = nlohmann::ordered_json;
using testing::readFile;
using testing::sampleProject;
using testing::ScratchFolder;

// The pump house (covered) and the store (open) of the sheet's tests.
sphere::Site pumpAndStore() {
    return testing_sites::pumpHouse(true);
}

// The sample project with the site's record after its form records and two site windows
// open: one of them being edited into a site the engine does not take yet.
const Project& withSite() {
    static const Project p = [] {
        Project out = sampleProject();
        out.sheet.add(sheet::siteRecordOf(pumpAndStore(), "厂区屋面校核"));
        sphere::Site editing = pumpAndStore();
        editing.rods.push_back({5, 5, 10, 9});  // its tip still below its base
        out.openSites = {
            {"屋面/总平面防雷校核 - 厂区.tvs", "/home/设计/厂区.tvs", pumpAndStore(), {6, 10.5}},
            {"屋面/总平面防雷校核", "", editing, {}}};
        return out;
    }();
    return p;
}

TEST(SiteRecords, ComeBackAsSavedWithTheOpenSiteWindows) {
    ScratchFolder dir;
    const Project& saved = withSite();
    ASSERT_EQ(save(saved, dir / "厂区.tvp").why(), "");
    const Project again = load(dir / "厂区.tvp");
    ASSERT_EQ(again.sheet.records.size(), 7u);
    const sheet::SheetRecord& r = again.sheet.records.back();
    ASSERT_TRUE(r.site);
    EXPECT_FALSE(r.mismatch);
    EXPECT_EQ(r, saved.sheet.records.back());
    EXPECT_EQ(r.site->roofs[0].name, "泵房");
    EXPECT_EQ(r.site->site.buildings[0].layer, "建筑-外墙");
    EXPECT_EQ(again.openSites, saved.openSites);
    EXPECT_FALSE(sphere::problemOf(again.openSites[1].site).empty());
    EXPECT_EQ(again, saved);
    // Saved again, the same text.
    EXPECT_EQ(serialize(again), readFile(dir / "厂区.tvp"));

    const Json doc = Json::parse(readFile(dir / "厂区.tvp"));
    EXPECT_EQ(doc["version"], 2);
    std::vector<std::string> keys;
    for (const auto& [k, v] : doc.items()) keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"format", "version", "header", "records",
                                              "open_forms", "open_sites"}));
    // The site as its own file has it.
    const Json& record = doc["records"][6];
    EXPECT_EQ(record["site"]["format"], "tervalen-site");
    EXPECT_EQ(record["roofs"][1]["name"], "库房");
    EXPECT_EQ(record["roofs"][1]["ok"], false);
    EXPECT_EQ(record["ok"], false);
    EXPECT_EQ(doc["open_sites"][0]["levels"], Json::array({6, 10.5}));
}

TEST(SiteRecords, VersionOneFilesReadAndAreWrittenAsBefore) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TERVALEN_PROJECT_CORPUS)) {
        const std::string text = readFile(entry.path());
        // The corpus holds files of both versions.
        if (entry.path().extension() != ".tvp" || Json::parse(text)["version"] != 1) continue;
        ++files;
        const Project p = parse(text);
        EXPECT_TRUE(p.openSites.empty());
        const std::string written = serialize(p);
        EXPECT_NE(written.find("\n  \"version\": 1,\n"), std::string::npos) << entry.path();
        EXPECT_EQ(written.find("open_sites"), std::string::npos) << entry.path();
        EXPECT_EQ(parse(written), p) << entry.path();
    }
    EXPECT_GE(files, 10);
}

TEST(SiteRecords, ARoofThatDiffersFromWhatWasSavedIsMarkedAndKeptUntilTaken) {
    Json doc = Json::parse(serialize(withSite()));
    doc["records"][6]["roofs"][1]["uncovered_area"] = 70.5;  // as if an earlier engine said so
    Project p = parse(doc.dump(2));
    sheet::SheetRecord& r = p.sheet.records.back();
    ASSERT_TRUE(r.mismatch);
    EXPECT_FALSE(r.mismatch->refused);
    EXPECT_NEAR(r.site->roofs[1].uncoveredArea, 80, 0.05);  // computed now
    ASSERT_TRUE(r.site->savedRoofs);
    EXPECT_EQ((*r.site->savedRoofs)[1].uncoveredArea, 70.5);
    // The sheet gives both values; the summary marks the record.
    const std::string text =
        sheet::plainText(sheet::sheetDocument(p.sheet.header, p.sheet.records));
    EXPECT_NE(text.find("结果与保存时不同"), std::string::npos);
    EXPECT_NE(text.find("70.5"), std::string::npos);
    EXPECT_EQ(sheet::summaryRow(r, 7)[5], std::string("不满足 ") + sheet::kMismatchMark);
    // Saved again, what was saved is written, and it reads back the same.
    EXPECT_EQ(Json::parse(serialize(p))["records"][6]["roofs"][1]["uncovered_area"], 70.5);
    EXPECT_EQ(parse(serialize(p)), p);
    // Taken: the values computed now are what a save writes.
    ASSERT_TRUE(p.sheet.adoptRecomputed(6));
    EXPECT_FALSE(p.sheet.records.back().site->savedRoofs);
    const double written = Json::parse(serialize(p))["records"][6]["roofs"][1]["uncovered_area"];
    EXPECT_EQ(written, p.sheet.records.back().site->roofs[1].uncoveredArea);
}

TEST(SiteRecords, ASiteTheEngineRefusesNowIsKeptAsSavedAndFails) {
    Json doc = Json::parse(serialize(withSite()));
    Json& record = doc["records"][6];
    // Saved as all covered; the rod added since stands upside down.
    for (Json& roof : record["roofs"]) roof["ok"] = true;
    record["ok"] = true;
    record["site"]["rods"] = Json::array({{{"x", 5}, {"y", 5}, {"base", 10}, {"tip", 9}}});
    const Project p = parse(doc.dump(2));
    const sheet::SheetRecord& r = p.sheet.records.back();
    ASSERT_TRUE(r.mismatch);
    EXPECT_TRUE(r.mismatch->refused);
    EXPECT_EQ(r.mismatch->reason, sphere::problemOf(r.site->site));
    EXPECT_TRUE(r.site->roofs[1].ok);  // as saved
    const sheet::Conclusion c = sheet::conclusionOf(r);
    EXPECT_EQ(c.satisfied, false);
    EXPECT_NE(c.text.find("按保存的场地重新计算未得出结果"), std::string::npos) << c.text;
    EXPECT_EQ(parse(serialize(p)), p);
}

TEST(SiteRecords, ADamagedOrOversizedSiteRefusesTheFileWithOneLine) {
    const Json good = Json::parse(serialize(withSite()));
    const auto edited = [&](auto edit) {
        Json d = good;
        edit(d);
        return d.dump(2);
    };
    Json many = Json::array();
    for (int i = 0; i < 51; ++i)
        many.push_back(
            {{"outline", Json::array({{i * 20, 0}, {i * 20 + 10, 0}, {i * 20, 10}})}, {"roof", 5}});
    const struct {
        const char* name;
        std::string text;
        const char* says;
    } cases[] = {
        {"site not an object", edited([](Json& d) { d["records"][6]["site"] = 5; }),
         "第 7 条计算记录的 “site” 应为对象"},
        {"site of another format",
         edited([](Json& d) { d["records"][6]["site"]["format"] = "tervalen-project"; }),
         "第 7 条计算记录的场地有误：不是 Tervalen 场地文件"},
        {"a rod without its tip", edited([](Json& d) {
             d["records"][6]["site"]["rods"] = Json::array({{{"x", 1}, {"y", 1}}});
         }),
         "第 7 条计算记录的场地有误：第 1 根接闪杆缺少 “tip”"},
        {"too many buildings",
         edited([&](Json& d) { d["records"][6]["site"]["buildings"] = many; }),
         "第 7 条计算记录的场地有 51 座建筑物，超过场地记录的上限 50 座"},
        {"too wide",
         edited([](Json& d) { d["records"][6]["site"]["buildings"][1]["outline"][1][0] = 3000; }),
         "第 7 条计算记录的场地范围或滚球半径超过场地记录的上限 2000 m"},
        {"too large a sphere", edited([](Json& d) { d["records"][6]["site"]["hr"] = 1e6; }),
         "超过场地记录的上限 2000 m"},
        {"a roof without its verdict",
         edited([](Json& d) { d["records"][6]["roofs"][0].erase("ok"); }),
         "第 7 条计算记录的第 1 个屋面缺少 “ok”"},
        {"a roof's area not a number",
         edited([](Json& d) { d["records"][6]["roofs"][0]["uncovered_area"] = "0"; }),
         "第 7 条计算记录的第 1 个屋面的 “uncovered_area” 应为有限的数"},
        {"a worst point without s",
         edited([](Json& d) { d["records"][6]["roofs"][0]["worst"].erase("s"); }),
         "第 7 条计算记录的第 1 个屋面的最不利点缺少 “s”"},
        {"an open site's level below the ground",
         edited([](Json& d) { d["open_sites"][0]["levels"][0] = -1; }),
         "第 1 个打开的场地窗口的 “levels” 应为 0 至 100000 m 的高度"},
        {"an open site without a title", edited([](Json& d) { d["open_sites"][1].erase("title"); }),
         "第 2 个打开的场地窗口缺少 “title”"},
    };
    for (const auto& c : cases) {
        try {
            (void)parse(c.text);
            ADD_FAILURE() << c.name << ": read";
        } catch (const ProjectError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.says), std::string::npos) << c.name << ": " << what;
            EXPECT_EQ(what.find('\n'), std::string::npos) << c.name;
        }
    }
}

}  // namespace
}  // namespace tervalen::project
