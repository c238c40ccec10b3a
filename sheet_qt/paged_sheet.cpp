#include "sheet_qt/paged_sheet.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "drawing_qt/render.h"
#include "sheet_qt/figure_object.h"
#include "sheet_qt/rich_text.h"
#include "version.h"

namespace tervalen::sheet_qt {
namespace {

const QPageLayout kA4Portrait(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                              QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);

// The header and the footer, each in a band of its own above and below the body.
void paintFrame(QPainter& p, const QRectF& page, qreal band, const QString& project, int pageNo,
                int pages) {
    QFont small = sheetFont();
    small.setPointSizeF(9);
    p.setFont(small);
    p.setPen(QPen(Qt::black, 0));
    const QRectF top(page.left(), page.top(), page.width(), band * 0.7);
    p.drawText(top, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("工程名称：") + project);
    p.drawText(top, Qt::AlignRight | Qt::AlignBottom, QString::fromUtf8(sheet::kSheetTitle));
    p.drawLine(QPointF(page.left(), band * 0.8), QPointF(page.right(), band * 0.8));
    const QRectF bottom(page.left(), page.bottom() - band * 0.7, page.width(), band * 0.7);
    p.drawLine(QPointF(page.left(), bottom.top() - band * 0.1),
               QPointF(page.right(), bottom.top() - band * 0.1));
    p.drawText(bottom, Qt::AlignHCenter | Qt::AlignTop, pageNumberText(pageNo, pages));
    p.drawText(bottom, Qt::AlignRight | Qt::AlignTop, programText());
}

}  // namespace

QString pageNumberText(int page, int pages) {
    return QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pages);
}

QString programText() {
    return QStringLiteral("Tervalen ") + QString::fromLatin1(kVersion);
}

int paintSheet(const sheet::Document& document, QPagedPaintDevice& device) {
    device.setPageLayout(kA4Portrait);
    QPainter p;
    if (!p.begin(&device)) return 0;
    const int dpi = device.logicalDpiY();
    const QRectF page(QPointF(0, 0), device.pageLayout().paintRectPixels(dpi).size());
    const qreal band = 12 * dpi / 25.4;
    const QRectF body(page.left(), page.top() + band, page.width(), page.height() - 2 * band);

    const auto doc = richDocument(document);
    doc->documentLayout()->setPaintDevice(&device);
    doc->setDocumentMargin(0);
    doc->setPageSize(body.size());
    keepHeadingsWithFigures(*doc, body.height());
    const int pages = doc->pageCount();
    const QString project = QString::fromStdString(document.project);
    for (int i = 0; i < pages; ++i) {
        if (i > 0) device.newPage();
        paintFrame(p, page, band, project, i + 1, pages);
        p.save();
        // The document is one long strip of pages; show page i of it in the body.
        p.translate(body.left(), body.top() - i * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * body.height(), body.width(), body.height());
        p.setClipRect(context.clip);
        doc->documentLayout()->draw(&p, context);
        p.restore();
    }
    p.end();
    return pages;
}

QString writePdf(const sheet::Document& document, const QString& path) {
    // Made whole in memory first; the file is written only once it is complete, and as a
    // whole (a failure or a kill leaves what was there before).
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(QString::fromUtf8(sheet::kSheetTitle));
        writer.setCreator(programText());
        pages = paintSheet(document, writer);
    }
    if (pages <= 0 || pdf.data().isEmpty()) return QStringLiteral("无法生成 PDF");
    return drawing_qt::writeWhole(path, pdf.data());
}

}  // namespace tervalen::sheet_qt
