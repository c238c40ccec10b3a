#include "view/form_panel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "drawing/from_record.h"
#include "sheet_qt/rich_text.h"
#include "view/drawing/drawing_view.h"

namespace tervalen::view {

FormPanel::FormPanel(const forms::Form& form, QWidget* parent)
    : QWidget(parent),
      m_form(form),
      m_tabs(new QTabWidget(this)),
      m_working(new QTextBrowser),
      m_addToSheet(new QPushButton(QStringLiteral("加入计算书"))) {
    setObjectName(QStringLiteral("FormPanel"));
    m_working->setObjectName(QStringLiteral("WorkingView"));
    m_working->setOpenLinks(false);
    m_tabs->addTab(m_working, QStringLiteral("计算过程"));
    if (drawing::hasDrawing(form.name())) {
        m_drawing = new DrawingView;
        m_drawing->setObjectName(QStringLiteral("DrawingView"));
        m_tabs->addTab(m_drawing, QStringLiteral("保护范围图"));
    }
    m_addToSheet->setObjectName(QStringLiteral("AddToSheet"));
    m_addToSheet->setToolTip(QStringLiteral("把这次计算连同其计算过程记入计算书"));
    m_addToSheet->setEnabled(false);
    m_addToSheet->setAutoDefault(false);
    m_addToSheet->setFocusPolicy(Qt::TabFocus);
    connect(m_addToSheet, &QPushButton::clicked, this, [this] {
        if (m_form.lastPress()) emit addToSheetRequested();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_addToSheet);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 8, 8);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
}

void FormPanel::showPress(const std::vector<forms::Message>& shown) {
    if (const auto& record = m_form.lastPress()) {
        m_working->setHtml(sheet_qt::workingHtml(record->working()));
    } else if (!shown.empty()) {
        // A refusal or a failed step: nothing but the message.
        m_working->setHtml(sheet_qt::refusalHtml(shown.back().text));
    } else {
        m_working->clear();
    }
    if (m_drawing) m_drawing->showPress(m_form.lastPress(), m_form.def().caption);
    m_addToSheet->setEnabled(m_form.lastPress().has_value());
}

void FormPanel::clear() {
    m_working->clear();
    if (m_drawing) m_drawing->showPress(std::nullopt, m_form.def().caption);
    m_addToSheet->setEnabled(false);
}

}  // namespace tervalen::view
