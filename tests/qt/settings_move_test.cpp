// The settings the program kept while its application named no organisation (Qt's
// "Unknown Organization") move once to the program's own place: nothing remembered is
// lost, the old file goes, and a new place already in use keeps its values.

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include "shell/startup.h"

using namespace tervalen;

namespace {

QSettings oldPlace() {
    return QSettings(shell::kUnnamedOrganisation, QStringLiteral("Tervalen"));
}

void forget(QSettings&& s) {
    s.clear();
    s.sync();
    QFile::remove(s.fileName());
}

}  // namespace

class SettingsMoveTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // What the program's application was called before it named its organisation:
        // Qt's own name for none is where its settings are.
        QCoreApplication::setOrganizationName(QString());
        QCoreApplication::setApplicationName(QStringLiteral("Tervalen"));
        QCOMPARE(QSettings().fileName(), oldPlace().fileName());
    }
    void init() {
        forget(oldPlace());
        forget(QSettings(QStringLiteral("Tervalen"), QStringLiteral("Tervalen")));
    }
    void cleanup() { init(); }

    void theOldValuesMoveOnceAtStart() {
        const QStringList recent{QStringLiteral("/home/a/工程 1.tvp"), QStringLiteral("/b.tvp")};
        const QByteArray geometry("\x01\xd9\xd0\xcb\x00\x03", 6);
        {
            QSettings old = oldPlace();
            old.setValue(QStringLiteral("projects/recent"), recent);
            old.setValue(QStringLiteral("sheet/designer"), QStringLiteral("某设计院"));
            old.setValue(QStringLiteral("forms/frmLJCS/edition"), QStringLiteral("2010"));
            old.setValue(QStringLiteral("window/geometry"), geometry);
        }
        const QString oldFile = oldPlace().fileName();
        QVERIFY(QFile::exists(oldFile));

        shell::prepareApplication(*qApp);
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Tervalen"));
        const QSettings now;
        QVERIFY(now.fileName() != oldFile);
        QCOMPARE(now.value(QStringLiteral("projects/recent")).toStringList(), recent);
        QCOMPARE(now.value(QStringLiteral("sheet/designer")).toString(),
                 QStringLiteral("某设计院"));
        QCOMPARE(now.value(QStringLiteral("forms/frmLJCS/edition")).toString(),
                 QStringLiteral("2010"));
        QCOMPARE(now.value(QStringLiteral("window/geometry")).toByteArray(), geometry);
        QVERIFY(!QFile::exists(oldFile));

        // Once: a second start finds nothing to move and changes nothing.
        QSettings().setValue(QStringLiteral("sheet/designer"), QStringLiteral("另一设计院"));
        QVERIFY(!shell::moveSettingsFrom(shell::kUnnamedOrganisation));
        QCOMPARE(QSettings().value(QStringLiteral("sheet/designer")).toString(),
                 QStringLiteral("另一设计院"));
        QCoreApplication::setOrganizationName(QString());
    }

    void aNewPlaceInUseKeepsItsValuesAndTheOldFile() {
        oldPlace().setValue(QStringLiteral("sheet/designer"), QStringLiteral("旧的"));
        QSettings(QStringLiteral("Tervalen"), QStringLiteral("Tervalen"))
            .setValue(QStringLiteral("sheet/calculator"), QStringLiteral("李工"));
        QCoreApplication::setOrganizationName(QStringLiteral("Tervalen"));
        QVERIFY(!shell::moveSettingsFrom(shell::kUnnamedOrganisation));
        QCOMPARE(QSettings().value(QStringLiteral("sheet/calculator")).toString(),
                 QStringLiteral("李工"));
        QVERIFY(!QSettings().contains(QStringLiteral("sheet/designer")));
        QCOMPARE(oldPlace().value(QStringLiteral("sheet/designer")).toString(),
                 QStringLiteral("旧的"));
        QCoreApplication::setOrganizationName(QString());
    }
};

QTEST_MAIN(SettingsMoveTest)
#include "settings_move_test.moc"
