#pragma once
// What a calculator form's window shows: the form's own column at the top left and, in
// the free area to its right, the panel with its working (a form without a calculation,
// the soil table, has none).

#include <QWidget>

#include "forms/form.h"

namespace tervalen::view {

class FormView;
class FormPanel;

class FormPage : public QWidget {
    Q_OBJECT
public:
    explicit FormPage(forms::Form& form, QWidget* parent = nullptr);

    FormView* formView() const { return m_view; }
    FormPanel* panel() const { return m_panel; }  // nullptr for a form without a calculation

protected:
    // Escape anywhere on the page closes the form, as it does on the form itself.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A form that comes with the record of a press (restored from a project, its press run
    // again) shows that press's working and drawing from the start.
    void showRestoredPress();

    FormView* m_view;
    FormPanel* m_panel = nullptr;
};

}  // namespace tervalen::view
