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

PrintPreviewEntry loadPrintModule(const QStringList& folders, QString* error) {
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
    if (error) *error = failures.join(QLatin1Char('\n'));
    return nullptr;
}

QString printWithPreview(QWidget* parent, const PagePainter& paint, bool* printed) {
    static PrintPreviewEntry entry = nullptr;
    QString error;
    if (!entry) entry = loadPrintModule(printModuleFolders(), &error);
    if (!entry) return error;
    // The dialog is accepted when it printed.
    const int result = entry(parent, &paint);
    if (printed) *printed = result == 1;
    return {};
}

}  // namespace tervalen::shell
