// The coefficient chart of the impulse conversion: A against L/Le, one line per soil
// resistivity, drawn black on white at 280 × 267 pixels.

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QWidget>
#include <cmath>
#include <numbers>

#include "view/pictures.h"
#include "view/ui_font.h"

namespace tervalen::view {
namespace {

constexpr double kChartWidth = 280;

// Plot geometry in pixels: the origin carries L/Le = 0.05 and sits a little below A = 1.0.
constexpr double kOriginX = 34, kAxisY = 226;
constexpr double kRightX = 258;          // L/Le = 1.0
constexpr double kA1Y = 212, kA3Y = 28;  // A = 1.0 and A = 3.0
constexpr double kAxisTopY = 12, kAxisEndX = 270;

double px(double ratio) {
    return kOriginX + (ratio - 0.05) / 0.95 * (kRightX - kOriginX);
}
double py(double A) {
    return kA1Y - (A - 1.0) / 2.0 * (kA1Y - kA3Y);
}

// Figures and symbols read best in a plain sans face; the forms' faces stand behind it.
QFont chartFont() {
    QFont font = formFont();
    QStringList families{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                         QStringLiteral("Arial")};
    families += font.families();
    font.setFamilies(families);
    font.setPixelSize(10);
    return font;
}

// A crisp one-pixel line along whole pixel coordinates.
double crisp(double v) {
    return std::round(v) + 0.5;
}

// A label on the chart, with the grid cleared behind it so that it reads cleanly.
void drawLabel(QPainter& p, QPointF baseline, const QString& text) {
    const QFontMetricsF fm(p.font());
    const QRectF box = fm.tightBoundingRect(text).translated(baseline).adjusted(-1, -1, 1, 1);
    p.fillRect(box, Qt::white);
    p.drawText(baseline, text);
}

struct SlopedLine {
    double startRatio, startA;  // the line ends in (1.0, 1.0)
    const char* label;
    double labelAt;  // where along the line its label stands, 0 at the start
};

constexpr SlopedLine kLines[] = {
    {0.1, 3.0, "ρ ≥2000 Ω·m", 0.26},
    {0.2, 2.0, "ρ =1000 Ω·m", 0.14},
    {0.3, 1.5, "ρ =500 Ω·m", 0.10},
};

class CoefficientChart : public QWidget {
public:
    explicit CoefficientChart(QWidget* parent) : QWidget(parent) { fillWhite(this); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(chartFont());
        drawGrid(p);
        drawAxes(p);
        drawLines(p);
    }

private:
    static void drawGrid(QPainter& p) {
        const QFontMetricsF fm(p.font());
        p.setPen(QPen(QColor(150, 150, 150), 1));
        // Horizontal grid lines with their A values on the left.
        for (int i = 0; i <= 4; ++i) {
            const double A = 1.0 + 0.5 * i, y = crisp(py(A));
            p.drawLine(QPointF(crisp(kOriginX), y), QPointF(crisp(kRightX), y));
        }
        // Vertical grid lines at 0.1 … 1.0.
        for (int i = 1; i <= 10; ++i) {
            const double x = crisp(px(0.1 * i));
            p.drawLine(QPointF(x, crisp(kAxisY)), QPointF(x, crisp(py(3.0))));
        }
        p.setPen(Qt::black);
        for (int i = 0; i <= 4; ++i) {
            const double A = 1.0 + 0.5 * i;
            const QRectF r(0, py(A) - 8, kOriginX - 5, 16);
            p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QString::number(A, 'f', 1));
        }
        const double labelTop = kAxisY + 3;
        // The origin's label stands left of it so that 0.1 has room beside it.
        p.drawText(QRectF(kOriginX - 32, labelTop, 31, 14), Qt::AlignRight | Qt::AlignTop,
                   QStringLiteral("0.05"));
        for (int i = 1; i <= 10; ++i) {
            const QString t = QString::number(0.1 * i, 'f', 1);
            const double w = fm.horizontalAdvance(t);
            p.drawText(QRectF(px(0.1 * i) - w / 2, labelTop, w + 1, 14),
                       Qt::AlignLeft | Qt::AlignTop, t);
        }
        p.drawText(QRectF(0, kAxisY + 19, kChartWidth - 4, 16), Qt::AlignRight | Qt::AlignTop,
                   QStringLiteral("L/Le"));
        // The ρ ≤100 Ω·m line is the grid line A = 1.0 itself.
        drawLabel(p, QPointF(px(0.12), py(1.0) - 4), QStringLiteral("ρ ≤100 Ω·m"));
    }

    static void drawAxes(QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        const double ox = crisp(kOriginX), oy = crisp(kAxisY);
        p.drawLine(QPointF(ox, oy), QPointF(ox, kAxisTopY));
        p.drawLine(QPointF(ox, oy), QPointF(kAxisEndX, oy));
        // Arrow heads.
        QPainterPath up, right;
        up.moveTo(ox, kAxisTopY - 4);
        up.lineTo(ox - 3, kAxisTopY + 4);
        up.lineTo(ox + 3, kAxisTopY + 4);
        up.closeSubpath();
        right.moveTo(kAxisEndX + 4, oy);
        right.lineTo(kAxisEndX - 4, oy - 3);
        right.lineTo(kAxisEndX - 4, oy + 3);
        right.closeSubpath();
        p.fillPath(up, Qt::black);
        p.fillPath(right, Qt::black);
        QFont italic = p.font();
        italic.setItalic(true);
        p.save();
        p.setFont(italic);
        p.drawText(QRectF(ox - 22, kAxisTopY - 10, 16, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("A"));
        p.restore();
    }

    static void drawLines(QPainter& p) {
        const QPointF end(px(1.0), py(1.0));
        // Each label runs along its line, just above it; the lines go over the labels'
        // cleared backgrounds, never the other way round.
        for (const SlopedLine& l : kLines) {
            const QPointF start(px(l.startRatio), py(l.startA));
            const double angle =
                std::atan2(end.y() - start.y(), end.x() - start.x()) * 180.0 / std::numbers::pi;
            p.save();
            p.translate(start + (end - start) * l.labelAt);
            p.rotate(angle);
            drawLabel(p, QPointF(0, -6), QString::fromUtf8(l.label));
            p.restore();
        }
        p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (const SlopedLine& l : kLines) p.drawLine(QPointF(px(l.startRatio), py(l.startA)), end);
    }
};

}  // namespace

QWidget* newCoefficientChart(QWidget* parent) {
    return new CoefficientChart(parent);
}

}  // namespace tervalen::view
