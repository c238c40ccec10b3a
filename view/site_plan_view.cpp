#include "view/site_plan_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tervalen::view {
namespace {

constexpr double kGripPixels = 7;
const QColor kProtected(150, 215, 150);
const QColor kUncovered(235, 80, 70);
const QColor kPending(225, 225, 225);
const QColor kSelected(30, 110, 230);
const QColor kConductor(180, 90, 0);
const QColor kWire(40, 60, 160);
const QColor kLevel(0, 80, 192);

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

double segmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0;
    return distance(p, a + t * ab);
}

bool inside(const std::vector<sphere::Point2>& poly, sphere::Point2 p) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const sphere::Point2 a = poly[i], b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

QPolygonF polygonOf(const std::vector<sphere::Point2>& ring) {
    QPolygonF out;
    for (const sphere::Point2& p : ring) out << QPointF(p.x, p.y);
    return out;
}

QPainterPath pathOf(const sphere::Polygon& poly) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(polygonOf(poly.outer));
    path.closeSubpath();
    for (const auto& hole : poly.holes) {
        path.addPolygon(polygonOf(hole));
        path.closeSubpath();
    }
    return path;
}

sphere::Point2 centroid(const std::vector<sphere::Point2>& ring) {
    double a = 0, cx = 0, cy = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const double f = ring[j].x * ring[i].y - ring[i].x * ring[j].y;
        a += f, cx += (ring[j].x + ring[i].x) * f, cy += (ring[j].y + ring[i].y) * f;
    }
    if (std::abs(a) < 1e-12) return ring.empty() ? sphere::Point2{} : ring.front();
    return {cx / (3 * a), cy / (3 * a)};
}

double ringArea(const std::vector<sphere::Point2>& ring) {
    double a = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        a += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    return std::abs(a) / 2;
}

QString metres(double v, int decimals = 2) {
    return QString::number(v, 'f', decimals);
}

// A text with a white halo, readable over the colours.
void label(QPainter& p, QPointF at, const QString& text, const QColor& colour = Qt::black) {
    QPainterPath path;
    path.addText(at, p.font(), text);
    p.save();
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    p.restore();
}

}  // namespace

SitePlanView::SitePlanView(SiteModel* model, QWidget* parent) : QWidget(parent), m_model(model) {
    setObjectName(QStringLiteral("sitePlan"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(model, &SiteModel::changed, this, [this] {
        if (m_selection && m_selection->index >= countOf(m_model->site(), m_selection->kind))
            select(std::nullopt);
        update();
    });
}

void SitePlanView::setTool(SiteTool tool) {
    cancelDrawing();
    m_tool = tool;
    setCursor(tool == SiteTool::Select ? Qt::ArrowCursor : Qt::CrossCursor);
    update();
}

void SitePlanView::setPlacingHeights(double rod, double conductor, double wire) {
    m_rodHeight = rod, m_conductorHeight = conductor, m_wireHeight = wire;
}

void SitePlanView::setResult(const SiteResult& result) {
    m_result = result;
    update();
}

void SitePlanView::clearResult() {
    m_result.reset();
    update();
}

void SitePlanView::select(std::optional<SiteRef> ref) {
    if (m_selection == ref) return;
    m_selection = ref;
    update();
    emit selectionChanged(ref);
}

QTransform SitePlanView::transform() const {
    return QTransform(m_scale, 0, 0, -m_scale, width() / 2.0 - m_cx * m_scale,
                      height() / 2.0 + m_cy * m_scale);
}

QPointF SitePlanView::toScreen(sphere::Point2 p) const {
    return transform().map(QPointF(p.x, p.y));
}

sphere::Point2 SitePlanView::toPlan(QPointF p) const {
    const QPointF q = transform().inverted().map(p);
    return {q.x(), q.y()};
}

void SitePlanView::fitTo(double x0, double y0, double x1, double y1) {
    const double w = std::max(x1 - x0, 1.0), h = std::max(y1 - y0, 1.0);
    m_cx = (x0 + x1) / 2, m_cy = (y0 + y1) / 2;
    m_scale = std::clamp(std::min(width() / (w * 1.15), height() / (h * 1.15)), 0.01, 2000.0);
    m_fitted = true;
    update();
}

namespace {

// The plan box of every object; none for an empty site.
std::optional<QRectF> extent(const sphere::Site& s) {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    auto take = [&](double x, double y) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    };
    for (const auto& r : s.rods) take(r.x, r.y);
    for (const auto& c : s.conductors) take(c.from.x, c.from.y), take(c.to.x, c.to.y);
    for (const auto& w : s.wires) take(w.from.x, w.from.y), take(w.to.x, w.to.y);
    for (const auto& b : s.buildings)
        for (const auto& p : b.outline) take(p.x, p.y);
    if (x0 > x1) return std::nullopt;
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

}  // namespace

void SitePlanView::fit() {
    if (const auto box = extent(m_model->site()))
        fitTo(box->left() - 5, box->top() - 5, box->right() + 5, box->bottom() + 5);
    else
        fitTo(-50, -50, 50, 50);
}

void SitePlanView::showBuilding(int index) {
    const auto& bs = m_model->site().buildings;
    if (index < 0 || index >= int(bs.size())) return;
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto& p : bs[std::size_t(index)].outline)
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x),
        y1 = std::max(y1, p.y);
    const double room = std::max(x1 - x0, y1 - y0) * 0.25 + 2;
    fitTo(x0 - room, y0 - room, x1 + room, y1 + room);
    select(SiteRef{SiteKind::Building, index});
}

