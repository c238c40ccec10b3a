#pragma once
// An input box: an editable combo box when it has suggested values, otherwise a bare
// one-line text field. Every typed character goes through the form's key filter
// first; committed input-method text is filtered character by character.

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <functional>
#include <string>

#include "forms/form.h"

namespace tervalen::view {

class InputBox : public QObject {
    Q_OBJECT
public:
    InputBox(forms::Form& form, const forms::Control& control, QWidget* parent);

    QWidget* widget() const;
    QLineEdit* lineEdit() const;
    QString text() const;
    // Shows the model's text without reporting it back as an edit.
    void showText(const QString& text);

signals:
    // The user changed the text (typed, pasted, picked): the model has it already.
    void edited();
    // A list entry was chosen; the form's pick handler has run.
    void picked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKey(QKeyEvent* event);
    bool filterInputMethod(QInputMethodEvent* event);

    forms::Form& m_form;
    std::string m_name;
    QComboBox* m_combo = nullptr;
    QLineEdit* m_edit = nullptr;
    bool m_showing = false;
};

}  // namespace tervalen::view
