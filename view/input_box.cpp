#include "view/input_box.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace tervalen::view {

InputBox::InputBox(forms::Form& form, const forms::Control& control, QWidget* parent)
    : QObject(parent), m_form(form), m_name(control.name) {
    if (!control.list.empty()) {
        m_combo = new QComboBox(parent);
        m_combo->setEditable(true);
        // Enter must not append the text to the list.
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& entry : control.list)
            m_combo->addItem(QString::fromStdString(entry));
        // The box holds exactly what was typed: no inline or popup completion.
        m_combo->setCompleter(nullptr);
        m_edit = m_combo->lineEdit();
        // Only a choice from the open list (or the arrow keys on the box) is a pick: the
        // combo box would also report a pick when the box, holding a typed text that
        // equals an entry, merely loses the focus.
        QObject::disconnect(m_edit, SIGNAL(editingFinished()), m_combo, SLOT(_q_editingFinished()));
        // Keys typed into an editable combo box are delivered to the combo box itself.
        m_combo->installEventFilter(this);
        connect(m_combo, &QComboBox::activated, this, [this](int index) {
            const QString entry = m_combo->itemText(index);
            m_showing = true;
            m_combo->setEditText(entry);
            m_showing = false;
            m_form.pick(m_name, entry.toStdString());
            emit picked();
        });
    } else {
        m_edit = new QLineEdit(parent);
    }
    m_edit->setObjectName(QString::fromStdString(control.name));
    widget()->setObjectName(QString::fromStdString(control.name));
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (m_showing) return;
        m_form.setText(m_name, t.toStdString());
        emit edited();
    });
    showText(QString::fromStdString(control.text));
}

QWidget* InputBox::widget() const {
    return m_combo ? static_cast<QWidget*>(m_combo) : m_edit;
}
QLineEdit* InputBox::lineEdit() const {
    return m_edit;
}
QString InputBox::text() const {
    return m_edit->text();
}

void InputBox::showText(const QString& text) {
    if (m_edit->text() == text) return;
    m_showing = true;
    if (m_combo)
        m_combo->setEditText(text);
    else
        m_edit->setText(text);
    m_showing = false;
}

bool InputBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // The combo box forwards its keys to the line edit directly, so each key
        // event is seen once: on the combo box, or on a bare line edit.
        if (m_combo && watched != m_combo) return false;
        return filterKey(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::InputMethod)
        return filterInputMethod(static_cast<QInputMethodEvent*>(event));
    return QObject::eventFilter(watched, event);
}

namespace {

// Keys that move the focus or edit the text: they carry a character on some keyboards
// (Tab "\t", Delete 0x7F under X11) but are never typed characters.
bool isEditingKey(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
        case Qt::Key_Insert:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Clear:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool InputBox::filterKey(QKeyEvent* event) {
    if (isEditingKey(event->key())) return false;
    char32_t code = 0;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            code = 13;
            break;
        case Qt::Key_Escape:
            code = 27;
            break;
        case Qt::Key_Backspace:
            code = 8;
            break;
        default: {
            // Keys without a character (function keys, modifiers) do not reach the filter.
            const QString text = event->text();
            if (text.isEmpty()) return false;
            code = text.toUcs4().value(0);
            if (code == 0) return false;
        }
    }
    const bool accepted = m_form.acceptKey(m_name, code);
    if (code == 13 || code == 27) {
        // Enter reaches the box (and its filter) only on a form without a default
        // button; it never edits the text. Escape is the form's.
        if (accepted) return true;
        emit edited();
        return true;
    }
    if (!accepted) {
        emit edited();  // the refusal may have been shown; let the view resync
        return true;
    }
    return false;
}

bool InputBox::filterInputMethod(QInputMethodEvent* event) {
    const QString& commit = event->commitString();
    if (commit.isEmpty()) return false;
    QString kept;
    for (char32_t code : commit.toUcs4())
        if (m_form.acceptKey(m_name, code)) kept += QString::fromUcs4(&code, 1);
    if (kept == commit) return false;
    // Pass on only the characters the filter took.
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    m_showing = false;
    QCoreApplication::sendEvent(m_edit, &filtered);
    return true;
}

}  // namespace tervalen::view
