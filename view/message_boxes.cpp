#include "view/message_boxes.h"

#include <QTextDocument>
#include <QtGlobal>

namespace tervalen::view {
namespace {

MessagePresenter& messagePresenter() {
    static MessagePresenter p;
    return p;
}
QuestionPresenter& questionPresenter() {
    static QuestionPresenter p;
    return p;
}

}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const forms::Message& message) {
    const auto icon = message.icon == forms::Icon::Critical   ? QMessageBox::Critical
                      : message.icon == forms::Icon::Question ? QMessageBox::Question
                                                              : QMessageBox::NoIcon;
    auto box = std::make_unique<QMessageBox>(icon, QStringLiteral("Tervalen"),
                                             QString::fromStdString(message.text), QMessageBox::Ok,
                                             parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

QMessageBox::StandardButton plainMessage(QWidget* parent, QMessageBox::Icon icon,
                                         const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString plainToolTip(const QString& text) {
    // Rich text that says the plain text: escaped, each line a line of its own.
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

std::unique_ptr<QMessageBox> makeExitConfirmation(QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("退出程序"),
                                             QStringLiteral("是否退出该程序？"),
                                             QMessageBox::Ok | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

void present(QWidget* parent, const forms::Message& message) {
    if (messagePresenter()) return messagePresenter()(parent, message);
    makeMessageBox(parent, message)->exec();
}

void presentInternalError(QWidget* parent, const std::string& detail) {
    qCritical("Tervalen internal error: %s", detail.c_str());
    present(parent, forms::Message{"内部错误\n程序出现了意外的问题，此次操作已停止。",
                                   forms::Icon::Critical});
}

bool confirmExit(QWidget* parent) {
    if (questionPresenter()) return questionPresenter()(parent);
    return makeExitConfirmation(parent)->exec() == QMessageBox::Ok;
}

void setMessagePresenter(MessagePresenter presenter) {
    messagePresenter() = std::move(presenter);
}
void setQuestionPresenter(QuestionPresenter presenter) {
    questionPresenter() = std::move(presenter);
}

}  // namespace tervalen::view
