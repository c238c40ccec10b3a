#include "view/form_view.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <algorithm>

#include "view/input_box.h"
#include "view/message_boxes.h"
#include "view/pictures.h"
#include "view/result_selection.h"
#include "view/ui_font.h"

namespace tervalen::view {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kMargin = 8;        // left and top margin of the form
constexpr int kFrameWidth = 409;  // every frame
constexpr int kInnerLeft = 12;    // controls' left edge inside a frame
constexpr int kInnerRight = kFrameWidth - 10;
constexpr int kTitleHeight = 28;  // a frame's caption band
constexpr int kRowGap = 6;
constexpr int kBoxHeight = 20;
constexpr int kInputWidth = 90;
constexpr int kResultWidth = 120;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The straight lines of a frame, drawn 2 pixels wide.
class LineLayer : public QWidget {
public:
    LineLayer(std::vector<QLine> lines, QWidget* parent)
        : QWidget(parent), m_lines(std::move(lines)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::WindowText), 2));
        for (const QLine& l : m_lines) p.drawLine(l);
    }

private:
    std::vector<QLine> m_lines;
};

// A result box: one line of text on white, starting at the box's left edge.
QLabel* makeResultBox(QWidget* parent) {
    auto* box = new QLabel(parent);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    box->setPalette(p);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // What a result box shows may come from a project file: never read as HTML.
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    selectWholeNumberOnDoubleClick(box);
    return box;
}

// A label's text. A paragraph gets some leading between its lines, keeps its indent, and
// ends a line where a run of blanks follows a word: its blanks are there to push what
// follows to the next line.
void showLabelText(QLabel* label, const Control& c, const std::string& text) {
    if (!c.wrap) {
        label->setText(q(text));
        return;
    }
    static const QRegularExpression pushToNextLine(QStringLiteral("(?<=\\S) {2,}(?=\\S)"));
    QString html = q(text).toHtmlEscaped();
    html.replace(pushToNextLine, QStringLiteral("<br>"));
    label->setText(
        QStringLiteral("<div style=\"line-height:125%; white-space:pre-wrap; margin:0\">%1</div>")
            .arg(html));
}

int textWidth(const QWidget* w, const std::string& text) {
    return w->fontMetrics().horizontalAdvance(q(text)) + 4;
}

}  // namespace

FormView::FormView(forms::Form& form, QWidget* parent) : QWidget(parent), m_form(form) {
    setFont(formFont());
    // The form object outlives its windows: a window closed but not yet deleted must
    // neither receive the messages of its successor nor be called once gone.
    m_form.setSink([self = QPointer<FormView>(this)](const forms::Message& m) {
        if (self) self->showNow();
        present(self, m);
    });
    m_form.setPressObserver([self = QPointer<FormView>(this)](
                                std::string_view, const std::vector<forms::Message>& shown) {
        if (self) emit self->pressed(shown);
    });
    m_form.setInternalErrorSink([self = QPointer<FormView>(this)](const std::string& detail) {
        presentInternalError(self, detail);
    });
    build();
    sync();
    // Where the user put the focus: a click, Tab or a shortcut on the shown form. A form
    // being hidden passes the focus on among its controls as if by Tab; that is not the
    // user's place.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        auto* w = static_cast<QWidget*>(watched);
        switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::MouseFocusReason:
            case Qt::ShortcutFocusReason:
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
                if (isVisible()) m_lastFocus = w;
                break;
            default:
                break;
        }
        showFocusedButton(w);
    }
    return QWidget::eventFilter(watched, event);
}

FormView::~FormView() = default;

void FormView::build() {
    int top = kMargin;
    for (const forms::Frame& frame : m_form.def().frames) top = buildFrame(frame, top) + 6;
    buildButtons(top + 4);
}

