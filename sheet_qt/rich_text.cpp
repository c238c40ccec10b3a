#include "sheet_qt/rich_text.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "sheet/text_render.h"
#include "sheet_qt/figure_object.h"

namespace tervalen::sheet_qt {
namespace {

// The longest symbol the forms use: "Bx1o".
constexpr qsizetype kLongestSymbol = 4;

bool latin(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
bool latinOrDigit(QChar c) {
    return latin(c) || (c >= u'0' && c <= u'9');
}

QString plainHtml(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

QString textHtml(const std::string& text, bool symbolic) {
    return symbolic ? symbolHtml(text) : plainHtml(text);
}

// The table, or its rows [rowBegin, rowEnd) under its header row (a table continued on
// the next page repeats its header).
QString tableHtml(const sheet::Table& t, std::size_t rowBegin = 0,
                  std::size_t rowEnd = std::numeric_limits<std::size_t>::max()) {
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\" "
        "style=\"border-collapse:collapse; border-color:#000\">");
    // The widths go on the first row's cells, which the layout follows for the whole table.
    const auto cell = [&](const char* tag, std::size_t column, bool first) {
        QString open = QStringLiteral("<%1 align=\"left\"").arg(QLatin1String(tag));
        if (first && column < t.percent.size())
            open += QStringLiteral(" width=\"%1%\"").arg(t.percent[column]);
        return open + QStringLiteral(">");
    };
    bool first = true;
    if (!t.header.empty()) {
        html += QStringLiteral("<tr>");
        for (std::size_t i = 0; i < t.header.size(); ++i)
            html += cell("th", i, first) + plainHtml(t.header[i]) + QStringLiteral("</th>");
        html += QStringLiteral("</tr>");
        first = false;
    }
    rowEnd = std::min(rowEnd, t.rows.size());
    for (std::size_t r = rowBegin; r < rowEnd; ++r) {
        const auto& row = t.rows[r];
        html += QStringLiteral("<tr>");
        for (std::size_t i = 0; i < row.size(); ++i)
            html += cell("td", i, first) + textHtml(row[i], static_cast<int>(i) == t.symbolColumn) +
                    QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
        first = false;
    }
    return html + QStringLiteral("</table>");
}

struct Writer {
    QString& html;
    std::size_t rowBegin = 0;
    std::size_t rowEnd = std::numeric_limits<std::size_t>::max();
    // Figures as images named figureName(k), which richDocument() turns into drawings;
    // else (HTML for a widget of its own) a line that says where the drawing is.
    std::vector<sheet::Figure>* figures = nullptr;
    void operator()(const sheet::Title& t) const {
        html +=
            QStringLiteral("<h1 align=\"center\">") + plainHtml(t.text) + QStringLiteral("</h1>");
    }
    void operator()(const sheet::Heading& h) const {
        const QString tag = h.level == 1 ? QStringLiteral("h2") : QStringLiteral("h3");
        html += "<" + tag + ">" + plainHtml(h.number) + QStringLiteral("&nbsp;&nbsp;") +
                plainHtml(h.text) + "</" + tag + ">";
    }
    void operator()(const sheet::Paragraph& p) const {
        html += QStringLiteral("<p style=\"margin-top:6px\">") + textHtml(p.text, p.symbolic) +
                QStringLiteral("</p>");
    }
    void operator()(const sheet::Table& t) const { html += tableHtml(t, rowBegin, rowEnd); }
    void operator()(const sheet::Formula& f) const {
        html += QStringLiteral("<p style=\"margin-left:2em\">") +
                symbolHtml(sheet::stepText(f.step)) + QStringLiteral("</p>");
    }
    void operator()(const sheet::Verdict& v) const {
        html += QStringLiteral("<p><b>") + symbolHtml(v.text) + QStringLiteral("</b></p>");
    }
    // A page break, in a document of its own (the preview), as a rule across it.
    void operator()(const sheet::PageBreak&) const { html += QStringLiteral("<hr/>"); }
    void operator()(const sheet::Figure& f) const {
        if (!figures) {
            html += QStringLiteral("<p>") + plainHtml(f.drawing.title) +
                    QStringLiteral("：剖面与平面，比例 1:%1，见“保护范围图”</p>").arg(f.scale);
            return;
        }
        html += QStringLiteral("<p align=\"center\"><img src=\"") + figureName(figures->size()) +
                QStringLiteral("\"/></p>");
        figures->push_back(f);
    }
};

QString blocksHtml(const std::vector<sheet::Block>& blocks,
                   std::vector<sheet::Figure>* figures = nullptr) {
    QString html;
    for (const sheet::Block& b : blocks) std::visit(Writer{html, 0, SIZE_MAX, figures}, b);
    return html;
}

std::unique_ptr<QTextDocument> documentOf(const QString& html, std::vector<sheet::Figure> figures,
                                          QPaintDevice* device, qreal width) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(sheetFont());
    doc->setHtml(html);
    embedFigures(*doc, std::move(figures));
    if (device) doc->documentLayout()->setPaintDevice(device);
    if (width > 0) {
        doc->setDocumentMargin(0);
        doc->setTextWidth(width);
    }
    return doc;
}

}  // namespace

QString symbolHtml(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QString html;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        // A power as a superscript: "Td^1.3", "10^(−6)" (the parentheses only group it).
        if (c == u'^' && i + 1 < s.size()) {
            qsizetype end = i + 1;
            QString power;
            if (s[end] == u'(') {
                const qsizetype close = s.indexOf(u')', end);
                if (close > end) {
                    power = s.mid(end + 1, close - end - 1);
                    end = close + 1;
                }
            } else {
                while (end < s.size() && (s[end].isDigit() || s[end] == u'.')) ++end;
                power = s.mid(i + 1, end - i - 1);
            }
            if (!power.isEmpty()) {
                html += QStringLiteral("<sup>") + power.toHtmlEscaped() + QStringLiteral("</sup>");
                i = end;
                continue;
            }
        }
        const bool starts = c >= u'A' && c <= u'Z' && (i == 0 || !latin(s[i - 1])) &&
                            i + 1 < s.size() && latinOrDigit(s[i + 1]);
        if (!starts) {
            html += QString(c).toHtmlEscaped();
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < s.size() && latinOrDigit(s[end])) ++end;
        // A word, not a symbol; "GB" names a national standard ("GB 50057-2010").
        if (end - i > kLongestSymbol || s.mid(i, end - i) == QLatin1String("GB")) {
            html += s.mid(i, end - i);
            i = end;
            continue;
        }
        html += c + QStringLiteral("<sub>") + s.mid(i + 1, end - i - 1) + QStringLiteral("</sub>");
        i = end;
    }
    return html;
}

