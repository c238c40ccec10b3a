#pragma once
#include <QMdiArea>
#include <utility>
#include <vector>

#include "shell/embedded_picture.h"

namespace tervalen::shell {

// Where windows go along one direction of a tiling of `total` pixels: (start, length) of
// each, in order, filling the whole length. Equal shares, except that no window gets less
// than its minimum: a window that needs more takes it and the others share what is left.
// When the minimums alone need more than there is, each window gets its minimum and they
// overlap, none passing the end.
std::vector<std::pair<int, int>> tileSpans(const std::vector<int>& minimums, int total);

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
