#pragma once
// The drawing area of DrawingView: fit, zoom, pan, pointer coordinates.

#include <QTransform>
#include <QWidget>
#include <optional>

#include "drawing/model.h"

namespace tervalen::view {

class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(QWidget* parent = nullptr);
    void setDrawing(const drawing::Drawing* d);  // not owned; nullptr for none
    void fit();
    // Whether the formulas' construction curves are shown under the outline (off at first).
    void setConstructionShown(bool shown);
    bool constructionShown() const { return m_construction; }
    // Metres under a widget point.
    QPointF metresAt(const QPointF& widgetPoint) const;
    // The view beyond the fit: zoom factor and pan in pixels.
    double zoom() const { return m_zoom; }

signals:
    void pointerMoved(QPointF metres, bool inside);

protected:
    void paintEvent(QPaintEvent*) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    QTransform view() const;  // metres to widget pixels

    const drawing::Drawing* m_drawing = nullptr;
    bool m_construction = false;
    double m_zoom = 1;
    QPointF m_pan;
    std::optional<QPointF> m_dragFrom;
};

}  // namespace tervalen::view
