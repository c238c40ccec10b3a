// The reference table of soil resistivities: category, name and approximate resistivity,
// with rules around the header and around each category group only.

#include <QPainter>
#include <QWidget>
#include <cmath>
#include <vector>

#include "view/pictures.h"
#include "view/ui_font.h"

namespace tervalen::view {
namespace {

struct Entry {
    const char* name;
    const char* value;    // Ω·m; ranges with "~" between their ends
    bool spread = false;  // a two-character name spread over its cell
};

struct Group {
    std::vector<const char*> categoryLines;  // the category name, one string per line
    std::vector<Entry> entries;
};

const std::vector<Group>& groups() {
    static const std::vector<Group> g = {
        {{"土"},
         {{"陶粘土", "10"},
          {"泥炭、泥灰岩、沼泽地", "20"},
          {"捣碎的土炭", "40"},
          {"黑土、园田土、陶土、白垩土", "50"},
          {"粘土", "60", true},
          {"砂质粘土", "100"},
          {"黄土", "200", true},
          {"含砂粘土、砂土", "300"},
          {"河滩中的砂", "300"},
          {"煤", "300"},
          {"多石土壤", "400"},
          {"上层红色风化粘土、下层红色页岩", "500"},
          {"表层土夹石、下层砾石", "600"}}},
        {{"砂"},
         {{"砂、砂砾", "1000"},
          {"砂层深度>10m、地下水较深的草原", "1000"},
          {"地面粘土深度≤1.5m、底层多岩石", "1000"}}},
        {{"岩石"}, {{"砾石、碎石", "5000"}, {"多岩山地", "5000"}, {"花岗岩", "200000"}}},
        {{"混凝", "土"},
         {{"在水中", "40~55"},
          {"在湿土中", "100~200"},
          {"在干土中", "500~1300"},
          {"在干燥的大气中", "12000~18000"}}},
        {{"矿"}, {{"金属矿石", "0.01~1"}}},
    };
    return g;
}

// Geometry in pixels: the table fills the picture but for a small white margin.
constexpr double kLeft = 4, kTop = 4, kRight = 405, kBottom = 581;
constexpr double kHeaderHeight = 44;
constexpr double kCategoryWidth = 51;  // about an eighth of the width
constexpr double kNameWidth = 240;     // about three fifths
constexpr double kPad = 8;

double crisp(double v) {
    return std::round(v) + 0.5;
}

// Draws the characters of `text` spread evenly from the left to the right end of `cell`.
void drawSpread(QPainter& p, const QRectF& cell, const QString& text) {
    const QFontMetricsF fm(p.font());
    const int n = static_cast<int>(text.size());
    double used = 0;
    for (const QChar c : text) used += fm.horizontalAdvance(c);
    const double gap = n > 1 ? (cell.width() - used) / (n - 1) : 0;
    double x = cell.left();
    for (const QChar c : text) {
        p.drawText(QRectF(x, cell.top(), fm.horizontalAdvance(c) + 1, cell.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QString(c));
        x += fm.horizontalAdvance(c) + gap;
    }
}

class SoilTable : public QWidget {
public:
    explicit SoilTable(QWidget* parent) : QWidget(parent) { fillWhite(this); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::TextAntialiasing);
        QFont font = formFont();
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(QPen(Qt::black, 1));

        const double nameX = kLeft + kCategoryWidth, valueX = nameX + kNameWidth;
        std::size_t rowCount = 0;
        for (const Group& g : groups()) rowCount += g.entries.size();
        const double rowHeight = (kBottom - kTop - kHeaderHeight) / static_cast<double>(rowCount);

        drawHeader(p, nameX, valueX);

        // Rules around each group; the rows inside a group are not separated.
        double y = kTop + kHeaderHeight;
        for (const Group& g : groups()) {
            const double height = rowHeight * static_cast<double>(g.entries.size());
            const QRectF category(kLeft, y, kCategoryWidth, height);
            const double lines = static_cast<double>(g.categoryLines.size());
            for (std::size_t i = 0; i < g.categoryLines.size(); ++i) {
                const QRectF line(category.left(), category.center().y() + (i - lines / 2) * 18,
                                  category.width(), 18);
                p.drawText(line, Qt::AlignCenter, QString::fromUtf8(g.categoryLines[i]));
            }
            double rowTop = y;
            for (const Entry& e : g.entries) {
                const QRectF name(nameX + kPad, rowTop, kNameWidth - 2 * kPad, rowHeight);
                if (e.spread)
                    drawSpread(p, name, QString::fromUtf8(e.name));
                else
                    p.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(e.name));
                p.drawText(QRectF(valueX + kPad, rowTop, kRight - valueX - kPad, rowHeight),
                           Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(e.value));
                rowTop += rowHeight;
            }
            y += height;
            p.drawLine(QPointF(kLeft, crisp(y)), QPointF(kRight, crisp(y)));
        }

        // The outer frame and the two column rules.
        p.drawRect(
            QRectF(crisp(kLeft), crisp(kTop), std::round(kRight - kLeft), std::round(y - kTop)));
        for (double x : {nameX, valueX}) p.drawLine(QPointF(crisp(x), kTop), QPointF(crisp(x), y));
    }

private:
    static void drawHeader(QPainter& p, double nameX, double valueX) {
        const double half = kHeaderHeight / 2;
        p.drawText(QRectF(kLeft, kTop, kCategoryWidth, kHeaderHeight), Qt::AlignCenter,
                   QStringLiteral("类别"));
        // "名称" with its two characters spread apart over the middle of the column.
        const double mid = nameX + kNameWidth / 2;
        drawSpread(p, QRectF(mid - 40, kTop, 80, kHeaderHeight), QStringLiteral("名称"));
        const QRectF value(valueX + kPad, kTop + 2, kRight - valueX - kPad, half - 2);
        p.drawText(value, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("电阻率近似"));
        p.drawText(value.translated(0, half - 2), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("值 Ω·m"));
        p.drawLine(QPointF(kLeft, crisp(kTop + kHeaderHeight)),
                   QPointF(kRight, crisp(kTop + kHeaderHeight)));
    }
};

}  // namespace

QWidget* newSoilTable(QWidget* parent) {
    return new SoilTable(parent);
}

}  // namespace tervalen::view
