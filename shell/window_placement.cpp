#include "shell/window_placement.h"

#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace tervalen::shell {
namespace {

const QString kKey = QStringLiteral("window/geometry");

}  // namespace

Placement firstPlacement(QSize wanted, const QRect& available, const QMargins& frame) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize size(std::max(1, std::min(wanted.width(), available.width() - frameWidth)),
                     std::max(1, std::min(wanted.height(), available.height() - frameHeight)));
    const int left = available.left() + (available.width() - size.width() - frameWidth) / 2;
    const int top = available.top() + (available.height() - size.height() - frameHeight) / 2;
    return {QPoint(std::max(available.left(), left), std::max(available.top(), top)), size};
}

void placeMainWindow(QWidget& window) {
    // Qt puts a remembered window back on a screen that shows it, the screen it was on
    // where there still is one, and within that screen's available area.
    if (const QByteArray saved = QSettings().value(kKey).toByteArray();
        !saved.isEmpty() && window.restoreGeometry(saved))
        return;
    const Placement first =
        firstPlacement(kFirstClientSize, window.screen()->availableGeometry(), kFrameAllowance);
    window.resize(first.clientSize);
    window.move(first.frameTopLeft);  // a window's position is its frame's
}

void rememberMainWindow(const QWidget& window) {
    QSettings().setValue(kKey, window.saveGeometry());
}

}  // namespace tervalen::shell
