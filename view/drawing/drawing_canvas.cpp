#include "view/drawing/drawing_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "drawing_qt/render.h"

namespace tervalen::view {

DrawingCanvas::DrawingCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(200, 150);
}

void DrawingCanvas::setDrawing(const drawing::Drawing* d) {
    m_drawing = d;
    fit();
}

void DrawingCanvas::setConstructionShown(bool shown) {
    m_construction = shown;
    update();
}

void DrawingCanvas::fit() {
    m_zoom = 1;
    m_pan = {};
    update();
}

QTransform DrawingCanvas::view() const {
    if (!m_drawing) return {};
    QTransform t = drawing_qt::fitTransform(*m_drawing, QRectF(rect()));
    // Zoom about the pan point: widget = zoom · fitted + pan.
    return t * QTransform::fromScale(m_zoom, m_zoom) *
           QTransform::fromTranslate(m_pan.x(), m_pan.y());
}

QPointF DrawingCanvas::metresAt(const QPointF& widgetPoint) const {
    return view().inverted().map(widgetPoint);
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
    if (!m_drawing) return;
    QPainter p(this);
    drawing_qt::paintDrawing(p, *m_drawing, view(), m_construction);
}

void DrawingCanvas::wheelEvent(QWheelEvent* e) {
    if (!m_drawing) return;
    const double factor = std::pow(1.0015, e->angleDelta().y());
    const double zoom = std::clamp(m_zoom * factor, 0.05, 500.0);
    const QPointF at = e->position();
    // Keep the point under the pointer where it is.
    m_pan = at - (at - m_pan) * (zoom / m_zoom);
    m_zoom = zoom;
    update();
    e->accept();
}

void DrawingCanvas::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_dragFrom = e->position();
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* e) {
    if (m_dragFrom && (e->buttons() & Qt::LeftButton)) {
        m_pan += e->position() - *m_dragFrom;
        m_dragFrom = e->position();
        update();
    }
    if (m_drawing) emit pointerMoved(metresAt(e->position()), true);
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent*) {
    m_dragFrom.reset();
}

void DrawingCanvas::mouseDoubleClickEvent(QMouseEvent*) {
    fit();
}

void DrawingCanvas::leaveEvent(QEvent*) {
    emit pointerMoved({}, false);
}

}  // namespace tervalen::view