int FormView::buildFrame(const forms::Frame& frame, int top) {
    // A frame without a caption is a plain area (the soil table's picture box), no border.
    QWidget* box =
        frame.caption.empty() ? new QWidget(this) : new QGroupBox(q(frame.caption), this);
    box->setObjectName(q(frame.name));
    m_widgets.insert(q(frame.name), box);

    // Input boxes line up in one column after the widest caption that precedes one,
    // leaving room for the box and a unit label; a caption too long for that column
    // keeps its box right beside it.
    constexpr int kRoomForBoxAndUnit = kInputWidth + 4 + 70;
    int inputColumn = kInnerLeft;
    for (const forms::Row& row : frame.rows)
        for (std::size_t i = 0; i + 1 < row.size(); ++i)
            if (row[i].kind == Kind::Label && row[i + 1].kind == Kind::Input) {
                const int column = kInnerLeft + textWidth(this, row[i].text) + 4;
                if (column + kRoomForBoxAndUnit <= kInnerRight)
                    inputColumn = std::max(inputColumn, column);
            }

    std::vector<QLine> lines;
    std::vector<std::vector<Placed>> rows;
    for (const forms::Row& row : frame.rows) {
        rows.emplace_back();
        for (const Control& c : row) {
            if (c.kind == Kind::Line)
                lines.emplace_back(c.x, c.y, c.x2, c.y2);
            else
                rows.back().push_back({&c, makeControl(c, box)});
        }
    }
    // A row too long for the frame narrows the frame's boxes of its kind (inputs or
    // results), all alike so that they still line up, just enough for it to fit.
    BoxWidths widths{kInputWidth, kResultWidth};
    BoxWidths narrowing{0, 0};
    for (auto& row : rows) {
        const RowFit fit = placeRow(row, widths, inputColumn, 0, false);
        if (fit.overflow <= 0 || fit.boxes == 0) continue;
        const int each = (fit.overflow + fit.boxes - 1) / fit.boxes;
        (fit.inputs ? narrowing.input : narrowing.result) =
            std::max(fit.inputs ? narrowing.input : narrowing.result, each);
    }
    widths.input -= narrowing.input;
    widths.result -= narrowing.result;

    int y = kTitleHeight;
    for (auto& row : rows) {
        const int rowHeight = placeRow(row, widths, inputColumn, y, true).height;
        if (rowHeight > 0) y += rowHeight + kRowGap;
    }
    if (!lines.empty()) {
        auto* layer = new LineLayer(std::move(lines), box);
        layer->setGeometry(0, 0, kFrameWidth, 2000);
        layer->lower();
    }
    const int height = frame.height > 0 ? frame.height : y + 4;
    box->setGeometry(kMargin, top, kFrameWidth, height);
    m_contentSize =
        m_contentSize.expandedTo(QSize(kMargin * 2 + kFrameWidth, top + height + kMargin));
    return top + height;
}

FormView::RowFit FormView::placeRow(std::vector<Placed>& row, BoxWidths widths, int inputColumn,
                                    int y, bool apply) {
    RowFit fit;
    int x = kInnerLeft;
    for (Placed& p : row) {
        const Control& c = *p.control;
        QWidget* w = p.widget;
        QSize size = w->sizeHint();
        switch (c.kind) {
            case Kind::Label:
                if (c.wrap || (row.size() == 1 && textWidth(this, c.text) > kInnerRight - x)) {
                    auto* l = static_cast<QLabel*>(w);
                    l->setWordWrap(true);
                    size = QSize(kInnerRight - x, l->heightForWidth(kInnerRight - x));
                } else {
                    size = QSize(textWidth(this, c.text), std::max(kBoxHeight, size.height()));
                }
                break;
            case Kind::Input:
                x = std::max(x, inputColumn);
                size = QSize(c.width ? c.width : widths.input, kBoxHeight + 2);
                if (!c.width) ++fit.boxes, fit.inputs = true;
                break;
            case Kind::Result:
                size = QSize(c.width ? c.width : widths.result, c.height ? c.height : kBoxHeight);
                if (!c.width) ++fit.boxes;
                break;
            case Kind::Button:
                size = QSize(c.width ? c.width : 81, 25);
                break;
            case Kind::Option:
                size = QSize(17, 17);
                break;
            case Kind::Picture:
                size = QSize(c.width, c.height);
                break;
            case Kind::Line:
                break;
        }
        if (c.x >= 0 && c.y >= 0) {  // positioned control: no part of the flow
            if (apply) w->setGeometry(c.x, c.y, size.width(), size.height());
            continue;
        }
        const int left = c.right ? kInnerRight - size.width() : x;
        // A control at the right end must not cover what the row has placed before it.
        fit.overflow =
            std::max(fit.overflow, c.right ? x - 4 - left : left + size.width() - kInnerRight);
        if (apply) w->setGeometry(left, y, size.width(), size.height());
        x = left + size.width() + 4;
        fit.height = std::max(fit.height, size.height());
    }
    return fit;
}

void FormView::buildButtons(int top) {
    const auto& buttons = m_form.def().buttons;
    if (buttons.empty()) return;
    const int width = buttons.size() > 2 ? 89 : 81;
    std::vector<QWidget*> widgets;
    widgets.reserve(buttons.size());
    for (const Control& c : buttons) widgets.push_back(makeControl(c, this));
    if (m_form.def().centredButtons) {
        const int total = static_cast<int>(widgets.size()) * (width + 16) - 16;
        int x = kMargin + (kFrameWidth - total) / 2;
        for (QWidget* w : widgets) {
            w->setGeometry(x, top, width, 25);
            x += width + 16;
        }
    } else {
        // Calculate buttons from the left, the close button at the right.
        int x = kMargin + 40;
        for (std::size_t i = 0; i < widgets.size(); ++i) {
            const bool isCancel = buttons[i].name == m_form.def().cancelButton;
            const int left = isCancel ? kMargin + kFrameWidth - 40 - width : x;
            widgets[i]->setGeometry(left, top, width, 25);
            if (!isCancel) x += width + 24;
        }
    }
    m_contentSize = m_contentSize.expandedTo(QSize(kMargin * 2 + kFrameWidth, top + 25 + kMargin));
}