void SitePlanView::resizeEvent(QResizeEvent*) {
    if (!m_fitted) fit();
}

int SitePlanView::buildingAt(sphere::Point2 p) const {
    const auto& bs = m_model->site().buildings;
    const double tol = kGripPixels / m_scale;
    int best = -1;
    for (int i = 0; i < int(bs.size()); ++i) {
        const auto& o = bs[std::size_t(i)].outline;
        bool near = inside(o, p);
        for (std::size_t k = 0; !near && k < o.size(); ++k) {
            const auto a = o[k], b = o[(k + 1) % o.size()];
            near = segmentDistance({p.x, p.y}, {a.x, a.y}, {b.x, b.y}) <= tol;
        }
        // The highest roof where outlines meet.
        if (near && (best < 0 || bs[std::size_t(i)].roof > bs[std::size_t(best)].roof)) best = i;
    }
    return best;
}

double SitePlanView::heightUnder(sphere::Point2 p) const {
    const int b = buildingAt(p);
    return b < 0 ? 0 : m_model->site().buildings[std::size_t(b)].roof;
}

sphere::Point2 SitePlanView::snapped(QPointF screen) const {
    for (const auto& b : m_model->site().buildings)
        for (const auto& c : b.outline)
            if (distance(toScreen(c), screen) <= kGripPixels) return c;
    for (const sphere::Point2& c : m_clicked)
        if (distance(toScreen(c), screen) <= kGripPixels) return c;
    return toPlan(screen);
}

