#include "sheet_qt/figure_object.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "drawing_qt/render.h"
#include "sheet_qt/song_font.h"

namespace tervalen::sheet_qt {
namespace {

constexpr int kFigureIndex = QTextFormat::UserProperty + 1;
const QString kFigurePrefix = QStringLiteral("tervalen-figure:");

static_assert(kFigureObjectType == QTextFormat::UserObject + 13);

// Device pixels to a millimetre where the document is laid out: the printer or the PDF
// writer the layout paints on, else the screen.
double dotsPerMm(QTextDocument* doc) {
    const QPaintDevice* device = doc ? doc->documentLayout()->paintDevice() : nullptr;
    if (device) return device->logicalDpiX() / 25.4;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->logicalDotsPerInchX() : 96.0) / 25.4;
}

}  // namespace

QString figureName(std::size_t index) {
    return kFigurePrefix + QString::number(index);
}

FigureObject::FigureObject(std::vector<sheet::Figure> figures, QObject* parent)
    : QObject(parent), m_figures(std::move(figures)) {}

QSizeF FigureObject::sizeMm(const sheet::Figure& f) {
    const auto b = f.drawing.bounds();
    if (!b || f.scale <= 0) return {};
    const double h = (b->height() + 2 * f.drawing.margin()) * 1000 / f.scale;
    return {sheet::kFigureWidthMm, h + drawing::kScaleLineMm};
}

const sheet::Figure* FigureObject::figureOf(const QTextFormat& format) const {
    const int k = format.property(kFigureIndex).toInt();
    return k >= 0 && k < static_cast<int>(m_figures.size()) ? &m_figures[k] : nullptr;
}

QSizeF FigureObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
    const sheet::Figure* f = figureOf(format);
    if (!f) return {};
    QSizeF size = sizeMm(*f) * dotsPerMm(doc);
    // Narrower than the page where the text is (a preview): the whole figure, smaller.
    const double room = doc->pageSize().width() - 2 * doc->documentMargin();
    if (room > 0 && size.width() > room) size *= room / size.width();
    return size;
}

void FigureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                              const QTextFormat& format) {
    const sheet::Figure* f = figureOf(format);
    if (!f) return;
    const QSizeF mm = sizeMm(*f);
    if (mm.isEmpty()) return;
    painter->save();
    painter->setFont(sheetFont());
    drawing_qt::paintAtScale(*painter, f->drawing, rect, f->scale, rect.width() / mm.width());
    painter->restore();
}

void embedFigures(QTextDocument& doc, std::vector<sheet::Figure> figures) {
    auto* handler = new FigureObject(std::move(figures), &doc);
    doc.documentLayout()->registerHandler(kFigureObjectType, handler);
    // Where the figure images are, first; changing their format changes the fragments.
    std::vector<std::pair<int, int>> found;  // position, figure
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            if (name.startsWith(kFigurePrefix))
                for (int i = 0; i < it.fragment().length(); ++i)
                    found.emplace_back(it.fragment().position() + i,
                                       name.mid(kFigurePrefix.size()).toInt());
        }
    // One edit: the layout is done again once, not once a figure.
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (auto [position, k] : found) {
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setObjectType(kFigureObjectType);
        format.setProperty(kFigureIndex, k);
        c.setCharFormat(format);
    }
    c.endEditBlock();
}

}  // namespace tervalen::sheet_qt
