#include "pdf_export.h"

#include <QGuiApplication>

#include "sheet_qt/paged_sheet.h"

tervalen::Result<> writeSheetPdf(const std::string& path,
                                 const tervalen::sheet::Document& document) {
    // Fonts and painting need a GUI application; the offscreen platform opens no window
    // and needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tervalen-calc";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const tervalen::Result<> done =
        tervalen::sheet_qt::writePdf(document, QString::fromLocal8Bit(path));
    if (done) return {};
    return tervalen::Failure{"无法写入 " + path + "：" + done.why()};
}
