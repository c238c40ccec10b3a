#pragma once
// The panel beside a calculator form, in the free area right of its column: after every
// press it shows the working of a successful calculation ("计算过程"), the message of a
// refused or failed one, or nothing after a blank stop; further tabs (the protection-range
// drawing) are added by their owners. "加入计算书" records the successful calculation.

#include <QString>
#include <QWidget>

#include "forms/form.h"

class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace tervalen::view {

class DrawingView;

class FormPanel : public QWidget {
    Q_OBJECT
public:
    explicit FormPanel(const forms::Form& form, QWidget* parent = nullptr);

    // Brings the panel in line with the form after a press that showed these messages.
    void showPress(const std::vector<forms::Message>& shown);
    // Empties the panel (a fresh or cleared form).
    void clear();

    QTabWidget* tabs() const { return m_tabs; }
    QTextBrowser* working() const { return m_working; }
    // The "保护范围图" tab of a range or height form, else nullptr.
    DrawingView* drawing() const { return m_drawing; }
    QPushButton* addToSheetButton() const { return m_addToSheet; }

signals:
    // "加入计算书" pressed while the form has a successful calculation.
    void addToSheetRequested();

private:
    const forms::Form& m_form;
    QTabWidget* m_tabs;
    QTextBrowser* m_working;
    DrawingView* m_drawing = nullptr;
    QPushButton* m_addToSheet;
};

}  // namespace tervalen::view