std::optional<SitePlanView::Grip> SitePlanView::gripAt(QPointF q) const {
    const sphere::Site& s = m_model->site();
    const sphere::Point2 at = toPlan(q);
    auto grip = [&](SiteKind k, int i, int part) { return Grip{SiteRef{k, i}, part, at, s}; };
    for (int i = int(s.rods.size()) - 1; i >= 0; --i)
        if (distance(toScreen({s.rods[i].x, s.rods[i].y}), q) <= kGripPixels)
            return grip(SiteKind::Rod, i, -1);
    auto p2 = [](const sphere::Point3& p) { return sphere::Point2{p.x, p.y}; };
    for (int i = int(s.conductors.size()) - 1; i >= 0; --i) {
        if (distance(toScreen(p2(s.conductors[i].from)), q) <= kGripPixels)
            return grip(SiteKind::Conductor, i, 0);
        if (distance(toScreen(p2(s.conductors[i].to)), q) <= kGripPixels)
            return grip(SiteKind::Conductor, i, 1);
    }
    for (int i = int(s.wires.size()) - 1; i >= 0; --i) {
        if (distance(toScreen(p2(s.wires[i].from)), q) <= kGripPixels)
            return grip(SiteKind::Wire, i, 0);
        if (distance(toScreen(p2(s.wires[i].to)), q) <= kGripPixels)
            return grip(SiteKind::Wire, i, 1);
    }
    for (int i = int(s.buildings.size()) - 1; i >= 0; --i) {
        const auto& o = s.buildings[std::size_t(i)].outline;
        for (int k = 0; k < int(o.size()); ++k)
            if (distance(toScreen(o[std::size_t(k)]), q) <= kGripPixels)
                return grip(SiteKind::Building, i, k);
    }
    for (int i = int(s.conductors.size()) - 1; i >= 0; --i)
        if (segmentDistance(q, toScreen(p2(s.conductors[i].from)),
                            toScreen(p2(s.conductors[i].to))) <= kGripPixels / 2)
            return grip(SiteKind::Conductor, i, -1);
    for (int i = int(s.wires.size()) - 1; i >= 0; --i)
        if (segmentDistance(q, toScreen(p2(s.wires[i].from)), toScreen(p2(s.wires[i].to))) <=
            kGripPixels / 2)
            return grip(SiteKind::Wire, i, -1);
    // The smallest building under the point.
    int best = -1;
    double bestArea = 0;
    for (int i = 0; i < int(s.buildings.size()); ++i) {
        const auto& o = s.buildings[std::size_t(i)].outline;
        if (!inside(o, at)) continue;
        const double a = ringArea(o);
        if (best < 0 || a < bestArea) best = i, bestArea = a;
    }
    if (best >= 0) return grip(SiteKind::Building, best, -1);
    return std::nullopt;
}

// --- Painting ---