bool updateTables(QTextDocument& doc, std::span<const sheet::Table> tables) {
    std::vector<QTextTable*> found;
    for (QTextFrame* f : doc.rootFrame()->childFrames()) {
        if (found.size() == tables.size()) break;
        if (auto* t = qobject_cast<QTextTable*>(f)) found.push_back(t);
    }
    if (found.size() != tables.size()) return false;
    // Each table's rows as its cells read, the header row first.
    const auto rowsOf = [](const sheet::Table& t) {
        std::vector<std::vector<std::string>> rows;
        if (!t.header.empty()) rows.push_back(t.header);
        rows.insert(rows.end(), t.rows.begin(), t.rows.end());
        return rows;
    };
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const auto rows = rowsOf(tables[k]);
        if (found[k]->rows() != static_cast<int>(rows.size())) return false;
        for (const auto& row : rows)
            if (found[k]->columns() != static_cast<int>(row.size())) return false;
    }
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const auto rows = rowsOf(tables[k]);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const QTextTableCell cell =
                    found[k]->cellAt(static_cast<int>(r), static_cast<int>(c));
                QTextCursor at = cell.firstCursorPosition();
                at.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                const QString text = QString::fromStdString(rows[r][c]);
                if (at.selectedText() != text) at.insertText(text);
            }
    }
    return true;
}

QString documentHtml(const sheet::Document& document) {
    return blocksHtml(document.blocks);
}

std::unique_ptr<QTextDocument> richDocument(const sheet::Document& document) {
    std::vector<sheet::Figure> figures;
    const QString html = blocksHtml(document.blocks, &figures);
    return documentOf(html, std::move(figures), nullptr, 0);
}

std::unique_ptr<QTextDocument> pieceDocument(const std::vector<sheet::Block>& blocks,
                                             std::span<const Piece> pieces, QPaintDevice* device,
                                             qreal width) {
    QString html;
    std::vector<sheet::Figure> figures;
    for (const Piece& p : pieces)
        std::visit(Writer{html, p.rowBegin, p.rowEnd, &figures}, blocks[p.block]);
    return documentOf(html, std::move(figures), device, width);
}

QString workingHtml(const Working& working) {
    return blocksHtml(sheet::workingBlocks(working));
}

QString recordHtml(const sheet::SheetRecord& record, int number) {
    return blocksHtml(sheet::recordDocument(record, number).blocks);
}

QString refusalHtml(std::string_view message) {
    QString html;
    for (const QString& line : plainHtml(message).split(u'\n'))
        html += QStringLiteral("<p style=\"color:#a00000\">") + line + QStringLiteral("</p>");
    return html;
}

}  // namespace tervalen::sheet_qt
