#pragma once
#include <QMdiArea>

#include "shell/embedded_picture.h"

namespace tervalen::shell {

// The main window's client area: the background picture drawn unscaled at the top-left
// corner behind the child windows, and the two tilings QMdiArea lacks.
class MdiArea : public QMdiArea {
    Q_OBJECT
public:
    explicit MdiArea(QWidget* parent = nullptr);

    void cascade();
    void tileHorizontally();  // stacked one above the other
    void tileVertically();    // side by side

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QMdiSubWindow*> arrangeable() const;
    EmbeddedPicture m_background;
};

}  // namespace tervalen::shell
