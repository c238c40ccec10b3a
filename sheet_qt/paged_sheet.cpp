#include "sheet_qt/paged_sheet.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>
#include <memory>
#include <variant>

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

// What one block takes on the page, laid out alone at the page's width.
struct Measure {
    qreal height = 0;
    // A table with rows: from its top to its first row's text (the header row with it),
    // and where each row's text starts, then the table's foot (rows + 1 values).
    qreal head = 0;
    std::vector<qreal> rowTop;
};

bool isHeading(const sheet::Block& b) {
    return std::holds_alternative<sheet::Heading>(b) || std::holds_alternative<sheet::Title>(b);
}

std::size_t rowCount(const sheet::Block& b) {
    const auto* t = std::get_if<sheet::Table>(&b);
    return t ? t->rows.size() : 0;
}

// The rows of a laid-out table: where each body row's text starts, then the table's foot.
void measureRows(Measure& m, QAbstractTextDocumentLayout* layout, QTextTable* table,
                 const sheet::Table& t, qreal top, qreal bottom) {
    const int headerRows = t.header.empty() ? 0 : 1;
    if (!table || table->rows() != static_cast<int>(t.rows.size()) + headerRows) return;
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const QTextBlock first =
            table->cellAt(static_cast<int>(r) + headerRows, 0).firstCursorPosition().block();
        m.rowTop.push_back(layout->blockBoundingRect(first).top() - top);
    }
    m.rowTop.push_back(bottom - top);
    m.head = m.rowTop.front();
}

// Block i laid out alone.
Measure measureAlone(const std::vector<sheet::Block>& blocks, std::size_t i, QPaintDevice* device,
                     qreal width) {
    const Piece piece{i};
    const auto doc = pieceDocument(blocks, {&piece, 1}, device, width);
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    Measure m;
    m.height = layout->documentSize().height();
    if (const auto* t = std::get_if<sheet::Table>(&blocks[i]); t && !t->rows.empty()) {
        QTextTable* table = nullptr;
        for (QTextFrame* f : doc->rootFrame()->childFrames())
            if ((table = qobject_cast<QTextTable*>(f))) break;
        measureRows(m, layout, table, *t, 0, m.height);
    }
    return m;
}

// Every block of [begin, end) as it lies in the run laid out once as one strip (with the
// spacing between blocks as it will be on a page); block by block where the document's
// blocks cannot be matched with the sheet's. Indexed by block, those outside the run
// left empty.
std::vector<Measure> measureAll(const std::vector<sheet::Block>& blocks, std::size_t begin,
                                std::size_t end, QPaintDevice* device, qreal width) {
    std::vector<Piece> all;
    for (std::size_t i = begin; i < end; ++i) all.push_back({i});
    const auto doc = pieceDocument(blocks, all, device, width);
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const qreal total = layout->documentSize().height();
    struct Item {
        QTextFrame* frame = nullptr;
        QTextBlock block;
    };
    std::vector<Item> items;
    for (auto it = doc->rootFrame()->begin(); !it.atEnd(); ++it)
        items.push_back({it.currentFrame(), it.currentBlock()});
    std::vector<qreal> top;
    std::vector<QTextTable*> tables;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k].frame) {
            top.push_back(layout->frameBoundingRect(items[k].frame).top());
            tables.push_back(qobject_cast<QTextTable*>(items[k].frame));
            continue;
        }
        // The empty block a document keeps before and after a table.
        const bool besideTable = (k > 0 && items[k - 1].frame) ||
                                 (k + 1 < items.size() && items[k + 1].frame) ||
                                 k + 1 == items.size();
        if (items[k].block.length() <= 1 && besideTable) continue;
        top.push_back(layout->blockBoundingRect(items[k].block).top());
        tables.push_back(nullptr);
    }
    std::vector<Measure> m(blocks.size());
    const std::size_t n = end - begin;
    bool matched = top.size() == n;
    for (std::size_t k = 0; matched && k < n; ++k)
        matched = std::holds_alternative<sheet::Table>(blocks[begin + k]) == (tables[k] != nullptr);
    if (!matched) {
        for (std::size_t i = begin; i < end; ++i) m[i] = measureAlone(blocks, i, device, width);
        return m;
    }
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = begin + k;
        const qreal bottom = k + 1 < n ? top[k + 1] : total;
        m[i].height = bottom - top[k];
        if (const auto* t = std::get_if<sheet::Table>(&blocks[i]); t && !t->rows.empty())
            measureRows(m[i], layout, tables[k], *t, top[k], bottom);
    }
    return m;
}

