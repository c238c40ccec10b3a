#include "shell/menu_table.h"

#include <string_view>
#include <vector>

#include "forms/catalog.h"

namespace tervalen::shell {

namespace {

using E = MenuEntry;
using C = MenuCommand;

// The entries that open no form, in display order; each top menu of forms is followed by
// the entries of its forms (see formEntries).
// clang-format off
constexpr MenuEntry kFixed[] = {
    {1, "mnuFile", "文件", E::Submenu, nullptr},
    {2, "mnuNewProject", "新建工程", E::Command, nullptr, "Ctrl+N", C::NewProject},
    {2, "mnuOpenProject", "打开工程…", E::Command, nullptr, "Ctrl+O", C::OpenProject},
    {2, "mnuSaveProject", "保存工程", E::Command, nullptr, "Ctrl+S", C::SaveProject},
    {2, "mnuSaveProjectAs", "工程另存为…", E::Command, nullptr, "Ctrl+Shift+S", C::SaveProjectAs},
    // Filled from the settings each time it opens (see MDIFangLei).
    {2, "mnuRecentProjects", "最近打开的工程", E::Submenu, nullptr},
    {2, "mnuFile_DivideProject", "-", E::Separator, nullptr},
    {2, "mnuAddToSheet", "加入计算书", E::Command, nullptr, "Ctrl+D", C::AddToSheet},
    {2, "mnuUpdateRecord", "更新此记录", E::Command, nullptr, "Ctrl+U", C::UpdateRecord},
    {2, "mnuSheet", "计算书…", E::Command, nullptr, "Ctrl+B", C::Sheet},
    {2, "mnuFile_Divide", "-", E::Separator, nullptr},
    {2, "mnuExit", "退出", E::Command, nullptr, nullptr, C::Exit},
    {1, "mnuRx", "保护范围计算", E::Submenu, nullptr},
    {1, "mnuH", "针高计算", E::Submenu, nullptr},
    {1, "mnuDZ", "人工接地电阻计算", E::Submenu, nullptr},
    {1, "mnuQT", "其它", E::Submenu, nullptr},
    {1, "mnuCK", "窗口", E::Submenu, nullptr},
    {2, "mnuCK_About", "关于...", E::Command, nullptr, nullptr, C::About},
    {2, "mnuCK_Divide", "-", E::Separator, nullptr},
    {2, "mnuCD", "层叠排列窗体", E::Command, nullptr, nullptr, C::Cascade},
    {2, "mnuSP", "水平平铺窗体", E::Command, nullptr, nullptr, C::TileHorizontally},
    {2, "mnuCZ", "垂直平铺窗体", E::Command, nullptr, nullptr, C::TileVertically},
    {2, "mnuCK_Divide4", "-", E::Separator, nullptr},
    {2, "mnuYX", "已运行程序", E::Submenu, nullptr},
    {3, "mnuCK_Divide2", "-", E::Separator, nullptr},
    {3, "Recent", "", E::Recent, nullptr},
    {3, "mnuCK_Divide3", "-", E::Separator, nullptr},
};
// clang-format on

// The entries of the forms whose definitions place them in `menu`, in the catalog's order:
// a separator a form asks for before it, the submenu the first form of it opens, the form.
void formEntries(std::string_view menu, std::vector<MenuEntry>& out) {
    std::string_view submenu;
    for (const forms::FormDef* def : forms::allForms()) {
        const forms::MenuPlace& place = def->menu;
        if (place.menu != menu) continue;
        if (!place.separatorBefore.empty())
            out.push_back({2, place.separatorBefore.c_str(), "-", E::Separator, nullptr});
        if (!place.submenu.empty() && place.submenu != submenu)
            out.push_back(
                {2, place.submenu.c_str(), place.submenuCaption.c_str(), E::Submenu, nullptr});
        submenu = place.submenu;
        out.push_back({place.submenu.empty() ? 2 : 3, place.name.c_str(), place.caption.c_str(),
                       E::Command, def->name.c_str()});
    }
}

}  // namespace

std::span<const MenuEntry> menuTable() {
    static const std::vector<MenuEntry> table = [] {
        std::vector<MenuEntry> t;
        for (const MenuEntry& e : kFixed) {
            t.push_back(e);
            if (e.level == 1) formEntries(e.name, t);
            // After the forms of 保护范围计算: the check of a whole site.
            if (std::string_view(e.name) == "mnuRx") {
                t.push_back({2, "mnuRx_DivideSite", "-", E::Separator, nullptr});
                t.push_back({2, "mnuSiteCheck", "屋面/总平面防雷校核…", E::Command, nullptr, nullptr,
                         C::SiteCheck});
            }
        }
        return t;
    }();
    return table;
}

}  // namespace tervalen::shell
