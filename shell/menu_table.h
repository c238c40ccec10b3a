#pragma once
// The menu tree of the main window, as data, in display order: the entries that open no
// form, and each form's entry where its definition places it.

#include <span>

namespace tervalen::shell {

// What an entry that opens no form does; the main window connects each to its handler
// (and the compiler holds it to handling every one).
enum class MenuCommand {
    None,  // a form's entry, a submenu, a separator
    NewProject,
    OpenProject,
    SaveProject,
    SaveProjectAs,
    AddToSheet,
    UpdateRecord,
    Sheet,
    Exit,
    About,
    Cascade,
    TileHorizontally,
    TileVertically,
    SiteCheck,
};

struct MenuEntry {
    enum Kind { Submenu, Command, Separator, Recent };
    int level;            // 1 is the menu bar
    const char* name;     // object name of the entry
    const char* caption;  // "-" for a separator
    Kind kind;
    const char* form;                // the form a command opens, or nullptr
    const char* shortcut = nullptr;  // a key sequence ("Ctrl+D"); the original entries have none
    MenuCommand command = MenuCommand::None;
};

std::span<const MenuEntry> menuTable();

}  // namespace tervalen::shell
