// The project as the main window keeps it, driven without a window: what counts as
// unsaved, a change made on disk by another program, the title and the first save's name.

#include "project/session.h"

#include <gtest/gtest.h>

#include <fstream>

#include "project_fixture.h"

namespace tervalen::project::testing {
namespace {

Work workOf(const Project& p) {
    std::map<std::string, forms::FormSnapshot> forms;
    for (const forms::FormSnapshot& s : p.openForms) forms.emplace(s.form, s);
    return {p.sheet, forms, p.openSites};
}

TEST(ProjectSession, EveryPartOfTheWorkCountsAsUnsavedUntilSaved) {
    const Project p = sampleProject();
    Session session;
    session.start(workOf(p), {}, {});
    const Work same = workOf(p);
    EXPECT_FALSE(session.unsaved(same.sheet, same.forms, same.sites));

    const auto unsavedAfter = [&](auto change) {
        Work w = workOf(p);
        change(w);
        return session.unsaved(w.sheet, w.forms, w.sites);
    };
    EXPECT_TRUE(unsavedAfter([](Work& w) { w.sheet.header.checker = "周工"; }));
    EXPECT_TRUE(unsavedAfter([](Work& w) { w.sheet.records.pop_back(); }));
    EXPECT_TRUE(unsavedAfter([](Work& w) { w.sheet.records[0].label = "改过"; }));
    EXPECT_TRUE(unsavedAfter([](Work& w) { w.forms.erase(w.forms.begin()); }));
    EXPECT_TRUE(unsavedAfter([](Work& w) {
        w.forms.begin()->second.controls.begin()->second.text += "0";
    }));
    sphere::Site site;
    site.buildings.push_back({"泵房", {{0, 0}, {10, 0}, {10, 8}, {0, 8}}, 0, 6});
    EXPECT_TRUE(unsavedAfter([&](Work& w) { w.sites.push_back({"场地", "", site, {}}); }));

    // Saved: what was written is what it compares with.
    ScratchFolder dir;
    Work changed = workOf(p);
    changed.sites.push_back({"场地", "", site, {3}});
    Project written = p;
    written.openSites = changed.sites;
    ASSERT_TRUE(save(written, dir / "a.tvp").ok());
    session.saved(changed, dir / "a.tvp");
    EXPECT_FALSE(session.unsaved(changed.sheet, changed.forms, changed.sites));
    EXPECT_TRUE(session.unsaved(same.sheet, same.forms, same.sites));
    // Remembered header fields filled into both copies are no change.
    session.savedHeader().designer = "新设计院";
    changed.sheet.header.designer = "新设计院";
    EXPECT_FALSE(session.unsaved(changed.sheet, changed.forms, changed.sites));
}

TEST(ProjectSession, AChangeOnDiskIsNoticedOnlyInTheProjectsOwnFile) {
    ScratchFolder dir;
    const auto file = dir / "厂区.tvp";
    const Project p = sampleProject();
    ASSERT_TRUE(save(p, file).ok());
    Session session;
    session.start(workOf(p), file, fingerprint(file));
    const std::string expected = session.expectedFingerprint();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(session.changedOnDisk(file, false, expected), "");

    // Another program adds a record: the same size is no cover for other bytes.
    Project more = p;
    more.sheet.records[0].label = std::string(p.sheet.records[0].label.size(), 'x');
    ASSERT_TRUE(save(more, file).ok());
    const std::string now = session.changedOnDisk(file, false, expected);
    EXPECT_FALSE(now.empty());
    EXPECT_NE(now, expected);
    // Shown and saved over as shown: no longer a change; changed again, noticed again.
    EXPECT_EQ(session.changedOnDisk(file, false, now), "");
    std::ofstream(file, std::ios::app) << " ";
    EXPECT_NE(session.changedOnDisk(file, false, now), "");

    // Not noticed: a file the lock just made, another file, a project never saved, a file
    // that is gone (nothing there to lose).
    EXPECT_EQ(session.changedOnDisk(file, true, expected), "");
    EXPECT_EQ(session.changedOnDisk(dir / "其他.tvp", false, expected), "");
    EXPECT_EQ(session.changedOnDisk(file, false, ""), "");
    std::filesystem::remove(file);
    EXPECT_EQ(session.changedOnDisk(file, false, expected), "");
    EXPECT_EQ(fingerprint(file), "");

    // Saving takes the fingerprint of what was written.
    ASSERT_TRUE(save(p, file).ok());
    session.saved(workOf(p), file);
    EXPECT_EQ(session.expectedFingerprint(), expected);
}

TEST(ProjectSession, TheTitleAndTheFirstSavesName) {
    Session session;
    EXPECT_EQ(session.caption(), "Tervalen[*]");
    ScratchFolder dir;
    ASSERT_TRUE(save(sampleProject(), dir / "厂区 一期.tvp").ok());
    session.saved(workOf(sampleProject()), dir / "厂区 一期.tvp");
    EXPECT_EQ(session.caption(), "厂区 一期.tvp[*] - Tervalen");

    const struct {
        const char* project;
        const char* file;
    } cases[] = {
        {"某厂区防雷", "某厂区防雷.tvp"},
        {"  3# 厂房/A:B*?  ", "3# 厂房_A_B__.tvp"},
        {"a\\b\"c<d>e|f", "a_b_c_d_e_f.tvp"},
        {"", "工程.tvp"},
        {"   ", "工程.tvp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Session::suggestedFile(c.project, "/home/设计"),
                  std::filesystem::path("/home/设计") / c.file)
            << c.project;
}

}  // namespace
}  // namespace tervalen::project::testing
