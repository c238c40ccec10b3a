#include "drawing_qt/render.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <cmath>
#include <filesystem>

#include "drawing/dxf.h"
#include "drawing/finite.h"
#include "drawing/svg.h"
#include "files/atomic_write.h"

namespace tervalen::drawing_qt {

using namespace tervalen::drawing;

namespace {

QColor colourOf(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QPolygonF arcPoints(const Arc& a, const QTransform& t) {
    const double span = arcSpan(a);
    const int n = std::max(2, static_cast<int>(std::ceil(span / 2)));
    QPolygonF poly;
    for (int i = 0; i <= n; ++i) {
        const Point q = onCircle(a.c, a.r, a.startDeg + span * i / n);
        poly << t.map(QPointF(q.x, q.y));
    }
    return poly;
}

}  // namespace

QTransform fitTransform(const Drawing& d, const QRectF& target) {
    const auto b = d.bounds();
    if (!b || target.isEmpty()) return {};
    const double margin = d.margin();
    const double w = b->width() + 2 * margin, h = b->height() + 2 * margin;
    const double s = std::min(target.width() / w, target.height() / h);
    const QPointF centre((b->x0 + b->x1) / 2, (b->y0 + b->y1) / 2);
    QTransform t;
    t.translate(target.center().x(), target.center().y());
    t.scale(s, -s);
    t.translate(-centre.x(), -centre.y());
    return t;
}

void paintDrawing(QPainter& p, const Drawing& d, const QTransform& t, bool construction) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = std::hypot(t.m11(), t.m12());
    const double unit = std::max(1.0, p.device() ? p.device()->logicalDpiX() / 96.0 : 1.0);
    for (const Item& item : d.items) {
        if (item.layer == Layer::Construction && !construction) continue;
        // A weak point's mark in red, and drawn heavier than the lines around it.
        const QColor colour = colourOf(isWarning(item) ? kWarnRgb : styleOf(item.layer).rgb);
        const double width = item.warning ? 2.0 : item.stroke == Stroke::Thin ? 0.6 : 1.2;
        QPen pen(colour, width * unit);
        pen.setCosmetic(true);
        if (item.stroke == Stroke::Dashed) pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        if (const auto* l = std::get_if<Line>(&item.shape)) {
            p.drawLine(t.map(QPointF(l->a.x, l->a.y)), t.map(QPointF(l->b.x, l->b.y)));
        } else if (const auto* c = std::get_if<Circle>(&item.shape)) {
            p.drawEllipse(t.map(QPointF(c->c.x, c->c.y)), c->r * scale, c->r * scale);
        } else if (const auto* a = std::get_if<Arc>(&item.shape)) {
            p.drawPolyline(arcPoints(*a, t));
        } else if (const auto* pl = std::get_if<Polyline>(&item.shape)) {
            QPolygonF poly;
            for (Point q : pl->points) poly << t.map(QPointF(q.x, q.y));
            if (pl->closed)
                p.drawPolygon(poly);
            else
                p.drawPolyline(poly);
        } else if (const auto* h = std::get_if<Hatch>(&item.shape)) {
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            for (const auto& ring : h->rings) {
                if (ring.size() < 3) continue;
                QPolygonF poly;
                for (Point q : ring) poly << t.map(QPointF(q.x, q.y));
                path.addPolygon(poly);
                path.closeSubpath();
            }
            QColor fill = colour;
            fill.setAlphaF(static_cast<float>(kHatchOpacity));
            p.fillPath(path, fill);
        } else if (const auto* tx = std::get_if<Text>(&item.shape)) {
            const double px = tx->height * scale * kEmPerCapHeight;
            if (px < 2) continue;  // too small to read at this zoom
            QFont font = p.font();
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
            p.setFont(font);
            p.setPen(colour);
            const QString text = QString::fromStdString(tx->text);
            const double w = QFontMetricsF(font).horizontalAdvance(text);
            QPointF at = t.map(QPointF(tx->at.x, tx->at.y));
            if (tx->align == Align::Centre) at.rx() -= w / 2;
            if (tx->align == Align::Right) at.rx() -= w;
            p.drawText(at, text);
        }
    }
    p.restore();
}

void paintAtScale(QPainter& p, const Drawing& d, const QRectF& rect, int N, double dotsPerMm) {
    const auto b = d.bounds();
    if (!b || N <= 0) return;
    const double line = kScaleLineMm * dotsPerMm;
    const QRectF area(rect.left(), rect.top(), rect.width(), rect.height() - line);
    const double s = 1000.0 / N * dotsPerMm;  // device pixels per metre
    QTransform t;
    t.translate(area.center().x(), area.center().y());
    t.scale(s, -s);
    t.translate(-(b->x0 + b->x1) / 2, -(b->y0 + b->y1) / 2);
    paintDrawing(p, d, t);
    p.save();
    p.setPen(Qt::black);
    QFont font = p.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(3.5 * dotsPerMm))));
    p.setFont(font);
    p.drawText(QRectF(rect.left(), rect.bottom() - line, rect.width(), line), Qt::AlignCenter,
               QStringLiteral("比例 1:%1（单位：米）").arg(N));
    p.restore();
}

int paintToScale(QPainter& p, const Drawing& d, const QRectF& rect) {
    const double dotsPerMm = (p.device() ? p.device()->logicalDpiX() : 96) / 25.4;
    const int N = roundScale(d, rect.width() / dotsPerMm, rect.height() / dotsPerMm - kScaleLineMm);
    paintAtScale(p, d, rect, N, dotsPerMm);
    return N;
}

Result<> writeWhole(const QString& path, const QByteArray& bytes) {
#ifdef _WIN32
    const std::filesystem::path file(path.toStdWString());
#else
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
#endif
    return files::writeAtomically(
        file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

Result<> exportDxf(const Drawing& d, const QString& path) {
    if (!allFinite(d)) return Failure{kNotFiniteReason};
    const std::string text = toDxf(d);
    return writeWhole(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

Result<> exportSvg(const Drawing& d, const QString& path) {
    if (!allFinite(d)) return Failure{kNotFiniteReason};
    const std::string text = toSvg(d);
    return writeWhole(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

Result<> exportPng(const Drawing& d, const QString& path, int longerSide) {
    if (!allFinite(d)) return Failure{kNotFiniteReason};
    const auto b = d.bounds();
    if (!b) return Failure{"图是空的"};
    const double ratio = b->height() / std::max(b->width(), 1e-9);
    const QSize size = ratio > 1 ? QSize(static_cast<int>(longerSide / ratio), longerSide)
                                 : QSize(longerSide, static_cast<int>(longerSide * ratio));
    QImage image(size.expandedTo(QSize(16, 16)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    paintDrawing(p, d, fitTransform(d, QRectF(QPointF(0, 0), image.size())));
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return Failure{"无法生成 PNG 图片"};
    return writeWhole(path, png);
}

}  // namespace tervalen::drawing_qt
