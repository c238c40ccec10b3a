#include "view/site_tables.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tervalen::view {
namespace {

const char* const kTabNames[] = {"建筑物", "接闪杆", "接闪带", "架空接闪线"};
const char* const kObjectNames[] = {"buildingTable", "rodTable", "conductorTable", "wireTable"};

}  // namespace

SiteTables::SiteTables(SiteModel* model, QWidget* parent)
    : QWidget(parent), m_model(model), m_tabs(new QTabWidget), m_problem(new QLabel) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const SiteKind kind : kSiteKinds) {
        const QStringList headers = fieldHeaders(kind);
        auto* t = new QTableWidget(0, int(headers.size()));
        t->setObjectName(QString::fromLatin1(kObjectNames[int(kind)]));
        t->setHorizontalHeaderLabels(headers);
        t->setSelectionBehavior(QAbstractItemView::SelectRows);
        t->setSelectionMode(QAbstractItemView::SingleSelection);
        t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        if (kind == SiteKind::Building)
            t->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
        t->horizontalHeader()->setStretchLastSection(kind != SiteKind::Building);
        connect(t, &QTableWidget::itemChanged, this,
                [this, kind](QTableWidgetItem* item) { edited(kind, item); });
        connect(t, &QTableWidget::itemSelectionChanged, this, [this, kind, t] {
            if (m_filling) return;
            const auto rows = t->selectionModel()->selectedRows();
            emit selectionChanged(rows.isEmpty()
                                      ? std::nullopt
                                      : std::optional<SiteRef>(SiteRef{kind, rows.front().row()}));
        });
        m_tables[std::size_t(kind)] = t;
        m_tabs->addTab(t, QString::fromUtf8(kTabNames[int(kind)]));
    }
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("添加"));
    add->setObjectName(QStringLiteral("addObject"));
    auto* remove = new QPushButton(QStringLiteral("删除"));
    remove->setObjectName(QStringLiteral("removeObject"));
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addLayout(buttons);
    m_problem->setObjectName(QStringLiteral("tableProblem"));
    m_problem->setStyleSheet(QStringLiteral("color: #c00000"));
    m_problem->setWordWrap(true);
    layout->addWidget(m_problem);

    connect(add, &QPushButton::clicked, this, [this] { addObject({0, 0}); });
    connect(remove, &QPushButton::clicked, this, [this] {
        const auto kind = SiteKind(m_tabs->currentIndex());
        const auto rows = table(kind)->selectionModel()->selectedRows();
        if (rows.isEmpty()) return;
        static const char* const what[] = {"删除建筑物", "删除接闪杆", "删除接闪带", "删除接闪线"};
        m_model->apply(without(m_model->site(), SiteRef{kind, rows.front().row()}),
                       QString::fromUtf8(what[int(kind)]));
    });
    connect(model, &SiteModel::changed, this, &SiteTables::refill);
    refill();
}

void SiteTables::refill() {
    m_filling = true;
    const sphere::Site& s = m_model->site();
    for (const SiteKind kind : kSiteKinds) {
        QTableWidget* t = table(kind);
        const QSignalBlocker block(t);
        const int rows = countOf(s, kind);
        t->setRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < t->columnCount(); ++c) {
                const QString text = fieldText(s, SiteRef{kind, r}, c);
                if (QTableWidgetItem* item = t->item(r, c)) {
                    if (item->text() != text) item->setText(text);
                } else {
                    t->setItem(r, c, new QTableWidgetItem(text));
                }
            }
    }
    m_filling = false;
}

void SiteTables::edited(SiteKind kind, QTableWidgetItem* item) {
    if (m_filling) return;
    const SiteRef ref{kind, item->row()};
    const FieldEdit edit = withField(m_model->site(), ref, item->column(), item->text());
    QString why = edit.problem;
    if (why.isEmpty()) {
        const QString header = fieldHeaders(kind).at(item->column());
        why = m_model->apply(
            edit.site,
            QStringLiteral("修改%1的%2").arg(QString::fromUtf8(kTabNames[int(kind)]), header));
    }
    m_problem->setText(why);
    // Refused: the field shows the site's value again.
    if (!why.isEmpty()) refill();
}

void SiteTables::select(std::optional<SiteRef> ref) {
    m_filling = true;
    for (const SiteKind kind : kSiteKinds) {
        QTableWidget* t = table(kind);
        if (ref && ref->kind == kind && ref->index < t->rowCount()) {
            t->selectRow(ref->index);
            m_tabs->setCurrentWidget(t);
        } else {
            t->clearSelection();
        }
    }
    m_filling = false;
}

void SiteTables::addObject(sphere::Point2 c) {
    const auto kind = SiteKind(m_tabs->currentIndex());
    sphere::Site s = m_model->site();
    QString what;
    switch (kind) {
        case SiteKind::Building:
            s.buildings.push_back(
                {QStringLiteral("建筑 %1").arg(s.buildings.size() + 1).toStdString(),
                 {{c.x, c.y}, {c.x + 20, c.y}, {c.x + 20, c.y + 10}, {c.x, c.y + 10}},
                 0,
                 10});
            what = QStringLiteral("添加建筑物");
            break;
        case SiteKind::Rod:
            s.rods.push_back({c.x, c.y, 0, 10});
            what = QStringLiteral("添加接闪杆");
            break;
        case SiteKind::Conductor:
            s.conductors.push_back({{c.x, c.y, 10}, {c.x + 10, c.y, 10}});
            what = QStringLiteral("添加接闪带");
            break;
        case SiteKind::Wire:
            s.wires.push_back({{c.x, c.y, 15}, {c.x + 30, c.y, 15}, std::nullopt});
            what = QStringLiteral("添加架空接闪线");
            break;
    }
    m_problem->setText(m_model->apply(s, what));
    const int row = countOf(m_model->site(), kind) - 1;
    table(kind)->selectRow(row);
    table(kind)->scrollToBottom();
}

}  // namespace tervalen::view
