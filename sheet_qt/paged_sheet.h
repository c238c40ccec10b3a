#pragma once
// The sheet on A4 portrait pages, paginated here (QTextDocument::print would add page
// numbers of its own): a page header with the 工程名称, a footer with "第 n 页 共 N 页"
// and "Tervalen <version>". The same painting serves the PDF file and a QPrinter (print
// and print preview), both QPagedPaintDevice.

#include <QString>

#include "calc/common/result.h"
#include "sheet/document.h"

class QPagedPaintDevice;

namespace tervalen::sheet_qt {

// Sets the device to A4 portrait with the sheet's margins and paints every page; returns
// the number of pages, 0 when the device could not be painted on.
int paintSheet(const sheet::Document& document, QPagedPaintDevice& device);

// Writes the sheet as a PDF file (fonts embedded), whole or not at all
// (files::writeAtomically). A failure says why not (one line, without the file's name);
// what was there before is then left as it was.
Result<> writePdf(const sheet::Document& document, const QString& path);

// "第 2 页 共 5 页".
QString pageNumberText(int page, int pages);
// "Tervalen 1.0.1".
QString programText();

}  // namespace tervalen::sheet_qt
