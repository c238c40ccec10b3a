#include "shell/mdi_area.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace tervalen::shell {

std::vector<std::pair<int, int>> tileSpans(const std::vector<int>& minimums, int total) {
    const std::size_t n = minimums.size();
    std::vector<bool> fixed(n, false);  // takes its minimum, more than a share
    int left = total;                   // what the windows not fixed share
    std::size_t sharing = n;
    for (bool changed = true; changed && sharing > 0;) {
        changed = false;
        for (std::size_t i = 0; i < n; ++i)
            if (!fixed[i] &&
                static_cast<long long>(minimums[i]) * static_cast<long long>(sharing) > left) {
                fixed[i] = true;
                left -= minimums[i];
                --sharing;
                changed = true;
            }
    }
    std::vector<int> lengths;
    std::size_t k = 0;  // among the sharing windows
    const long long room = std::max(left, 0);
    const auto share = static_cast<long long>(std::max<std::size_t>(sharing, 1));
    for (std::size_t i = 0; i < n; ++i) {
        int length = minimums[i];
        if (!fixed[i]) {
            length =
                std::max(length, static_cast<int>(room * static_cast<long long>(k + 1) / share -
                                                  room * static_cast<long long>(k) / share));
            ++k;
        }
        lengths.push_back(length);
    }
    // Out of room, the starts close up evenly, the last window ending at the end.
    long long sum = 0;
    for (const int l : lengths) sum += l;
    const long long last = lengths.empty() ? 0 : lengths.back();
    std::vector<std::pair<int, int>> spans;
    long long start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        long long at = start;
        if (sum > total && sum > last) at = start * (total - last) / (sum - last);
        at = std::max(0LL, std::min(at, static_cast<long long>(total) - lengths[i]));
        spans.emplace_back(static_cast<int>(at), lengths[i]);
        start += lengths[i];
    }
    return spans;
}

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

namespace {

QSize minimumOf(const QMdiSubWindow* w) {
    return w->minimumSizeHint().expandedTo(w->minimumSize());
}

}  // namespace

void MdiArea::cascade() {
    for (QMdiSubWindow* w : arrangeable()) w->showNormal();
    cascadeSubWindows();
    // Qt's cascade gives each window its preferred size: one that would pass the area's
    // edge is made smaller, down to its minimum, and then moved back in.
    const QRect area = viewport()->rect();
    for (QMdiSubWindow* w : arrangeable()) {
        QRect g = w->geometry();
        const QSize least = minimumOf(w);
        g.setWidth(std::max(std::min(g.width(), area.right() + 1 - g.left()), least.width()));
        g.setHeight(std::max(std::min(g.height(), area.bottom() + 1 - g.top()), least.height()));
        if (g.right() > area.right()) g.moveRight(area.right());
        if (g.bottom() > area.bottom()) g.moveBottom(area.bottom());
        g.moveTopLeft(QPoint(std::max(g.left(), 0), std::max(g.top(), 0)));
        w->setGeometry(g);
    }
}

void MdiArea::tileHorizontally() {
    const auto windows = arrangeable();
    if (windows.isEmpty()) return;
    const QRect area = viewport()->rect();
    std::vector<int> minimums;
    for (const QMdiSubWindow* w : windows) minimums.push_back(minimumOf(w).height());
    const auto spans = tileSpans(minimums, area.height());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const auto [top, height] = spans[static_cast<std::size_t>(i)];
        windows[i]->showNormal();
        windows[i]->setGeometry(0, top, area.width(), height);
    }
}

void MdiArea::tileVertically() {
    const auto windows = arrangeable();
    if (windows.isEmpty()) return;
    const QRect area = viewport()->rect();
    std::vector<int> minimums;
    for (const QMdiSubWindow* w : windows) minimums.push_back(minimumOf(w).width());
    const auto spans = tileSpans(minimums, area.width());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const auto [left, width] = spans[static_cast<std::size_t>(i)];
        windows[i]->showNormal();
        windows[i]->setGeometry(left, 0, width, area.height());
    }
}

}  // namespace tervalen::shell