bool onlyHeadingsIn(const std::vector<sheet::Block>& blocks, std::span<const Piece> pieces) {
    return std::all_of(pieces.begin(), pieces.end(),
                       [&](const Piece& p) { return isHeading(blocks[p.block]); });
}

// The pieces of one page, or (part ≥ 0) a block taller than a page with the headings
// before it, of which the page shows the part-th page's worth.
struct Page {
    std::vector<Piece> pieces;
    int part = -1;
    // The page laid out as it was checked, painted as it is (one layout a page).
    std::shared_ptr<QTextDocument> laid;
};

// Splits the blocks of [begin, end), a run without page breaks, into pages of `height`:
// each page's pieces laid out together fit on it (a single block taller than a page goes
// over several pages of its own). A heading stays with what follows it (a table's header
// row and first row, else the next block); a table split between pages repeats its header
// row. Each page is laid out once or a few times, never the document: the time grows with
// the number of pages.
void paginateRun(const std::vector<sheet::Block>& blocks, std::size_t begin, std::size_t end,
                 QPaintDevice* device, qreal width, qreal height, std::vector<Page>& pages) {
    const std::vector<Measure> m = measureAll(blocks, begin, end, device, width);
    const auto chunk = [&](std::size_t i, std::size_t a, std::size_t b) {
        const Measure& t = m[i];
        return t.rowTop.empty() ? t.height : t.head + t.rowTop[b] - t.rowTop[a];
    };
    // What must go on the page with block i: a heading, what follows it as well.
    const auto least = [&](std::size_t i) {
        qreal h = 0;
        for (; i < end; ++i) {
            if (!m[i].rowTop.empty()) return h + chunk(i, 0, 1);
            h += m[i].height;
            if (!isHeading(blocks[i])) break;
        }
        return h;
    };

    const auto onlyHeadings = [&](std::span<const Piece> pieces) {
        return onlyHeadingsIn(blocks, pieces);
    };
    std::size_t i = begin, row = 0;
    while (i < end) {
        Page page;
        qreal y = 0;
        while (i < end) {
            const std::size_t rows = rowCount(blocks[i]);
            if (rows > 0 && !m[i].rowTop.empty()) {
                std::size_t end = row;
                while (end < rows && y + chunk(i, row, end + 1) <= height) ++end;
                if (end == row) {
                    if (!page.pieces.empty()) break;
                    end = row + 1;
                }
                page.pieces.push_back({i, row, end});
                y += chunk(i, row, end);
                if (end < rows) {
                    row = end;
                    break;
                }
            } else {
                const qreal need = isHeading(blocks[i]) ? least(i) : m[i].height;
                // A page that holds only headings so far takes what follows them.
                if (!onlyHeadings(page.pieces) && y + need > height) break;
                page.pieces.push_back({i, row, SIZE_MAX});
                y += m[i].height;
            }
            ++i;
            row = 0;
        }
        // The estimate checked: the page laid out as it will be painted; while it is too
        // tall, its last row or piece goes to the next page (and a heading left last
        // with it).
        for (;;) {
            std::shared_ptr<QTextDocument> doc = pieceDocument(blocks, page.pieces, device, width);
            const qreal laid = doc->documentLayout()->documentSize().height();
            if (laid <= height) {
                page.laid = std::move(doc);
                break;
            }
            Piece& last = page.pieces.back();
            if (last.rowEnd != SIZE_MAX && last.rowEnd - last.rowBegin > 1) {
                i = last.block;
                row = --last.rowEnd;
                continue;
            }
            if (onlyHeadings(std::span(page.pieces).first(page.pieces.size() - 1))) {
                // A block taller than a page (with the headings before it), over as many
                // pages as it needs.
                doc->setPageSize(QSizeF(width, height));
                const int parts = doc->pageCount();
                for (int k = 0; k < parts; ++k) pages.push_back({page.pieces, k, nullptr});
                page.pieces.clear();
                break;
            }
            i = last.block;
            row = last.rowBegin;
            page.pieces.pop_back();
            while (page.pieces.size() > 1 && isHeading(blocks[page.pieces.back().block])) {
                i = page.pieces.back().block;
                row = 0;
                page.pieces.pop_back();
            }
        }
        if (!page.pieces.empty()) pages.push_back(std::move(page));
    }
}

