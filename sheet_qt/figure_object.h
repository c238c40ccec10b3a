#pragma once
// The sheet's protection-range drawings inside its QTextDocument: each figure is an inline
// object that the document's layout sizes and paints through this handler, with QPainter
// lines and text, so that a PDF or a printer receives vector paths, not a picture.

#include <QObject>
#include <QTextObjectInterface>
#include <vector>

#include "sheet/document.h"

class QTextDocument;

namespace tervalen::sheet_qt {

class FigureObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // The figures of a document, in the order documentHtml() numbers them.
    FigureObject(std::vector<sheet::Figure> figures, QObject* parent);

    // The figure's size on paper: the text's width, the drawing's height at its scale
    // with its margin, and the line stating the scale.
    static QSizeF sizeMm(const sheet::Figure& figure);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

    const std::vector<sheet::Figure>& figures() const { return m_figures; }

private:
    const sheet::Figure* figureOf(const QTextFormat& format) const;
    std::vector<sheet::Figure> m_figures;
};

// The object type of the figures, and the image name documentHtml() gives figure k
// ("tervalen-figure:k").
inline constexpr int kFigureObjectType = 0x1000 + 13;  // QTextFormat::UserObject + 13
QString figureName(std::size_t index);

// Turns the figure images of a document made from documentHtml() into figure objects
// painted by a handler that the document owns.
void embedFigures(QTextDocument& doc, std::vector<sheet::Figure> figures);

}  // namespace tervalen::sheet_qt
