#pragma once
// A project as a user builds one: records from each family of forms (a two-button
// earthing form whose impulse press converts the resistance its power-frequency press
// kept, a list pick, an option button, requirements, a label of the user's own) and
// three open forms, one of them keeping a value from a press.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/workspace.h"
#include "project/project.h"
#include "sheet/verdict.h"

namespace tervalen::project::testing {

using forms::Action;

// The record of the actions' last press on a fresh form; fails the test when there is none.
inline sheet::SheetRecord recordOf(const std::string& form, std::vector<Action> actions,
                                   std::string label = {}) {
    auto r = sheet::replay(*forms::findForm(form), actions, std::move(label));
    EXPECT_TRUE(r) << form;
    return r ? *r : sheet::SheetRecord{};
}

inline void require(sheet::SheetRecord& r, const std::string& text) {
    r.requirement = sheet::readRequirement(r, text).value();
}

inline Project sampleProject() {
    Project p;
    sheet::SheetHeader& h = p.sheet.header;
    h.project = "某厂区防雷";
    h.subitem = "3# 厂房";
    h.designer = "某设计院";
    h.calculator = "张工";
    h.checker = "李工";
    h.reviewer = "王工";
    h.date = "2024-05-17";
    h.number = "JS-2024-017";
    h.revision = "B";
    h.approver = "赵工";
    h.checkerDate = "2024-05-18";
    h.recordPerPage = true;
    auto rod = recordOf("frmRx_DLDanZ", {Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                                         Action::press("CmdRun")});
    require(rod, "10");
    p.sheet.add(rod);
    p.sheet.add(recordOf("frmRx_JSDanZ",
                         {Action::pick("CmbYesNo", "是"), Action::set("CmbH", "40"),
                          Action::set("CmbHx", "15"), Action::press("CmdRun")},
                         "屋面 东侧 避雷针"));
    p.sheet.add(recordOf("frmH_DLDanZ", {Action::set("CmbRxo", "10"), Action::set("CmbHx", "5"),
                                         Action::press("CmdRun")}));
    auto impulse =
        recordOf("frmDZ_ChuiZhi",
                 {Action::set("CmbGg", "0.05"), Action::set("Cmbρ", "300"),
                  Action::set("CmbL1", "2.5"), Action::set("CmbN", "4"), Action::press("CmdRun_GP"),
                  Action::set("CmbL2", "10"), Action::press("CmdRun_CJ")});
    require(impulse, "30");
    p.sheet.add(impulse);
    p.sheet.add(recordOf(
        "frmDZ_ShuiPing",
        {Action::set("CmbGg", "0.04"), Action::set("Cmbρ", "200"), Action::set("CmbL1", "20"),
         Action::set("CmbH", "0.8"), Action::select("OptA4"), Action::press("CmdRun_GP")}));
    p.sheet.add(recordOf("frmLJCS", {Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                                     Action::set("CmbW", "20"), Action::set("CmbH", "30"),
                                     Action::press("CmdRun")}));

    // Open forms: one typed into and never pressed, one whose power-frequency press kept
    // its resistance (typed key by key), one with an option chosen.
    forms::Workspace ws;
    forms::Form& rx = ws.openWindow("frmRx_DLDanZ");
    rx.setText("CmbH", "25.50");
    rx.setText("CmbHx", " 7");
    forms::Form& dz = ws.openWindow("frmDZ_ChuiZhi");
    dz.setSink([](const forms::Message&) {});
    forms::applyAll(dz, std::vector{Action::type("CmbGg", "0.05"), Action::type("Cmbρ", "123.4"),
                                    Action::set("CmbL1", "2.5"), Action::set("CmbN", "3"),
                                    Action::press("CmdRun_GP")});
    forms::Form& sp = ws.openWindow("frmDZ_ShuiPing");
    sp.select("OptA4");
    p.openForms = {rx.snapshot(), sp.snapshot(), dz.snapshot()};
    return p;
}

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "tervalen-project-" + std::string(test->test_suite_name()) + "-" +
                           test->name() + "-" + std::to_string(std::random_device{}());
        std::replace(name.begin(), name.end(), '/', '_');
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    // The names in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace tervalen::project::testing
