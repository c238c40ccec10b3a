#pragma once
// Shows any calculator form from its definition: frames, labels, input boxes, result
// boxes, option buttons, drawn lines, pictures and buttons at fixed positions in the
// top-left corner (nothing stretches). User actions go to the toolkit-free form; after
// each handler the widgets are brought in line with the form's state.

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "forms/form.h"

class QLabel;

namespace tervalen::view {

class InputBox;

class FormView : public QWidget {
    Q_OBJECT
public:
    explicit FormView(forms::Form& form, QWidget* parent = nullptr);
    ~FormView() override;

    forms::Form& form() const { return m_form; }
    // The widget of a named control (the combo box or line edit of an input box).
    QWidget* widget(const QString& name) const { return m_widgets.value(name); }
    // The size the controls need; the window never stretches them.
    QSize sizeHint() const override { return m_contentSize; }
    QSize minimumSizeHint() const override { return m_contentSize; }
    // Presses a button as a click does, and brings the widgets in line afterwards.
    void press(const std::string& button);
    // Does what the actions say (a record's inputs and presses), as a user would, and
    // brings the widgets in line afterwards; with settings, those are set first (a
    // record's settings, what reproduces its press).
    void apply(const std::vector<forms::Action>& actions);
    void apply(const forms::Settings& settings, const std::vector<forms::Action>& actions);
    // A setting chosen beside the form (forms::Form::choose): a form that shows results
    // computes them again under the choice.
    void choose(const std::string& setting, const std::string& value);
    // Gives the keyboard focus to the control that had it last, or else to the first
    // input box that can take it (what a form shows when it opens or comes back).
    void takeFocus();

signals:
    // A handler asked the form to close ("关 闭", Escape).
    void closeRequested();
    // A button was pressed (by click, Enter or a key the form handles) and its handler
    // has run, showing these messages.
    void pressed(const std::vector<forms::Message>& shown);
    // The form's settings were set (by choose or apply).
    void settingsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    struct Placed {
        const forms::Control* control;
        QWidget* widget;
    };
    struct BoxWidths {
        int input, result;
    };
    struct RowFit {
        int height = 0;
        int overflow = 0;  // pixels by which the row passes the frame's right margin
        int boxes = 0;     // input or result boxes of the default width
        bool inputs = false;
    };
    int buildFrame(const forms::Frame& frame, int top);
    // Places one row's controls from the left (and at the right end where asked) and says
    // how well the row fits; without `apply` nothing moves.
    RowFit placeRow(std::vector<Placed>& row, BoxWidths widths, int inputColumn, int y, bool apply);
    void buildButtons(int top);
    QWidget* makeControl(const forms::Control& c, QWidget* parent);
    void afterHandler();
    void sync();
    // Brings the widgets in line with the form and paints them at once: what a message
    // box opened next must not stand beside results the handler has already cleared.
    void showNow();
    void showFocusedButton(QWidget* focused);

    forms::Form& m_form;
    QHash<QString, QWidget*> m_widgets;
    QHash<QString, InputBox*> m_inputs;
    std::vector<QWidget*> m_pictures;
    QSize m_contentSize;
    QPointer<QWidget> m_lastFocus;
};

}  // namespace tervalen::view
