// Printing goes through the module loaded on first use: it is found and shows the preview
// of what the program draws, a folder without it gives the reason, and Qt's print support
// is not in the process until then.

#include "shell/print_preview.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tervalen;

namespace {

bool printSupportLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6PrintSupport");
}

}  // namespace

class PrintPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void moduleShowsThePreviewOfWhatIsDrawn() {
#ifdef __linux__
        QVERIFY(!printSupportLoaded());
#endif
        const auto loaded =
            shell::loadPrintModule({QStringLiteral(TERVALEN_PRINT_MODULE_BUILD_DIR)});
        QVERIFY2(loaded.ok(), loaded.why().c_str());
        const shell::PrintPreviewEntry entry = *loaded;
#ifdef __linux__
        QVERIFY(printSupportLoaded());
#endif
        int pagesDrawn = 0;
        const shell::PagePainter paint = [&](QPagedPaintDevice& device) {
            QPainter p(&device);
            p.drawText(100, 100, QStringLiteral("计算书"));
            device.newPage();
            p.drawText(100, 100, QStringLiteral("第 2 页"));
            pagesDrawn += 2;
        };
        bool sawPreview = false;
        QTimer::singleShot(0, this, [&] {
            // By its class name: the test does not link Qt's print support itself.
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            sawPreview = dialog && dialog->inherits("QPrintPreviewDialog");
            if (dialog) dialog->reject();
        });
        entry(nullptr, &paint);
        QVERIFY(sawPreview);
        QVERIFY(pagesDrawn >= 2);
    }

    void folderWithoutTheModuleGivesTheReason() {
        QTemporaryDir empty;
        const auto loaded = shell::loadPrintModule({empty.path()});
        QVERIFY(!loaded.ok());
        const QString error = QString::fromStdString(loaded.why());
        QVERIFY2(error.contains(empty.path()), qPrintable(error));
    }
};

QTEST_MAIN(PrintPreviewTest)
#include "print_preview_test.moc"
