// tervalen-print: the program's printing, in a module of its own so that Qt's print
// support is loaded only when something is printed (see print_preview.h).

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <type_traits>

#include "shell/print_preview.h"

extern "C" Q_DECL_EXPORT int tervalen_print_preview(QWidget* parent,
                                                    const tervalen::shell::PagePainter* paint) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [paint](QPrinter* p) { (*paint)(*p); });
    return dialog.exec();
}

// The entry point has the type the program calls it through.
static_assert(
    std::is_same_v<decltype(&tervalen_print_preview), tervalen::shell::PrintPreviewEntry>);
