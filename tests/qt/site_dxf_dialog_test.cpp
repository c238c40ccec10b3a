// 导入 DXF…: the layers chosen from the file's list, the unit asked only when the file
// states none, the roof height given to every building, and a choice that finds nothing
// says so and cannot be imported.

#include "view/site_dxf_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

namespace {

using namespace tervalen;

// A closed LWPOLYLINE rectangle on `layer`, in the file's units.
std::string rect(const char* layer, double x, double y, double w, double h) {
    std::string out = std::string("0\nLWPOLYLINE\n8\n") + layer + "\n90\n4\n70\n1\n";
    const double xs[] = {x, x + w, x + w, x}, ys[] = {y, y, y + h, y + h};
    for (int i = 0; i < 4; ++i)
        out += "10\n" + std::to_string(xs[i]) + "\n20\n" + std::to_string(ys[i]) + "\n";
    return out;
}

// A plan with the entities; $INSUNITS given when `units` is not negative.
QString writePlan(const QTemporaryDir& dir, const char* name, const std::string& entities,
                  int units) {
    std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n";
    if (units >= 0) text += "9\n$INSUNITS\n70\n" + std::to_string(units) + "\n";
    text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
    const QString file = dir.filePath(QString::fromLatin1(name));
    QFile f(file);
    if (f.open(QIODevice::WriteOnly)) f.write(text.data(), qint64(text.size()));
    return file;
}

QString found(const view::SiteDxfDialog& d) {
    return d.findChild<QLabel*>(QStringLiteral("dxfFound"))->text();
}

bool importable(const view::SiteDxfDialog& d) {
    return d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
}

}  // namespace

class SiteDxfDialogTest : public QObject {
    Q_OBJECT
private slots:
    // Every layer of the file ticked at first; unticking one leaves its outlines out, and
    // unticking all of them leaves nothing to import.
    void theLayersChosenAreTheOnesRead() {
        if (!view::dxfImportAvailable()) QSKIP("this build reads no DXF");
        QTemporaryDir dir;
        const QString file = writePlan(
            dir, "two.dxf", rect("A-WALL", 0, 0, 20, 10) + rect("A-ANNEX", 30, 0, 6, 5), 6);
        view::SiteDxfDialog d(45, dir.path());
        QVERIFY(d.load(file));
        QCOMPARE(d.layers()->count(), 2);
        QCOMPARE(d.outlineCount(), 2);
        QVERIFY(importable(d));
        QVERIFY(found(d).contains(QStringLiteral("找到 2 个闭合轮廓，共 230.0 m²")));
        d.roof()->setValue(12.5);
        for (int i = 0; i < d.layers()->count(); ++i)
            if (d.layers()->item(i)->text() == QStringLiteral("A-ANNEX"))
                d.layers()->item(i)->setCheckState(Qt::Unchecked);
        QCOMPARE(d.outlineCount(), 1);
        const sphere::Site s = d.site();
        QCOMPARE(s.hr, 45.0);
        QCOMPARE(int(s.buildings.size()), 1);
        QCOMPARE(s.buildings[0].layer, std::string("A-WALL"));
        QCOMPARE(s.buildings[0].roof, 12.5);
        for (int i = 0; i < d.layers()->count(); ++i)
            d.layers()->item(i)->setCheckState(Qt::Unchecked);
        QCOMPARE(d.outlineCount(), 0);
        QVERIFY(!importable(d));
        QCOMPARE(found(d), QStringLiteral("请至少选择一个图层"));
    }

    // A file that states its unit is read in it, and the unit is not asked; one that does
    // not is read in the unit chosen (metres first offered are not assumed silently: the
    // choice shows, and millimetres make a 20 000 × 10 000 drawing a 20 × 10 m roof).
    void theUnitIsAskedOnlyWhenTheFileHasNone() {
        if (!view::dxfImportAvailable()) QSKIP("this build reads no DXF");
        QTemporaryDir dir;
        view::SiteDxfDialog stated(45, dir.path());
        QVERIFY(stated.load(writePlan(dir, "mm.dxf", rect("0", 0, 0, 20000, 10000), 4)));
        QVERIFY(stated.units()->isHidden());
        QCOMPARE(stated.site().buildings.at(0).outline.at(2).x, 20.0);

        view::SiteDxfDialog asked(45, dir.path());
        QVERIFY(asked.load(writePlan(dir, "none.dxf", rect("0", 0, 0, 20000, 10000), -1)));
        QVERIFY(!asked.units()->isHidden());
        asked.units()->setCurrentIndex(asked.units()->findData(0.001));
        QCOMPARE(asked.outlineCount(), 1);
        QCOMPARE(asked.site().buildings.at(0).outline.at(2).x, 20.0);
        asked.units()->setCurrentIndex(asked.units()->findData(1.0));
        QCOMPARE(asked.site().buildings.at(0).outline.at(2).x, 20000.0);
    }

    // No closed outline: said, and nothing to import; a file that is no DXF is refused
    // with its reason.
    void nothingFoundIsSaid() {
        if (!view::dxfImportAvailable()) QSKIP("this build reads no DXF");
        QTemporaryDir dir;
        const std::string open = "0\nLWPOLYLINE\n8\nA\n90\n3\n70\n0\n10\n0\n20\n0\n10\n5\n20\n0\n"
                                 "10\n5\n20\n5\n";
        view::SiteDxfDialog d(45, dir.path());
        QVERIFY(d.load(writePlan(dir, "open.dxf", open, 6)));
        QCOMPARE(d.outlineCount(), 0);
        QVERIFY(!importable(d));
        QCOMPARE(found(d), QStringLiteral("所选图层中没有闭合的轮廓"));

        const QString bad = dir.filePath(QStringLiteral("bad.dxf"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("AutoCAD Binary DXF\r\n\x1a", 22);
        f.close();
        view::SiteDxfDialog e(45, dir.path());
        QVERIFY(!e.load(bad));
        QVERIFY(!found(e).isEmpty());
        QVERIFY(!importable(e));
    }
};

QTEST_MAIN(SiteDxfDialogTest)
#include "site_dxf_dialog_test.moc"
