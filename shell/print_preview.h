#pragma once
// Printing, with Qt's print preview dialog. Qt's print support lives in a module of the
// program's own (tervalen-print) that is loaded the first time something is printed: the
// program does not load the library at start-up, which costs memory and time for a
// window most sessions never open.

#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QWidget;

#include "calc/common/result.h"

namespace tervalen::shell {

// Draws the pages onto the printer (or the preview) it is given.
using PagePainter = std::function<void(QPagedPaintDevice&)>;

// The module's entry point: shows the preview of what `paint` draws, modal over `parent`,
// from where the user prints; returns the dialog's result.
using PrintPreviewEntry = int (*)(QWidget* parent, const PagePainter* paint);
inline constexpr const char* kPrintPreviewEntry = "tervalen_print_preview";
inline constexpr const char* kPrintModuleName = "tervalen-print";

// The folders the module is looked for in, in order: where it is installed relative to
// the program, then the program's own folder (the build tree, Windows).
QStringList printModuleFolders();

// Finds and loads the module in `folders`: its entry point, or why not (every folder tried
// and why it failed).
Result<PrintPreviewEntry> loadPrintModule(const QStringList& folders);

// Shows the print preview of what `paint` draws: whether the user printed, or why the
// module could not be loaded.
Result<bool> printWithPreview(QWidget* parent, const PagePainter& paint);

}  // namespace tervalen::shell
