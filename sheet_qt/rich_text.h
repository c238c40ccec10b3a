#pragma once
// The sheet as rich text (QtGui only, no widgets): a QTextDocument for the preview, the
// PDF and the printer, and HTML for the panel beside a form. Engineering symbols are
// written with subscripts (R<sub>x</sub>).

#include <QFont>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "calc/common/working.h"
#include "sheet/document.h"
#include "sheet/sheet_record.h"
#include "sheet_qt/song_font.h"

class QPaintDevice;
class QTextDocument;

namespace tervalen::sheet_qt {

// A text with symbols, as HTML: "Rx = √(H×(2×Hr−H))" → "R<sub>x</sub> = √(H×(2×H<sub>r</sub>−H))".
// A symbol is a capital Latin letter not preceded by a Latin letter, followed by letters
// and digits, which are its subscript; a longer run than any symbol is a word.
QString symbolHtml(std::string_view text);

// The document as HTML (a figure as a line that names it), and as a QTextDocument in the
// sheet's font with its figures drawn in it (sheet_qt/figure_object.h).
QString documentHtml(const sheet::Document& document);
std::unique_ptr<QTextDocument> richDocument(const sheet::Document& document);

// Writes, in a document made from documentHtml()/richDocument(), the cells of its first
// tables that differ from `tables` (in order), in place: the document is laid out again
// only where they changed. False, changing nothing, when its first tables are not of
// their shape (the caller then builds the document again).
bool updateTables(QTextDocument& doc, std::span<const sheet::Table> tables);

// A part of a page: a block of a document, or, of a table, its rows [rowBegin, rowEnd)
// under its header row.
struct Piece {
    std::size_t block = 0;
    std::size_t rowBegin = 0;
    std::size_t rowEnd = SIZE_MAX;
};
// The pieces as a QTextDocument laid out on `device` in `width` device pixels without a
// document margin (no width: as richDocument()).
std::unique_ptr<QTextDocument> pieceDocument(const std::vector<sheet::Block>& blocks,
                                             std::span<const Piece> pieces, QPaintDevice* device,
                                             qreal width);

// The panel beside a form: the working of one record, its whole section, and the text
// of a message that refused a press.
QString workingHtml(const Working& working);
QString recordHtml(const sheet::SheetRecord& record, int number = 1);
QString refusalHtml(std::string_view message);

}  // namespace tervalen::sheet_qt
