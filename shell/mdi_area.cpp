#include "shell/mdi_area.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QResource>
#include <cstring>

#include "resources/raw_picture.h"

namespace tervalen::shell {

QImage MdiArea::embeddedBackground() {
    using resources::RawPictureHeader;
    const QResource resource(QStringLiteral(":/background.rgb32"));
    const auto* data = resource.data();
    RawPictureHeader h{};
    if (!data || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() < qint64{sizeof h})
        return {};
    std::memcpy(&h, data, sizeof h);
    const auto format = static_cast<QImage::Format>(h.format);
    const qint64 pixels = qint64{h.bytesPerLine} * h.height;
    if (std::memcmp(h.magic, resources::kRawPictureMagic, sizeof h.magic) != 0 ||
        format != QImage::Format_RGB888 || h.bytesPerLine < 3 * qint64{h.width} ||
        h.bytesPerLine % 4 != 0 || resource.size() - qint64{sizeof h} != pixels)
        return {};
    const uchar* bits = data + sizeof h;
    const QImage image(bits, static_cast<int>(h.width), static_cast<int>(h.height),
                       static_cast<qsizetype>(h.bytesPerLine), format);
    // QImage wants its lines 4-byte aligned: where the resource data is not, the picture
    // is copied once instead of read in place.
    return reinterpret_cast<quintptr>(bits) % 4 == 0 ? image : image.copy();
}

MdiArea::MdiArea(QWidget* parent) : QMdiArea(parent), m_background(embeddedBackground()) {
    setBackground(QColor(12, 14, 34));
}

void MdiArea::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    QPainter p(viewport());
    p.drawImage(0, 0, m_background);
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
