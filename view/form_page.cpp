#include "view/form_page.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "view/form_panel.h"
#include "view/form_view.h"

namespace tervalen::view {

FormPage::FormPage(forms::Form& form, QWidget* parent)
    : QWidget(parent), m_view(new FormView(form)) {
    setObjectName(QStringLiteral("FormPage"));
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_view);
    column->addStretch(1);
    m_view->setFixedSize(m_view->sizeHint());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(column);
    if (form.firstCalculateButton().empty()) {
        layout->addStretch(1);
        return;
    }
    m_panel = new FormPanel(form);
    m_panel->setMinimumWidth(260);
    layout->addWidget(m_panel, 1);
    connect(m_view, &FormView::pressed, m_panel, &FormPanel::showPress);
    connect(m_view, &FormView::settingsChanged, m_panel, &FormPanel::showSettings);
    connect(m_panel, &FormPanel::settingChosen, m_view, &FormView::choose);
    showRestoredPress();
}

void FormPage::showRestoredPress() {
    if (m_view->form().lastPress()) m_panel->showPress({});
}

}  // namespace tervalen::view

namespace tervalen::view {

void FormPage::keyPressEvent(QKeyEvent* event) {
    const std::string& cancel = m_view->form().def().cancelButton;
    if (event->key() == Qt::Key_Escape && !cancel.empty()) {
        m_view->press(cancel);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tervalen::view
