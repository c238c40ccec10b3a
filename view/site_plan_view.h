#pragma once
// The plan of a 屋面/总平面防雷校核 window: the site's buildings, rods, conductors and
// wires to scale, each roof coloured by S − roof height (green protected, red where the
// sphere reaches it), the protected region at each level, the worst point of each roof
// with its value. The tools draw and place objects by clicking, the selection tool
// selects and drags them; the wheel zooms about the pointer, the middle button (or the
// space bar held with the left one) pans.

#include <QPointF>
#include <QWidget>
#include <optional>
#include <vector>

#include "view/site_compute.h"
#include "view/site_model.h"

namespace tervalen::view {

enum class SiteTool { Select, Building, Rod, Conductor, Wire, Section };

class SitePlanView : public QWidget {
    Q_OBJECT
public:
    explicit SitePlanView(SiteModel* model, QWidget* parent = nullptr);

    void setTool(SiteTool tool);
    SiteTool tool() const { return m_tool; }
    // Heights the placing tools use: a rod's height, a conductor's and a wire support's
    // height, each above the roof under the point or above the ground.
    void setPlacingHeights(double rod, double conductor, double wire);

    void setResult(const SiteResult& result);
    void clearResult();
    const std::optional<SiteResult>& result() const { return m_result; }

    std::optional<SiteRef> selection() const { return m_selection; }
    void select(std::optional<SiteRef> ref);
    // Shows the whole site; shows one building's outline with some room around it.
    void fit();
    void showBuilding(int index);

    // Paints the plan into `size` pixels as the window shows it (the PNG export), the
    // whole site fitted.
    void paintFitted(QPainter& p, QSize size) const;

    // Plan metres ↔ widget pixels.
    QPointF toScreen(sphere::Point2 p) const;
    sphere::Point2 toPlan(QPointF p) const;
    double pixelsPerMetre() const { return m_scale; }

    // The roof under a plan point (its edges within a few pixels count), or -1.
    int buildingAt(sphere::Point2 p) const;

signals:
    void selectionChanged(std::optional<tervalen::view::SiteRef> ref);
    // A building's corners were clicked and closed: the window asks its roof height.
    void buildingDrawn(const std::vector<tervalen::sphere::Point2>& corners);
    void sectionDrawn(tervalen::sphere::Point2 a, tervalen::sphere::Point2 b);
    // A placing tool's refusal or a hint, for the status bar.
    void said(const QString& text);
    // The pointer's plan position, for the status bar.
    void pointerAt(tervalen::sphere::Point2 p);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // What a press of the selection tool took hold of.
    struct Grip {
        SiteRef ref;
        int part = -1;  // a building's corner, a conductor's or wire's end (0, 1); -1 the whole
        sphere::Point2 start;  // the plan point pressed
        sphere::Site site;     // the site then
    };
    std::optional<Grip> gripAt(QPointF screen) const;
    // A point snapped to a building's corner within a few pixels.
    sphere::Point2 snapped(QPointF screen) const;
    double heightUnder(sphere::Point2 p) const;  // roof under the point, or 0
    void finishBuilding();
    void finishConductor();
    void cancelDrawing();
    void paintPlan(QPainter& p, const QTransform& toScreen, double pxPerM) const;
    QTransform transform() const;
    void fitTo(double x0, double y0, double x1, double y1);

    SiteModel* m_model;
    SiteTool m_tool = SiteTool::Select;
    double m_rodHeight = 5, m_conductorHeight = 0.15, m_wireHeight = 15;
    std::optional<SiteResult> m_result;
    std::optional<SiteRef> m_selection;
    // The view: plan point at the widget's centre, pixels per metre.
    double m_cx = 0, m_cy = 0, m_scale = 4;
    bool m_fitted = false;
    std::vector<sphere::Point2> m_clicked;  // corners or points of the tool at work
    std::optional<sphere::Point2> m_hover;
    std::optional<Grip> m_grip;
    std::optional<QPointF> m_panFrom;
    bool m_space = false;
};

}  // namespace tervalen::view
