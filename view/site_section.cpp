#include "view/site_section.h"

#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "calc/sphere/engine.h"
#include "view/site_model.h"

namespace tervalen::view {

SectionData sectionOf(const sphere::Site& site, sphere::Point2 a, sphere::Point2 b, int samples) {
    SectionData d;
    const double dx = b.x - a.x, dy = b.y - a.y;
    d.length = std::hypot(dx, dy);
    if (!(d.length > 0)) return d;
    const double ux = dx / d.length, uy = dy / d.length;
    auto along = [&](double x, double y) { return (x - a.x) * ux + (y - a.y) * uy; };
    auto across = [&](double x, double y) { return -(x - a.x) * uy + (y - a.y) * ux; };
    try {
        d.s = sphere::Engine(site).profile(a, b, samples);
    } catch (const std::exception& e) {
        d.problem = QString::fromUtf8(e.what());
        return d;
    }
    // Where the line runs inside each building: the crossings with its edges, paired.
    for (const sphere::Building& bl : site.buildings) {
        std::vector<double> ts;
        const auto& o = bl.outline;
        for (std::size_t k = 0; k < o.size(); ++k) {
            const auto p = o[k], q = o[(k + 1) % o.size()];
            const double sp = across(p.x, p.y), sq = across(q.x, q.y);
            if ((sp > 0) == (sq > 0)) continue;
            const double t = sp / (sp - sq);
            ts.push_back(along(p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)));
        }
        std::sort(ts.begin(), ts.end());
        for (std::size_t k = 0; k + 1 < ts.size(); k += 2) {
            const double from = std::clamp(ts[k], 0.0, d.length),
                         to = std::clamp(ts[k + 1], 0.0, d.length);
            if (to > from) d.buildings.push_back({from, to, bl.base, bl.roof, bl.name});
        }
    }
    for (const sphere::Rod& r : site.rods) {
        const double t = along(r.x, r.y);
        if (std::abs(across(r.x, r.y)) <= 0.5 && t >= 0 && t <= d.length)
            d.rods.push_back({t, r.base, r.tip});
    }
    auto cross = [&](const sphere::Point3& p, const sphere::Point3& q, bool wire,
                     std::optional<double> sag) {
        const double sp = across(p.x, p.y), sq = across(q.x, q.y);
        if ((sp > 0) == (sq > 0) || sp == sq) return;
        const double t = sp / (sp - sq);
        double z = p.z + t * (q.z - p.z);
        if (sag) z -= 4 * *sag * t * (1 - t);
        const double at = along(p.x + t * (q.x - p.x), p.y + t * (q.y - p.y));
        if (at >= 0 && at <= d.length) d.crossings.push_back({at, z, wire});
    };
    for (const sphere::Conductor& c : site.conductors) cross(c.from, c.to, false, std::nullopt);
    for (const sphere::Wire& w : site.wires) cross(w.from, w.to, true, sphere::sagOf(w));
    return d;
}

SiteSectionDialog::SiteSectionDialog(const sphere::Site& site, sphere::Point2 a, sphere::Point2 b,
                                     QWidget* parent)
    : QDialog(parent), m_data(std::make_shared<SectionData>()), m_a(a), m_b(b) {
    setObjectName(QStringLiteral("siteSection"));
    setWindowTitle(QStringLiteral("剖面 (%1, %2) → (%3, %4)")
                       .arg(numberShown(std::round(a.x * 100) / 100),
                            numberShown(std::round(a.y * 100) / 100),
                            numberShown(std::round(b.x * 100) / 100),
                            numberShown(std::round(b.y * 100) / 100)));
    resize(900, 420);
    // One point every 0.25 m, between 50 and 800 points.
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const int samples = std::clamp(int(std::ceil(len / 0.25)), 50, 800);
    auto data = m_data;
    QThread* worker =
        QThread::create([data, site, a, b, samples] { *data = sectionOf(site, a, b, samples); });
    connect(worker, &QThread::finished, this, [this] {
        m_ready = true;
        update();
        emit ready();
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void SiteSectionDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    if (!m_ready) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("正在计算剖面…"));
        return;
    }
    const SectionData& d = *m_data;
    if (!d.problem.isEmpty() || d.s.empty()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("无法计算剖面：%1").arg(d.problem));
        return;
    }
    // To scale: one factor for both axes, the ground near the bottom.
    double top = *std::max_element(d.s.begin(), d.s.end());
    for (const auto& bl : d.buildings) top = std::max(top, bl.roof);
    for (const auto& r : d.rods) top = std::max(top, r.tip);
    for (const auto& c : d.crossings) top = std::max(top, c.z);
    top = std::max(top, 1.0);
    const QRectF area = QRectF(rect()).adjusted(50, 30, -20, -40);
    const double k = std::min(area.width() / d.length, area.height() / top);
    auto at = [&](double t, double z) {
        return QPointF(area.left() + t * k, area.bottom() - z * k);
    };

    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(at(0, 0), at(d.length, 0));
    for (const auto& bl : d.buildings) {
        const QRectF box(at(bl.from, bl.roof), at(bl.to, bl.base));
        p.fillRect(box, QColor(215, 215, 215));
        p.drawRect(box);
        p.drawText(
            box.adjusted(2, 2, -2, -2), Qt::AlignHCenter | Qt::AlignTop,
            QStringLiteral("%1 %2 m").arg(QString::fromStdString(bl.name), numberShown(bl.roof)));
    }
    p.setPen(QPen(Qt::black, 2.5));
    for (const auto& r : d.rods) p.drawLine(at(r.at, r.base), at(r.at, r.tip));
    for (const auto& c : d.crossings) {
        p.setBrush(c.wire ? QColor(40, 60, 160) : QColor(180, 90, 0));
        p.setPen(Qt::NoPen);
        p.drawEllipse(at(c.at, c.z), 4, 4);
    }
    // S: what lies below it is protected.
    QPainterPath curve;
    const int n = int(d.s.size()) - 1;
    for (int i = 0; i <= n; ++i) {
        const QPointF q = at(d.length * i / std::max(n, 1), d.s[std::size_t(i)]);
        if (i == 0)
            curve.moveTo(q);
        else
            curve.lineTo(q);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(208, 0, 0), 2));
    p.drawPath(curve);
    p.setPen(Qt::black);
    p.drawText(QPointF(area.left(), area.top() - 10),
               QStringLiteral("保护面 S（红线）；长 %1 m，最高 %2 m；横竖同比例")
                   .arg(QString::number(d.length, 'f', 2), QString::number(top, 'f', 2)));
    // Ticks along the ground every round distance.
    const double target = 80 / k;
    const double power = std::pow(10.0, std::floor(std::log10(target)));
    double stepM = power;
    for (const double f : {1.0, 2.0, 5.0})
        if (f * power <= target) stepM = f * power;
    for (double t = 0; t <= d.length + 1e-9; t += stepM) {
        p.drawLine(at(t, 0), at(t, 0) + QPointF(0, 5));
        p.drawText(at(t, 0) + QPointF(-10, 20), QString::number(t, 'g', 6));
    }
}

}  // namespace tervalen::view
