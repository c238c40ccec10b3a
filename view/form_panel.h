#pragma once
// The panel beside a calculator form, in the free area right of its column: after every
// press it shows the working of a successful calculation ("计算过程"), the message of a
// refused or failed one, or nothing after a blank stop; further tabs (the protection-range
// drawing) are added by their owners. "加入计算书" records the successful calculation;
// "更新此记录", shown on a form opened again from a record, puts it in that record's place.
// Above the tabs, a form's settings (FormDef::settings) are chosen from a list each; on
// such a form the working is followed by the sheet's 计算依据 and 结论.

#include <QString>
#include <QWidget>
#include <string>

#include "forms/form.h"
#include "forms/workspace.h"

class QComboBox;
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
    QPushButton* updateRecordButton() const { return m_updateRecord; }
    // Shows "更新此记录" (the form was opened again from a record of the sheet) or hides it.
    void offerUpdate(bool offered);
    // The list of a setting ("edition"), or nullptr.
    QComboBox* settingBox(const std::string& setting) const;
    // Shows the form's settings as they stand.
    void showSettings();

signals:
    // "加入计算书" pressed while the form has a successful calculation.
    void addToSheetRequested();
    // "更新此记录" pressed while the form has a successful calculation.
    void updateRecordRequested();
    // The user chose a setting's value (a remembered one is already remembered).
    void settingChosen(const std::string& setting, const std::string& value);

private:
    const forms::Form& m_form;
    std::vector<std::pair<std::string, QComboBox*>> m_settings;
    QTabWidget* m_tabs;
    QTextBrowser* m_working;
    DrawingView* m_drawing = nullptr;
    QPushButton* m_addToSheet;
    QPushButton* m_updateRecord;
};

// Sets the form's remembered settings (forms::Setting::remembered) to the values chosen
// last, in an earlier run or this one; a value the form no longer offers is left alone.
void recallSettings(forms::Form& form);
// The same for every form of the workspace.
void recallSettings(forms::Workspace& workspace);

}  // namespace tervalen::view