// Every run between page breaks paginated, each from a new page.
std::vector<Page> paginate(const std::vector<sheet::Block>& blocks, QPaintDevice* device,
                           qreal width, qreal height) {
    std::vector<Page> pages;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= blocks.size(); ++i) {
        if (i < blocks.size() && !std::holds_alternative<sheet::PageBreak>(blocks[i])) continue;
        if (i > begin) paginateRun(blocks, begin, i, device, width, height, pages);
        begin = i + 1;
    }
    return pages;
}

// The contents' page column: the page each row's block starts on.
std::vector<sheet::Block> withContentsPages(const sheet::Document& document,
                                            const std::vector<Page>& pages) {
    std::vector<sheet::Block> blocks = document.blocks;
    const sheet::ContentsTable& c = *document.contents;
    auto* table = std::get_if<sheet::Table>(&blocks[c.table]);
    if (!table) return blocks;
    std::vector<int> pageOf(blocks.size(), 0);
    for (std::size_t p = pages.size(); p-- > 0;)
        for (const Piece& piece : pages[p].pieces) pageOf[piece.block] = static_cast<int>(p) + 1;
    for (std::size_t r = 0; r < table->rows.size() && r < c.targets.size(); ++r)
        if (c.targets[r] < pageOf.size() && pageOf[c.targets[r]] > 0 && !table->rows[r].empty())
            table->rows[r].back() = std::to_string(pageOf[c.targets[r]]);
    return blocks;
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

    const std::vector<Page> paged = paginate(document.blocks, &device, body.width(), body.height());
    const int pages = static_cast<int>(paged.size());
    // The pages are known now; the contents take them without changing their own height
    // (the page column is as wide as any number needs, each entry one line).
    std::vector<sheet::Block> filled;
    if (document.contents) filled = withContentsPages(document, paged);
    const std::vector<sheet::Block>& blocks = document.contents ? filled : document.blocks;
    const QString project = QString::fromStdString(document.project);
    std::shared_ptr<QTextDocument> doc;
    const auto holdsContents = [&](const Page& at) {
        return document.contents &&
               std::any_of(at.pieces.begin(), at.pieces.end(), [&](const Piece& piece) {
                   return piece.block == document.contents->table;
               });
    };
    for (int i = 0; i < pages; ++i) {
        const Page& at = paged[i];
        if (i > 0) device.newPage();
        paintFrame(p, page, band, project, i + 1, pages);
        // Each page its own document: nothing of another page is drawn on it (and so
        // nothing is in its text twice). A piece over several pages is laid out once.
        if (at.laid && !holdsContents(at)) {
            doc = at.laid;
        } else if (at.part <= 0) {
            doc = pieceDocument(blocks, at.pieces, &device, body.width());
            if (at.part == 0) {
                doc->setPageSize(body.size());
                doc->documentLayout()->documentSize();  // laid out
            }
        }
        const int part = std::max(at.part, 0);
        p.save();
        p.translate(body.left(), body.top() - part * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        const QRectF shown(0, part * body.height(), body.width(), body.height());
        p.setClipRect(shown);
        if (at.part >= 0 && doc->rootFrame()->childFrames().isEmpty()) {
            // Text over several pages: the lines of this page alone (the layout would
            // draw one line more above the clip, into the PDF's text).
            p.setPen(Qt::black);
            for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
                const QTextLayout* l = b.layout();
                for (int k = 0; k < l->lineCount(); ++k) {
                    const QTextLine line = l->lineAt(k);
                    const qreal y = l->position().y() + line.y();
                    if (y >= shown.top() - 0.5 && y + line.height() <= shown.bottom() + 0.5)
                        line.draw(&p, l->position());
                }
            }
            p.restore();
            continue;
        }
        context.clip = shown;
        doc->documentLayout()->draw(&p, context);
        p.restore();
    }
    p.end();
    return pages;
}

Result<> writePdf(const sheet::Document& document, const QString& path) {
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
    if (pages <= 0 || pdf.data().isEmpty()) return Failure{"无法生成 PDF"};
    return drawing_qt::writeWhole(path, pdf.data());
}

}  // namespace tervalen::sheet_qt
