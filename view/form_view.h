#pragma once
// Shows any calculator form from its definition: frames, labels, input boxes, result
// boxes, option buttons, drawn lines, pictures and buttons at fixed positions in the
// top-left corner (nothing stretches). User actions go to the toolkit-free form; after
// each handler the widgets are brought in line with the form's state.

#include <QHash>
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

signals:
    // A handler asked the form to close ("关 闭", Escape).
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    int buildFrame(const forms::Frame& frame, int top);
    void buildButtons(int top);
    QWidget* makeControl(const forms::Control& c, QWidget* parent);
    void press(const std::string& button);
    void afterHandler();
    void sync();

    forms::Form& m_form;
    QHash<QString, QWidget*> m_widgets;
    QHash<QString, InputBox*> m_inputs;
    std::vector<QWidget*> m_pictures;
    QSize m_contentSize;
};

}  // namespace tervalen::view
