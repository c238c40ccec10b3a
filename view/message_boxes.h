#pragma once
// The program's message boxes. A QMessageBox blocks in a nested event loop, so the
// boxes are shown through a presenter that tests can replace.

#include <QMessageBox>
#include <functional>
#include <memory>

#include "forms/form.h"

namespace tervalen::view {

// A calculator message: title "Tervalen", OK only, the critical icon or none.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const forms::Message& message);
// A box whose text is shown exactly as given (never read as HTML: the text may quote a
// file's names and labels). Returns the button pressed.
QMessageBox::StandardButton plainMessage(
    QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
// A tool tip that shows the text exactly as given, line breaks kept (a tool tip that
// looks like HTML would otherwise be read as HTML).
QString plainToolTip(const QString& text);
// The exit confirmation: title "退出程序", question icon, OK and Cancel.
std::unique_ptr<QMessageBox> makeExitConfirmation(QWidget* parent);

using MessagePresenter = std::function<void(QWidget* parent, const forms::Message&)>;
using QuestionPresenter = std::function<bool(QWidget* parent)>;  // true for OK

// Shows a message (modal by default).
void present(QWidget* parent, const forms::Message& message);
// A fault of the program inside a handler: logs the detail and shows one "内部错误" box
// (critical icon) through the message presenter.
void presentInternalError(QWidget* parent, const std::string& detail);
// Asks the exit question; true when the user answers OK.
bool confirmExit(QWidget* parent);

// Replace the presenters (tests); an empty function restores the real modal boxes.
void setMessagePresenter(MessagePresenter presenter);
void setQuestionPresenter(QuestionPresenter presenter);

}  // namespace tervalen::view
