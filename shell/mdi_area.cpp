#include "shell/mdi_area.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>

namespace tervalen::shell {

MdiArea::MdiArea(QWidget* parent)
    : QMdiArea(parent),
      m_background(EmbeddedPicture::embedded(QStringLiteral(":/background.strips"))) {
    setBackground(QColor(12, 14, 34));
}

void MdiArea::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    QPainter p(viewport());
    m_background.paint(p, event->rect());
}

QList<QMdiSubWindow*> MdiArea::arrangeable() const {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized()) windows.append(w);
    return windows;
}

void MdiArea::cascade() {
    for (QMdiSubWindow* w : arrangeable()) w->showNormal();
    cascadeSubWindows();
}

void MdiArea::tileHorizontally() {
    const auto windows = arrangeable();
    if (windows.isEmpty()) return;
    const QRect area = viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
        windows[i]->showNormal();
        windows[i]->setGeometry(0, top, area.width(), bottom - top);
    }
}

void MdiArea::tileVertically() {
    const auto windows = arrangeable();
    if (windows.isEmpty()) return;
    const QRect area = viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
        windows[i]->showNormal();
        windows[i]->setGeometry(left, 0, right - left, area.height());
    }
}

}  // namespace tervalen::shell
