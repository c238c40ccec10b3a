#pragma once
// The "保护范围图" tab: the drawing of a form's last press, fitted to the widget at 1:1
// aspect; the wheel zooms about the pointer, a drag pans, a double-click fits again; the
// pointer's coordinates in metres in the status line; "导出 DXF…", "导出 SVG…",
// "导出 PNG…" in a tool bar. Empty when there is no press to draw.

#include <QLabel>
#include <QWidget>
#include <optional>
#include <string_view>

#include "drawing/model.h"
#include "forms/record.h"

class QAction;

namespace tervalen::view {

class DrawingCanvas;

class DrawingView : public QWidget {
    Q_OBJECT
public:
    explicit DrawingView(QWidget* parent = nullptr);

    // The drawing of a press (nothing: refused, failed, cleared, or no drawing for it).
    void showPress(const std::optional<forms::Record>& press, std::string_view caption);
    void setDrawing(std::optional<drawing::Drawing> drawing);
    const std::optional<drawing::Drawing>& drawing() const { return m_drawing; }

    QAction* exportDxfAction() const { return m_dxf; }
    QAction* exportSvgAction() const { return m_svg; }
    QAction* exportPngAction() const { return m_png; }
    // "作图线": shows the formulas' circles and waists under the outline; off at first.
    QAction* constructionAction() const { return m_construction; }

private:
    void exportAs(const QString& filter, const QString& suffix);

    std::optional<drawing::Drawing> m_drawing;
    DrawingCanvas* m_canvas;
    QLabel* m_status;
    QAction *m_dxf, *m_svg, *m_png, *m_construction;
};

}  // namespace tervalen::view
