// The calculation sheet as PDF, offscreen: two recorded calculations written to a file
// and read back with pdftotext (labels, formulas, values, 结论, page header and footer)
// and pdffonts (every font embedded); long sheets paginated with their own numbers; a
// protection-range drawing as vector paths (pdfimages, pdftocairo); symbols subscripted
// in the rich rendering.

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "forms/catalog.h"
#include "forms/form.h"
#include "sheet/document.h"
#include "sheet_qt/paged_sheet.h"
#include "sheet_qt/rich_text.h"

using namespace tervalen;
using forms::Action;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

sheet::SheetRecord rodRecord(const char* H) {
    forms::Form f(*forms::findForm("frmRx_DLDanZ"));
    forms::applyAll(
        f, std::vector{Action::set("CmbH", H), Action::set("CmbHx", "5"), Action::press("CmdRun")});
    return *sheet::recordOf(f);
}

// A record with working as the units record it, and a requirement.
sheet::SheetRecord workedRecord() {
    sheet::SheetRecord r = rodRecord("20");
    r.working = {{"h0", "√(H×(2×Hr−H))", "√(20×(2×30−20))", "28.28427", "m", ""},
                 {"", "", "", "", "", "H ≤ Hr"},
                 {"Rx", "h0−√(Hx×(2×Hr−Hx))", "28.28427−√(5×(2×30−5))", "11.70115", "m", ""}};
    r.requirement = sheet::Requirement{"10", 10, "Rx"};
    r.label = "屋面避雷针";
    return r;
}

}  // namespace

class SheetPdfTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QFAIL("pdftotext is missing: poppler-utils is installed by scripts/deps.sh");
    }

    void twoRecordsReadBack() {
        sheet::Sheet s;
        s.header.project = QStringLiteral("某某厂区防雷工程").toStdString();
        s.add(rodRecord("25"));
        s.add(workedRecord());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
        QCOMPARE(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path), QString());

        const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        const QString squeezed = QString(text).remove(QRegularExpression(QStringLiteral("\\s")));
        for (const char* expected :
             {"防雷计算书", "工程名称：某某厂区防雷工程", "1#独立单针保护范围计算", "屋面避雷针",
              "计算依据", "已知条件", "计算过程", "计算结果", "结论", "滚球半径",
              "√(H×(2×Hr−H))=√(20×(2×30−20))=28.28427m", "H≤Hr", "11.70115",
              "Rx=11.70m≥10m，满足保护要求", "第1页共", "Tervalen1.0.1",
              "中间结果显示7位有效数字，计算按未舍入值进行。", "须经设计人校核"}) {
            QVERIFY2(squeezed.contains(QString::fromUtf8(expected).remove(u' ')),
                     qPrintable(QStringLiteral("missing ") + QString::fromUtf8(expected) +
                                QStringLiteral(" in\n") + text));
        }
        // The first record's own value: a rod of 25 m.
        QVERIFY2(squeezed.contains(QStringLiteral("避雷针高度25m")), qPrintable(text));

        const QString fonts = run(QStringLiteral("pdffonts"), {path});
        const QStringList rows = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY2(!rows.isEmpty(), qPrintable(fonts));
        for (const QString& row : rows) {
            // name, type…, then emb sub uni object generation
            const QStringList cols = row.split(u' ', Qt::SkipEmptyParts);
            QVERIFY2(cols.size() >= 6 && cols[cols.size() - 5] == QStringLiteral("yes"),
                     qPrintable(QStringLiteral("not embedded: ") + row));
        }
    }

    void longSheetNumbersItsPages() {
        sheet::Sheet s;
        for (int i = 0; i < 12; ++i) s.add(workedRecord());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.pdf"));
        QCOMPARE(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path), QString());
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        const auto pages =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        QVERIFY2(pages > 1, qPrintable(info));
        for (int page = 1; page <= pages; ++page) {
            const QString text =
                run(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                     QString::number(page), path, QStringLiteral("-")});
            QVERIFY2(text.contains(sheet_qt::pageNumberText(page, pages)), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("工程名称：")));
            // Only our own numbering: no page number of QTextDocument::print.
            QCOMPARE(text.count(QStringLiteral("第 ")), 1);
        }
    }

    // A record of a range form carries its drawing: vector paths (the range's red arcs and
    // circles, no picture), its labels as text, the scale stated, on one page with its
    // heading.
    void drawingGoesInAsVectors() {
        sheet::Sheet s;
        s.add(rodRecord("20"));
        const auto figure = sheet::figureOf(s.records.front());
        QVERIFY(figure && figure->scale > 0);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drawing.pdf"));
        QCOMPARE(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path), QString());

        const QString images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
        QCOMPARE(images.split(u'\n', Qt::SkipEmptyParts).size(), 2);  // the column heads only

        const QString info = run(QStringLiteral("pdfinfo"), {path});
        const int pages =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        int drawn = 0;
        for (int page = 1; page <= pages; ++page) {
            const QString n = QString::number(page);
            const QString text =
                run(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), n, QStringLiteral("-l"), n, path, QStringLiteral("-")})
                    .remove(QRegularExpression(QStringLiteral("\\s")));
            if (!text.contains(QStringLiteral("比例1:%1（单位：米）").arg(figure->scale))) continue;
            drawn = page;
            QVERIFY2(text.contains(QStringLiteral("1.5保护范围图")), qPrintable(text));
            for (const char* label :
                 {"接闪杆（避雷针）", "滚球半径Hr=30", "Rx=11.70115", "r0=28.28427"})
                QVERIFY2(text.contains(QString::fromUtf8(label)), label);
            const QString svg = dir.filePath(QStringLiteral("page.svg"));
            run(QStringLiteral("pdftocairo"), {QStringLiteral("-svg"), QStringLiteral("-f"), n,
                                               QStringLiteral("-l"), n, path, svg});
            QFile f(svg);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString paths = QString::fromUtf8(f.readAll());
            // The layer LP-RANGE's red (0xd0): two boundary arcs, the Rx and r0 circles.
            QVERIFY2(paths.count(QRegularExpression(
                         QStringLiteral("fill:none;[^\"]*stroke:rgb\\(81\\."))) >= 4,
                     qPrintable(paths.left(2000)));
            QVERIFY(!paths.contains(QStringLiteral("<image")));
        }
        QVERIFY2(drawn > 0,
                 qPrintable(run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")})));
    }

    void unwritablePathLeavesWhatWasThere() {
        sheet::Sheet s;
        s.add(rodRecord("20"));
        const QString path = QStringLiteral("/nonexistent-dir/sheet.pdf");
        QVERIFY(!sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path).isEmpty());
        QVERIFY(!QFile::exists(path));
        // An earlier export that may not be replaced, and a folder of that name: kept.
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.pdf"));
        {
            QFile f(old);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("%PDF earlier");
        }
        QVERIFY(QFile::setPermissions(old, QFileDevice::ReadOwner));
        QCOMPARE(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), old),
                 QStringLiteral("文件是只读的，未替换"));
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("%PDF earlier"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pdf")));
        QVERIFY(!sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records),
                                    dir.filePath(QStringLiteral("folder.pdf")))
                     .isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("folder.pdf"), QStringLiteral("old.pdf")}));
    }

    void symbols_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::newRow("symbol") << "Rx = 11.70115 m"
                                << "R<sub>x</sub> = 11.70115 m";
        QTest::newRow("in a formula") << "√(H×(2×Hr−H))"
                                      << "√(H×(2×H<sub>r</sub>−H))";
        QTest::newRow("after a digit") << "ln(4L1/D)"
                                       << "ln(4L<sub>1</sub>/D)";
        QTest::newRow("capital subscript") << "RMn = RM/N"
                                           << "R<sub>Mn</sub> = R<sub>M</sub>/N";
        QTest::newRow("exponent") << "1.234568E+07"
                                  << "1.234568E+07";
        QTest::newRow("word") << "Tervalen 1.0.1"
                              << "Tervalen 1.0.1";
        QTest::newRow("standard's name")
            << "按 GB 50057-2010 附录A，Ng = 0.1×Td"
            << "按 GB 50057-2010 附录A，N<sub>g</sub> = 0.1×T<sub>d</sub>";
        QTest::newRow("longest symbol") << "Bx1o"
                                        << "B<sub>x1o</sub>";
        QTest::newRow("lower-case word") << "ln(x)"
                                         << "ln(x)";
        QTest::newRow("escaped") << "H<Hr & x"
                                 << "H&lt;H<sub>r</sub> &amp; x";
        QTest::newRow("label in parentheses") << "H(针尖) = 9.02 m"
                                              << "H(针尖) = 9.02 m";
    }
    void symbols() {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QCOMPARE(sheet_qt::symbolHtml(text.toStdString()), html);
    }

    void panelHtml() {
        const sheet::SheetRecord r = workedRecord();
        const QString working = sheet_qt::workingHtml(r.working);
        QVERIFY(working.contains(QStringLiteral("R<sub>x</sub> = h0−√(H<sub>x</sub>")));
        QCOMPARE(working.count(QStringLiteral("<p ")), 3);
        const QString refusal =
            sheet_qt::refusalHtml("避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！");
        QCOMPARE(refusal.count(QStringLiteral("<p ")), 2);
        QVERIFY(refusal.contains(QStringLiteral("避雷针太高！")));
        QTextDocument doc;
        doc.setHtml(sheet_qt::recordHtml(r, 4));
        QVERIFY(doc.toPlainText().contains(QStringLiteral("Rx = 11.70 m ≥ 10 m，满足保护要求")));
        QVERIFY(doc.toPlainText().contains(QStringLiteral("4.3")));
    }
};

QTEST_MAIN(SheetPdfTest)
#include "sheet_pdf_test.moc"
