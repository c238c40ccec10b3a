#pragma once
// The object table of a 屋面/总平面防雷校核 window: a tab per kind (buildings, rods,
// conductors, wires), every field editable. A typed field is taken only when the site
// stays usable; otherwise the line that says why is shown under the table and the field
// goes back to what it was.

#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <array>
#include <optional>

#include "view/site_model.h"

namespace tervalen::view {

class SiteTables : public QWidget {
    Q_OBJECT
public:
    explicit SiteTables(SiteModel* model, QWidget* parent = nullptr);

    QTableWidget* table(SiteKind kind) const { return m_tables[std::size_t(kind)]; }
    QTabWidget* tabs() const { return m_tabs; }
    // The line of the last refused edit (empty when the last one was taken).
    QString problem() const { return m_problem->text(); }
    void select(std::optional<SiteRef> ref);
    // Adds an object of the kind shown, placed about `around`.
    void addObject(sphere::Point2 around);

signals:
    void selectionChanged(std::optional<tervalen::view::SiteRef> ref);

private:
    void refill();
    void edited(SiteKind kind, QTableWidgetItem* item);

    SiteModel* m_model;
    QTabWidget* m_tabs;
    std::array<QTableWidget*, 4> m_tables{};
    QLabel* m_problem;
    bool m_filling = false;
};

}  // namespace tervalen::view