QWidget* FormView::makeControl(const Control& c, QWidget* parent) {
    QWidget* w = nullptr;
    switch (c.kind) {
        case Kind::Label: {
            auto* l = new QLabel(parent);
            l->setTextFormat(c.wrap ? Qt::RichText : Qt::PlainText);
            showLabelText(l, c, c.text);
            l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (c.red) {
                QPalette p = l->palette();
                p.setColor(QPalette::WindowText, Qt::red);
                l->setPalette(p);
            }
            w = l;
            break;
        }
        case Kind::Input: {
            auto* box = new InputBox(m_form, c, parent);
            connect(box, &InputBox::edited, this, [this] { afterHandler(); });
            connect(box, &InputBox::picked, this, [this] { afterHandler(); });
            m_inputs.insert(q(c.name), box);
            w = box->widget();
            break;
        }
        case Kind::Result:
            w = makeResultBox(parent);
            break;
        case Kind::Button: {
            auto* b = new QPushButton(q(c.text), parent);
            // Shows which button Enter presses; the key itself is handled by the form.
            b->setDefault(c.name == m_form.def().defaultButton);
            b->setAutoDefault(false);
            const std::string name = c.name;
            connect(b, &QPushButton::clicked, this, [this, name] { press(name); });
            w = b;
            break;
        }
        case Kind::Option: {
            auto* o = new QRadioButton(parent);
            const std::string name = c.name;
            connect(o, &QRadioButton::clicked, this, [this, name] {
                m_form.select(name);
                sync();
            });
            w = o;
            break;
        }
        case Kind::Picture:
            w = createPicture(c.name, c.width, c.height, parent);
            m_pictures.push_back(w);
            break;
        case Kind::Line:
            break;
    }
    if (!c.name.empty()) {
        w->setObjectName(q(c.name));
        if (c.kind != Kind::Picture) m_widgets.insert(q(c.name), w);
    }
    return w;
}

void FormView::apply(const std::vector<forms::Action>& actions) {
    forms::applyAll(m_form, actions);
    afterHandler();
}

void FormView::apply(const forms::Settings& settings, const std::vector<forms::Action>& actions) {
    for (const auto& [name, value] : settings) m_form.setSetting(name, value);
    emit settingsChanged();
    apply(actions);
}

void FormView::choose(const std::string& setting, const std::string& value) {
    m_form.choose(setting, value);
    emit settingsChanged();
    afterHandler();
}

void FormView::press(const std::string& button) {
    m_form.press(button);
    afterHandler();
}

void FormView::afterHandler() {
    sync();
    const std::string focus = m_form.focusRequest();
    const bool close = m_form.closeRequested();
    m_form.clearRequests();
    if (!focus.empty())
        // As if reached by Tab, so that the style draws the focus.
        if (QWidget* w = widget(q(focus))) w->setFocus(Qt::TabFocusReason);
    if (close) emit closeRequested();
}

void FormView::showNow() {
    sync();
    repaint();
}

void FormView::takeFocus() {
    QWidget* target = m_lastFocus;
    if (!target || !target->isVisible() || !target->isEnabled()) {
        target = nullptr;
        for (const forms::Control* c : m_form.controls()) {
            if (c->kind != Kind::Input) continue;
            QWidget* w = widget(q(c->name));
            if (w && w->isVisible() && w->isEnabled()) {
                target = w;
                break;
            }
        }
    }
    if (target) target->setFocus(Qt::OtherFocusReason);
}

void FormView::showFocusedButton(QWidget* focused) {
    // Like a dialog's buttons: the focused button is the one Enter presses, and shows
    // it; with the focus elsewhere on the form, the form's default button does.
    auto* focusedButton = qobject_cast<QPushButton*>(focused);
    for (const Control* c : m_form.controls())
        if (auto* b = qobject_cast<QPushButton*>(widget(q(c->name))))
            b->setDefault(focusedButton ? b == focusedButton
                                        : c->name == m_form.def().defaultButton);
}

void FormView::sync() {
    for (QWidget* picture : m_pictures) picture->update();
    for (const Control* c : m_form.controls()) {
        QWidget* w = widget(q(c->name));
        if (!w) continue;
        const forms::ControlState& s = m_form.state(c->name);
        switch (c->kind) {
            case Kind::Input:
                m_inputs.value(q(c->name))->showText(q(s.text));
                break;
            case Kind::Label:
                showLabelText(static_cast<QLabel*>(w), *c, s.text);
                break;
            case Kind::Result:
                static_cast<QLabel*>(w)->setText(q(s.text));
                break;
            case Kind::Option:
                static_cast<QRadioButton*>(w)->setChecked(s.selected);
                break;
            default:
                break;
        }
        w->setVisible(s.visible);
        w->setEnabled(s.enabled);
    }
}

void FormView::keyPressEvent(QKeyEvent* event) {
    const auto& def = m_form.def();
    if (event->key() == Qt::Key_Escape && !def.cancelButton.empty()) {
        press(def.cancelButton);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // Enter on a button presses that button; elsewhere the default button.
        if (auto* b = qobject_cast<QPushButton*>(focusWidget())) {
            b->click();
            return;
        }
        if (!def.defaultButton.empty()) {
            press(def.defaultButton);
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tervalen::view
