#include "shell/print_preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace tervalen::shell {

QStringList printModuleFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList folders{
        QDir::cleanPath(program.filePath(QStringLiteral(TERVALEN_PRINT_MODULE_FROM_PROGRAM)))};
    if (!folders.contains(program.path())) folders << program.path();
    return folders;
}

Result<PrintPreviewEntry> loadPrintModule(const QStringList& folders) {
    QStringList failures;
    for (const QString& folder : folders) {
        // Loaded once and kept: QLibrary leaves a loaded module in place.
        QLibrary module(QDir(folder).filePath(QString::fromLatin1(kPrintModuleName)));
        if (!module.load()) {
            failures << module.errorString();
            continue;
        }
        if (auto entry = reinterpret_cast<PrintPreviewEntry>(module.resolve(kPrintPreviewEntry)))
            return entry;
        failures << module.errorString();
    }
    return Failure{failures.join(QLatin1Char('\n')).toStdString()};
}

Result<bool> printWithPreview(QWidget* parent, const PagePainter& paint) {
    static PrintPreviewEntry entry = nullptr;
    if (!entry) {
        const Result<PrintPreviewEntry> loaded = loadPrintModule(printModuleFolders());
        if (!loaded) return Failure{loaded.why()};
        entry = *loaded;
    }
    // The dialog is accepted when it printed.
    return entry(parent, &paint) == 1;
}

}  // namespace tervalen::shell