void SitePlanView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintPlan(p, transform(), m_scale);

    // The tool at work: the points clicked so far and the next one under the pointer.
    if (!m_clicked.empty()) {
        QPolygonF line;
        for (const auto& c : m_clicked) line << toScreen(c);
        if (m_hover) line << toScreen(*m_hover);
        p.setPen(QPen(kSelected, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        for (const QPointF& c : line) p.drawEllipse(c, 3, 3);
    }
    // The scale: a bar of a round length in the lower left corner.
    const double target = 120 / m_scale;
    const double power = std::pow(10.0, std::floor(std::log10(target)));
    double len = power;
    for (const double f : {1.0, 2.0, 5.0})
        if (f * power <= target) len = f * power;
    const QPointF a(12, height() - 14), b(12 + len * m_scale, height() - 14);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(a, b);
    p.drawLine(a, a - QPointF(0, 5));
    p.drawLine(b, b - QPointF(0, 5));
    label(p, a + QPointF(0, -8), QStringLiteral("%1 m").arg(len));
}

void SitePlanView::paintFitted(QPainter& p, QSize size) const {
    const auto box = extent(m_model->site()).value_or(QRectF(-50, -50, 100, 100));
    const double w = std::max(box.width() + 10, 1.0), h = std::max(box.height() + 10, 1.0);
    const double scale = std::min(size.width() / (w * 1.1), size.height() / (h * 1.1));
    const QPointF c = box.center();
    const QTransform t(scale, 0, 0, -scale, size.width() / 2.0 - c.x() * scale,
                       size.height() / 2.0 + c.y() * scale);
    paintPlan(p, t, scale);
}

void SitePlanView::paintPlan(QPainter& p, const QTransform& t, double pxPerM) const {
    const sphere::Site& s = m_model->site();
    p.fillRect(p.viewport(), Qt::white);
    auto at = [&](sphere::Point2 q) { return t.map(QPointF(q.x, q.y)); };
    auto at3 = [&](const sphere::Point3& q) { return t.map(QPointF(q.x, q.y)); };
    const bool exact = m_result && m_result->exact && m_result->problem.isEmpty();
    const bool coarse = m_result && !m_result->exact && m_result->problem.isEmpty();
    const bool sel = m_selection.has_value();

    // The roofs, coloured by S − roof height.
    for (std::size_t i = 0; i < s.buildings.size(); ++i) {
        const sphere::Building& b = s.buildings[i];
        const QPolygonF outline = t.map(polygonOf(b.outline));
        QPainterPath path;
        path.addPolygon(outline);
        path.closeSubpath();
        p.save();
        p.setClipPath(path);
        if (exact && i < m_result->roofs.size()) {
            p.fillPath(path, kProtected);
            for (const sphere::Polygon& u : m_result->roofs[i].uncovered)
                p.fillPath(t.map(pathOf(u)), kUncovered);
        } else if (coarse && i < m_result->roofMaps.size()) {
            const sphere::SurfaceGrid& g = m_result->roofMaps[i];
            const double half = g.step / 2;
            p.fillPath(path, kPending);
            for (int jy = 0; jy < g.ny; ++jy)
                for (int ix = 0; ix < g.nx; ++ix) {
                    const double x = g.box.minX + ix * g.step, y = g.box.minY + jy * g.step;
                    const double d =
                        g.s[std::size_t(jy) * std::size_t(g.nx) + std::size_t(ix)] - b.roof;
                    const QRectF cell = t.mapRect(QRectF(x - half, y - half, g.step, g.step));
                    p.fillRect(cell.adjusted(-0.5, -0.5, 0.5, 0.5),
                               d > 0.001 ? kProtected : kUncovered);
                }
        } else {
            p.fillPath(path, kPending);
        }
        p.restore();
        const bool chosen =
            sel && m_selection->kind == SiteKind::Building && m_selection->index == int(i);
        p.setPen(QPen(chosen ? kSelected : Qt::black, chosen ? 2.5 : 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(outline);
        if (chosen)
            for (const QPointF& c : outline) p.drawRect(QRectF(c - QPointF(3, 3), QSizeF(6, 6)));
    }

    // The protected region at each level asked.
    if (exact)
        for (const sphere::LevelRegion& level : m_result->levels) {
            p.setPen(QPen(kLevel, 1.5, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            for (const sphere::Polygon& poly : level.protectedRegion) {
                p.drawPath(t.map(pathOf(poly)));
                if (!poly.outer.empty()) {
                    const auto top =
                        *std::max_element(poly.outer.begin(), poly.outer.end(),
                                          [](auto a, auto b) { return a.x + a.y < b.x + b.y; });
                    label(p, at(top) + QPointF(4, -4),
                          QStringLiteral("h=%1 m").arg(numberShown(level.z)), kLevel);
                }
            }
        }

    // The conductors and wires.
    for (std::size_t i = 0; i < s.conductors.size(); ++i) {
        const bool chosen =
            sel && m_selection->kind == SiteKind::Conductor && m_selection->index == int(i);
        p.setPen(
            QPen(chosen ? kSelected : kConductor, chosen ? 3.5 : 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at3(s.conductors[i].from), at3(s.conductors[i].to));
        if (chosen) {
            p.drawEllipse(at3(s.conductors[i].from), 4, 4);
            p.drawEllipse(at3(s.conductors[i].to), 4, 4);
        }
    }
    for (std::size_t i = 0; i < s.wires.size(); ++i) {
        const bool chosen =
            sel && m_selection->kind == SiteKind::Wire && m_selection->index == int(i);
        p.setPen(QPen(chosen ? kSelected : kWire, chosen ? 2.5 : 1.5, Qt::DashLine));
        p.drawLine(at3(s.wires[i].from), at3(s.wires[i].to));
        p.setPen(QPen(chosen ? kSelected : kWire, 1.5));
        p.setBrush(Qt::white);
        for (const auto* e : {&s.wires[i].from, &s.wires[i].to})
            p.drawRect(QRectF(at3(*e) - QPointF(3.5, 3.5), QSizeF(7, 7)));
    }

    // The rods: a ring and a dot, the tip's height beside.
    for (std::size_t i = 0; i < s.rods.size(); ++i) {
        const sphere::Rod& r = s.rods[i];
        const bool chosen =
            sel && m_selection->kind == SiteKind::Rod && m_selection->index == int(i);
        const QPointF c = at({r.x, r.y});
        p.setPen(QPen(chosen ? kSelected : Qt::black, chosen ? 2.5 : 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(c, 5, 5);
        p.setBrush(chosen ? kSelected : Qt::black);
        p.drawEllipse(c, 1.8, 1.8);
        label(p, c + QPointF(7, -6), QStringLiteral("%1 m").arg(numberShown(r.tip)));
    }

    // The buildings' names and heights, the worst point of each roof with S − roof there,
    // and the uncovered area.
    QFont small = p.font();
    small.setPointSizeF(std::max(7.0, small.pointSizeF() * 0.9));
    p.setFont(small);
    for (std::size_t i = 0; i < s.buildings.size(); ++i) {
        const sphere::Building& b = s.buildings[i];
        // Above the outline, centred: clear of the roof's own rods, ends and worst point.
        double top = at(b.outline.front()).y();
        for (const sphere::Point2& v : b.outline) top = std::min(top, at(v).y());
        const QPointF c(at(centroid(b.outline)).x(), top - 6);
        QString text =
            QStringLiteral("%1  H=%2 m").arg(QString::fromStdString(b.name), numberShown(b.roof));
        if (exact && i < m_result->roofs.size() && m_result->roofs[i].uncoveredArea > 0)
            text +=
                QStringLiteral("  未保护 %1 m²").arg(metres(m_result->roofs[i].uncoveredArea, 2));
        label(p, c - QPointF(p.fontMetrics().horizontalAdvance(text) / 2.0, 0), text);
        if (exact && i < m_result->roofs.size()) {
            const sphere::RoofCheck& rc = m_result->roofs[i];
            const QPointF w = at(rc.worst.at);
            const double d = rc.worst.s - rc.height;
            const QColor colour = rc.ok ? QColor(0, 110, 0) : QColor(200, 0, 0);
            p.setPen(QPen(colour, 2));
            p.drawLine(w + QPointF(-5, -5), w + QPointF(5, 5));
            p.drawLine(w + QPointF(-5, 5), w + QPointF(5, -5));
            label(p, w + QPointF(7, 14),
                  QStringLiteral("S−H=%1 m")
                      .arg((d >= 0 ? QStringLiteral("+") : QString()) + metres(d)),
                  colour);
        }
    }
    (void)pxPerM;
}

// --- The tools ---

void SitePlanView::cancelDrawing() {
    m_clicked.clear();
    m_hover.reset();
    if (m_grip) {
        m_grip.reset();
        m_model->cancelPreview();
    }
    update();
}

void SitePlanView::finishBuilding() {
    std::vector<sphere::Point2> corners;
    for (const auto& c : m_clicked)
        if (corners.empty() || std::hypot(c.x - corners.back().x, c.y - corners.back().y) > 1e-6)
            corners.push_back(c);
    if (corners.size() > 1 && std::hypot(corners.front().x - corners.back().x,
                                         corners.front().y - corners.back().y) <= 1e-6)
        corners.pop_back();
    m_clicked.clear();
    m_hover.reset();
    update();
    if (corners.size() < 3) {
        emit said(QStringLiteral("建筑物至少要有 3 个角点"));
        return;
    }
    emit buildingDrawn(corners);
}

void SitePlanView::finishConductor() {
    m_clicked.clear();
    m_hover.reset();
    update();
}

void SitePlanView::mousePressEvent(QMouseEvent* e) {
    setFocus();
    const QPointF q = e->position();
    if (e->button() == Qt::MiddleButton || (e->button() == Qt::LeftButton && m_space)) {
        m_panFrom = q;
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (e->button() == Qt::RightButton) {
        // The right button ends what the tool is drawing (as Enter does).
        if (m_tool == SiteTool::Building)
            finishBuilding();
        else
            cancelDrawing();
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    const sphere::Point2 at = snapped(q);
    sphere::Site s = m_model->site();
    switch (m_tool) {
        case SiteTool::Select: {
            m_grip = gripAt(q);
            select(m_grip ? std::optional<SiteRef>(m_grip->ref) : std::nullopt);
            break;
        }
        case SiteTool::Building:
            m_clicked.push_back(at);
            break;
        case SiteTool::Rod: {
            const double base = heightUnder(at);
            s.rods.push_back({at.x, at.y, base, base + m_rodHeight});
            if (const QString why = m_model->apply(s, QStringLiteral("放置接闪杆")); !why.isEmpty())
                emit said(why);
            else
                select(SiteRef{SiteKind::Rod, int(s.rods.size()) - 1});
            break;
        }
        case SiteTool::Conductor: {
            if (!m_clicked.empty()) {
                const sphere::Point2 a = m_clicked.back();
                if (std::hypot(a.x - at.x, a.y - at.y) < 1e-6) break;
                // Each end at the roof under it (the higher roof where outlines meet).
                s.conductors.push_back({{a.x, a.y, heightUnder(a) + m_conductorHeight},
                                        {at.x, at.y, heightUnder(at) + m_conductorHeight}});
                if (const QString why = m_model->apply(s, QStringLiteral("布置接闪带"));
                    !why.isEmpty()) {
                    emit said(why);
                    break;
                }
            }
            m_clicked.push_back(at);
            break;
        }
        case SiteTool::Wire:
        case SiteTool::Section: {
            if (m_clicked.empty()) {
                m_clicked.push_back(at);
                break;
            }
            const sphere::Point2 a = m_clicked.front();
            m_clicked.clear();
            m_hover.reset();
            if (std::hypot(a.x - at.x, a.y - at.y) < 1e-3) {
                emit said(QStringLiteral("两点重合"));
                break;
            }
            if (m_tool == SiteTool::Section) {
                emit sectionDrawn(a, at);
                break;
            }
            s.wires.push_back({{a.x, a.y, heightUnder(a) + m_wireHeight},
                               {at.x, at.y, heightUnder(at) + m_wireHeight},
                               std::nullopt});
            if (const QString why = m_model->apply(s, QStringLiteral("架设接闪线")); !why.isEmpty())
                emit said(why);
            else
                select(SiteRef{SiteKind::Wire, int(s.wires.size()) - 1});
            break;
        }
    }
    update();
}

void SitePlanView::mouseMoveEvent(QMouseEvent* e) {
    const QPointF q = e->position();
    emit pointerAt(toPlan(q));
    if (m_panFrom) {
        const QPointF d = q - *m_panFrom;
        m_cx -= d.x() / m_scale;
        m_cy += d.y() / m_scale;
        m_panFrom = q;
        update();
        return;
    }
    if (m_grip && (e->buttons() & Qt::LeftButton)) {
        const sphere::Point2 now =
            m_grip->part >= 0 && m_grip->ref.kind == SiteKind::Building ? snapped(q) : toPlan(q);
        const double dx = now.x - m_grip->start.x, dy = now.y - m_grip->start.y;
        sphere::Site s = m_grip->site;
        const int i = m_grip->ref.index;
        const int part = m_grip->part;
        // A rod and a conductor's end keep their height above what they stand on.
        auto onto = [&](sphere::Point3& p) {
            const double above = p.z - heightUnder({p.x, p.y});
            p.x += dx, p.y += dy;
            p.z = std::max(0.0, heightUnder({p.x, p.y}) + above);
        };
        switch (m_grip->ref.kind) {
            case SiteKind::Rod: {
                sphere::Rod& r = s.rods[std::size_t(i)];
                const double length = r.tip - r.base;
                r.x += dx, r.y += dy;
                // Over a roof it stands on the roof; on the ground, on the ground.
                r.base = heightUnder({r.x, r.y});
                r.tip = r.base + length;
                break;
            }
            case SiteKind::Conductor: {
                sphere::Conductor& c = s.conductors[std::size_t(i)];
                if (part != 1) onto(c.from);
                if (part != 0) onto(c.to);
                break;
            }
            case SiteKind::Wire: {
                sphere::Wire& w = s.wires[std::size_t(i)];
                if (part != 1) w.from.x += dx, w.from.y += dy;
                if (part != 0) w.to.x += dx, w.to.y += dy;
                break;
            }
            case SiteKind::Building: {
                auto& o = s.buildings[std::size_t(i)].outline;
                if (part >= 0) {
                    o[std::size_t(part)] = now;
                } else {
                    for (auto& c : o) c.x += dx, c.y += dy;
                }
                break;
            }
        }
        if (const QString why = m_model->preview(s); !why.isEmpty()) emit said(why);
        return;
    }
    if (!m_clicked.empty()) {
        m_hover = snapped(q);
        update();
    }
}

void SitePlanView::mouseReleaseEvent(QMouseEvent* e) {
    if (m_panFrom && (e->button() == Qt::MiddleButton || e->button() == Qt::LeftButton)) {
        m_panFrom.reset();
        setCursor(m_tool == SiteTool::Select ? Qt::ArrowCursor : Qt::CrossCursor);
        return;
    }
    if (m_grip && e->button() == Qt::LeftButton) {
        static const QString names[] = {QStringLiteral("移动建筑物"), QStringLiteral("移动接闪杆"),
                                        QStringLiteral("移动接闪带"), QStringLiteral("移动接闪线")};
        const QString what = names[int(m_grip->ref.kind)];
        m_grip.reset();
        m_model->finishPreview(what);
    }
}

void SitePlanView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (m_tool == SiteTool::Building)
        finishBuilding();
    else if (m_tool == SiteTool::Conductor)
        finishConductor();
    else if (m_tool == SiteTool::Select) {
        if (auto g = gripAt(e->position()); g && g->ref.kind == SiteKind::Building)
            showBuilding(g->ref.index);
    }
}

void SitePlanView::wheelEvent(QWheelEvent* e) {
    const QPointF q = e->position();
    const sphere::Point2 before = toPlan(q);
    const double factor = std::pow(1.0015, e->angleDelta().y());
    m_scale = std::clamp(m_scale * factor, 0.01, 2000.0);
    // The point under the pointer stays there.
    const sphere::Point2 after = toPlan(q);
    m_cx += before.x - after.x;
    m_cy += before.y - after.y;
    m_fitted = true;
    update();
}

void SitePlanView::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Space:
            if (!e->isAutoRepeat()) m_space = true;
            setCursor(Qt::OpenHandCursor);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_tool == SiteTool::Building)
                finishBuilding();
            else if (m_tool == SiteTool::Conductor)
                finishConductor();
            return;
        case Qt::Key_Escape:
            if (!m_clicked.empty() || m_grip)
                cancelDrawing();
            else
                select(std::nullopt);
            return;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            if (m_selection && m_tool == SiteTool::Select) {
                static const QString names[] = {
                    QStringLiteral("删除建筑物"), QStringLiteral("删除接闪杆"),
                    QStringLiteral("删除接闪带"), QStringLiteral("删除接闪线")};
                const SiteRef r = *m_selection;
                select(std::nullopt);
                m_model->apply(without(m_model->site(), r), names[int(r.kind)]);
            }
            return;
    }
    QWidget::keyPressEvent(e);
}

void SitePlanView::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        m_space = false;
        setCursor(m_tool == SiteTool::Select ? Qt::ArrowCursor : Qt::CrossCursor);
        return;
    }
    QWidget::keyReleaseEvent(e);
}

}  // namespace tervalen::view
