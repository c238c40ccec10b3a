#pragma once
// The forms of a session: one Form object per form of the catalog, each living from the
// start of the session to its end, whatever windows come and go. The Form keeps what
// its controls show, the values it keeps outside them and the record of its last press;
// the shell keeps only windows, the project files save and restore through here.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"

namespace tervalen::forms {

class Workspace {
public:
    Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The form of that name, or nullptr for a name the catalog does not know.
    Form* form(std::string_view name);
    // Every form, in menu order.
    const std::vector<Form*>& forms() const { return m_order; }

    // A new window is about to show the form. The rule: a new window runs Form_Load
    // (defaults, empty results; kept values survive), except the first window after a
    // restore, which shows what was restored. A window brought forward is no new window.
    Form& openWindow(std::string_view name);

    // Every form's snapshot, and the way back: a form restored runs the last press its
    // snapshot keeps again (Form::replayLastPress). A snapshot naming a form the catalog
    // does not know is reported, one line, like the forms' own unknown names.
    std::vector<FormSnapshot> snapshot() const;
    std::vector<std::string> restore(const std::vector<FormSnapshot>& snapshots);

private:
    std::map<std::string, std::unique_ptr<Form>, std::less<>> m_forms;
    std::vector<Form*> m_order;
    std::map<std::string, bool, std::less<>> m_restored;  // restored, not yet shown
};

}  // namespace tervalen::forms
