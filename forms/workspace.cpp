#include "forms/workspace.h"

#include "forms/catalog.h"

namespace tervalen::forms {

Workspace::Workspace() {
    for (const FormDef* def : allForms()) {
        auto form = std::make_unique<Form>(*def);
        m_order.push_back(form.get());
        m_forms.emplace(def->name, std::move(form));
    }
}

Form* Workspace::form(std::string_view name) {
    const auto it = m_forms.find(name);
    return it == m_forms.end() ? nullptr : it->second.get();
}

Form& Workspace::openWindow(std::string_view name) {
    Form& f = *m_forms.find(name)->second;
    const auto restored = m_restored.find(name);
    if (restored != m_restored.end())
        m_restored.erase(restored);
    else
        f.load();
    return f;
}

std::vector<FormSnapshot> Workspace::snapshot() const {
    std::vector<FormSnapshot> all;
    for (const Form* f : m_order) all.push_back(f->snapshot());
    return all;
}

std::vector<std::string> Workspace::restore(const std::vector<FormSnapshot>& snapshots) {
    std::vector<std::string> problems;
    for (const FormSnapshot& snap : snapshots) {
        Form* f = form(snap.form);
        if (!f) {
            problems.push_back("no form " + snap.form);
            continue;
        }
        for (std::string& p : f->restore(snap)) problems.push_back(std::move(p));
        f->replayLastPress(snap);  // the working and drawing of what it shows come back
        m_restored[snap.form] = true;
    }
    return problems;
}

}  // namespace tervalen::forms
