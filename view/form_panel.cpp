#include "view/form_panel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "view/working_html.h"

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
        m_working->setHtml(workingHtml(*record));
    } else if (!shown.empty()) {
        // A refusal or a failed step: nothing but the message.
        m_working->setHtml(messageHtml(shown.back().text));
    } else {
        m_working->clear();
    }
    m_addToSheet->setEnabled(m_form.lastPress().has_value());
}

void FormPanel::clear() {
    m_working->clear();
    m_addToSheet->setEnabled(false);
}

}  // namespace tervalen::view
