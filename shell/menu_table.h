#pragma once
// The menu tree of the main window, as data, in display order: the entries that open no
// form, and each form's entry where its definition places it.

#include <span>

namespace tervalen::shell {

struct MenuEntry {
    enum Kind { Submenu, Command, Separator, Recent };
    int level;            // 1 is the menu bar
    const char* name;     // object name of the entry
    const char* caption;  // "-" for a separator
    Kind kind;
    const char* form;                // the form a command opens, or nullptr
    const char* shortcut = nullptr;  // a key sequence ("Ctrl+D"); the original entries have none
};

std::span<const MenuEntry> menuTable();

}  // namespace tervalen::shell
