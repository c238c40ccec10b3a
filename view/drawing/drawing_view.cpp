#include "view/drawing/drawing_view.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QToolBar>
#include <QVBoxLayout>

#include "drawing/from_record.h"
#include "drawing_qt/render.h"
#include "view/drawing/drawing_canvas.h"

namespace tervalen::view {

DrawingView::DrawingView(QWidget* parent)
    : QWidget(parent), m_canvas(new DrawingCanvas(this)), m_status(new QLabel(this)) {
    auto* bar = new QToolBar(this);
    m_dxf = bar->addAction(QStringLiteral("导出 DXF…"), this,
                           [this] { exportAs(QStringLiteral("DXF 图形 (*.dxf)"), "dxf"); });
    m_svg = bar->addAction(QStringLiteral("导出 SVG…"), this,
                           [this] { exportAs(QStringLiteral("SVG 图形 (*.svg)"), "svg"); });
    m_png = bar->addAction(QStringLiteral("导出 PNG…"), this,
                           [this] { exportAs(QStringLiteral("PNG 图片 (*.png)"), "png"); });
    bar->addSeparator();
    m_construction = bar->addAction(QStringLiteral("作图线"));
    m_construction->setCheckable(true);
    m_construction->setToolTip(
        QStringLiteral("显示公式的作图线（Rx 圆、腰线），位于保护范围轮廓之下"));
    connect(m_construction, &QAction::toggled, m_canvas, &DrawingCanvas::setConstructionShown);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(bar);
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_status);
    connect(m_canvas, &DrawingCanvas::pointerMoved, this, [this](QPointF m, bool inside) {
        m_status->setText(
            inside
                ? QStringLiteral("x = %1 m，y = %2 m").arg(m.x(), 0, 'f', 2).arg(m.y(), 0, 'f', 2)
                : QString());
    });
    setDrawing(std::nullopt);
}

void DrawingView::showPress(const std::optional<forms::Record>& press, std::string_view caption) {
    setDrawing(press ? drawing::drawingOf(*press, caption) : std::nullopt);
}

void DrawingView::setDrawing(std::optional<drawing::Drawing> d) {
    m_drawing = std::move(d);
    m_canvas->setDrawing(m_drawing ? &*m_drawing : nullptr);
    for (QAction* a : {m_dxf, m_svg, m_png}) a->setEnabled(m_drawing.has_value());
    m_status->setText(m_drawing ? QStringLiteral("滚轮缩放，拖动平移，双击适应窗口") : QString());
}

void DrawingView::exportAs(const QString& filter, const QString& suffix) {
    if (!m_drawing) return;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出保护范围图"),
        QString::fromStdString(m_drawing->title) + '.' + suffix, filter);
    if (path.isEmpty()) return;
    if (!path.endsWith('.' + suffix, Qt::CaseInsensitive)) path += '.' + suffix;
    const Result<> done = suffix == "dxf"   ? drawing_qt::exportDxf(*m_drawing, path)
                          : suffix == "svg" ? drawing_qt::exportSvg(*m_drawing, path)
                                            : drawing_qt::exportPng(*m_drawing, path);
    if (done) return;
    const QString why = QString::fromStdString(done.why());
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tervalen"),
                    QStringLiteral("无法写入文件：\n%1\n%2").arg(path, why), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);  // the name is the user's, never HTML
    box.exec();
}

}  // namespace tervalen::view
