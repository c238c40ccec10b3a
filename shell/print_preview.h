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

// Finds and loads the module in `folders`; its entry point, or nullptr with the reason in
// `error` (every folder tried and why it failed).
PrintPreviewEntry loadPrintModule(const QStringList& folders, QString* error);

// Shows the print preview of what `paint` draws. An empty text when the dialog ran (with
// `printed`, when given, set to whether the user printed), the reason the module could
// not be loaded otherwise.
QString printWithPreview(QWidget* parent, const PagePainter& paint, bool* printed = nullptr);

}  // namespace tervalen::shell
