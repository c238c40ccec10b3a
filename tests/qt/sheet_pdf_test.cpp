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

sheet::SheetRecord groundRecord(int n) {
    forms::Form f(*forms::findForm("frmDZ_ChuiZhi"));
    const std::string count = std::to_string(n);
    forms::applyAll(f, std::vector{Action::set("CmbGg", "50"), Action::set("Cmbρ", "100"),
                                   Action::set("CmbL1", "2.5"), Action::set("CmbN", count),
                                   Action::press("CmdRun_GP")});
    return *sheet::recordOf(f);
}

int pageCount(const QString& path) {
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
}

// The text of each page as pdftotext lays it out, without the page's header and footer
// lines and without empty lines; whitespace squeezed to one space.
std::vector<QStringList> bodyLines(const QString& path, int pages) {
    std::vector<QStringList> result;
    for (int page = 1; page <= pages; ++page) {
        const QString n = QString::number(page);
        const QString text =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), n,
                                              QStringLiteral("-l"), n, path, QStringLiteral("-")});
        QStringList lines;
        for (QString line : text.split(u'\n')) {
            line = line.simplified();
            if (line.isEmpty() || line.startsWith(QStringLiteral("工程名称：")) ||
                line.startsWith(QStringLiteral("第 ")))
                continue;
            lines << line;
        }
        result.push_back(lines);
    }
    return result;
}

// The headings of a document as pdftotext writes them ("3.4 计算结果").
QStringList headingLines(const sheet::Document& doc) {
    QStringList headings;
    for (const sheet::Block& b : doc.blocks)
        if (const auto* h = std::get_if<sheet::Heading>(&b))
            headings << QString::fromStdString(h->number + " " + h->text).simplified();
    return headings;
}

// What every paginated sheet keeps: no page ends with a heading; no line of one page's
// foot comes again at the next page's top (a line drawn on both); the "共 N 页" of every
// page is the file's page count, and the last page has text of the sheet.
void checkBreaks(const sheet::Document& doc, const QString& path, int* pagesOut = nullptr) {
    const int pages = pageCount(path);
    QVERIFY(pages > 0);
    const auto lines = bodyLines(path, pages);
    const QStringList headings = headingLines(doc);
    for (int page = 1; page <= pages; ++page) {
        const QStringList& body = lines[page - 1];
        QVERIFY2(!body.isEmpty(), qPrintable(QStringLiteral("page %1 is blank").arg(page)));
        QVERIFY2(!headings.contains(body.back()),
                 qPrintable(QStringLiteral("page %1 ends with %2").arg(page).arg(body.back())));
        const QString n = QString::number(page);
        const QString whole =
            run(QStringLiteral("pdftotext"),
                {QStringLiteral("-f"), n, QStringLiteral("-l"), n, path, QStringLiteral("-")});
        QVERIFY2(whole.contains(sheet_qt::pageNumberText(page, pages)), qPrintable(whole));
        if (page == 1) continue;
        const QStringList& before = lines[page - 2];
        // A table's header row is repeated on purpose, and a line a page shows more than
        // once (a wrapped cell alike in several rows) is no line drawn twice; every other
        // line is new.
        for (const QString& foot : before.mid(std::max<qsizetype>(0, before.size() - 3)))
            for (const QString& top : body.mid(0, 3))
                QVERIFY2(foot != top || foot.startsWith(QStringLiteral("符号")) ||
                             foot.startsWith(QStringLiteral("序号")) || before.count(foot) > 1 ||
                             body.count(top) > 1,
                         qPrintable(QStringLiteral("pages %1 and %2 both show %3")
                                        .arg(page - 1)
                                        .arg(page)
                                        .arg(foot)));
    }
    if (pagesOut) *pagesOut = pages;
}

// A table of `rows` rows (with a header row) under a heading, after `filler` paragraphs.
sheet::Document tableDocument(int filler, int rows) {
    sheet::Document doc;
    doc.project = "表格";
    for (int i = 0; i < filler; ++i)
        doc.blocks.push_back(sheet::Paragraph{"填充段落 " + std::to_string(i + 1)});
    doc.blocks.push_back(sheet::Heading{2, "1.4", "计算结果"});
    sheet::Table t;
    t.header = {"符号", "名称", "数值", "单位"};
    t.percent = {15, 50, 20, 15};
    for (int r = 0; r < rows; ++r)
        t.rows.push_back({"R" + std::to_string(r + 1), "第 " + std::to_string(r + 1) + " 行",
                          std::to_string(1000 + r), "Ω"});
    doc.blocks.push_back(t);
    doc.blocks.push_back(sheet::Paragraph{"表后段落"});
    return doc;
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
        QVERIFY(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path).ok());

        const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        const QString squeezed = QString(text).remove(QRegularExpression(QStringLiteral("\\s")));
        for (const char* expected :
             {"防雷计算书", "工程名称：某某厂区防雷工程", "1独立单针保护范围计算", "屋面避雷针",
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
        QVERIFY(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path).ok());
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
        QVERIFY(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path).ok());

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
            // The layer LP-RANGE's red (0xd0): the section's two boundary arcs as lines, and
            // the plan's protected outline filled light in the same red.
            QVERIFY2(paths.count(QRegularExpression(
                         QStringLiteral("fill:none;[^\"]*stroke:rgb\\(81\\."))) >= 2,
                     qPrintable(paths.left(2000)));
            QVERIFY2(paths.count(QRegularExpression(QStringLiteral(
                         "fill:rgb\\(81\\.[^\"]*fill-opacity:0\\.[^\"]*stroke:rgb\\(81\\."))) >= 1,
                     qPrintable(paths.left(2000)));
            QVERIFY(!paths.contains(QStringLiteral("<image")));
        }
        QVERIFY2(drawn > 0,
                 qPrintable(run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")})));
    }

    // A project of 30 records, half with drawings: each record's 结论 once in the text,
    // clean breaks, the page count exact.
    void projectBreaksCleanly() {
        sheet::Sheet s;
        for (int i = 0; i < 15; ++i) {
            s.add(rodRecord(std::to_string(15 + i % 10).c_str()));
            s.add(groundRecord(2 + i % 5));
        }
        const sheet::Document doc = sheet::sheetDocument(s.header, s.records);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("project.pdf"));
        QVERIFY(sheet_qt::writePdf(doc, path).ok());
        int pages = 0;
        checkBreaks(doc, path, &pages);
        QVERIFY(pages > 15);
        const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        for (int record = 1; record <= 30; ++record) {
            // A line of its own (a page's first line follows a form feed).
            const QRegularExpression line(
                QStringLiteral("(^|\\s)%1\\.%2\\s+结论\\s").arg(record).arg(record % 2 ? 6 : 5));
            QVERIFY2(text.count(line) == 1, qPrintable(line.pattern()));
        }
        // Every verdict line once: the rods' 结论 state Rx, the earthing ones Rn.
        QCOMPARE(text.count(QStringLiteral("计算得")), 30);
    }

    // A project's sheet opens with its cover (the header's fields, the signers with their
    // dates), the contents (each record's number, label and the page its section starts
    // on) and the summary (each record's result and verdict), and cites the 2010 code.
    void frontMatter() {
        sheet::Sheet s;
        s.header.project = "某厂区防雷";
        s.header.number = "JS-2024-017";
        s.header.revision = "B";
        s.header.calculator = "张工";
        s.header.calculatorDate = "2024-05-17";
        s.header.approver = "赵工";
        s.header.approverDate = "2024-05-20";
        for (int i = 0; i < 8; ++i) {
            s.add(rodRecord(std::to_string(15 + i).c_str()));
            s.add(groundRecord(2 + i % 5));
        }
        s.records[0].requirement = sheet::Requirement{"1", 1, "Rx"};
        s.records[2].requirement = sheet::Requirement{"40", 40, "Rx"};
        s.records[4].label = "3# 独立单针保护范围计算";  // numbered by an earlier version
        const sheet::Document doc = sheet::sheetDocument(s.header, s.records);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("front.pdf"));
        QVERIFY(sheet_qt::writePdf(doc, path).ok());
        int pages = 0;
        checkBreaks(doc, path, &pages);
        if (QTest::currentTestFailed()) return;
        const auto lines = bodyLines(path, pages);

        const QString cover = lines[0].join(u'\n');
        for (const char* expected :
             {"计算书编号 JS-2024-017", "版次 B", "工程名称 某厂区防雷", "规范版本 GB 50057-2010",
              "设计 张工 2024-05-17", "审定 赵工 2024-05-20"})
            QVERIFY2(cover.contains(QString::fromUtf8(expected)),
                     qPrintable(QString::fromUtf8(expected) + " not in\n" + cover));
        QVERIFY2(!cover.contains(QStringLiteral("目录")), qPrintable(cover));

        // Each record's heading on the page the contents name, and once.
        const QString all = [&] {
            QStringList pagesText;
            for (const QStringList& page : lines) pagesText << page.join(u'\n');
            return pagesText.join(u'\n');
        }();
        for (std::size_t r = 0; r < s.records.size(); ++r) {
            const QString heading = QStringLiteral("%1 %2").arg(r + 1).arg(
                QString::fromStdString(sheet::shownLabel(s.records[r])));
            int at = 0, seen = 0;
            for (int page = 1; page <= pages; ++page)
                if (lines[page - 1].contains(heading)) {
                    at = page;
                    ++seen;
                }
            QVERIFY2(seen == 1, qPrintable(heading));
            const QRegularExpression entry(
                QStringLiteral("^%1 (\\d+)$").arg(QRegularExpression::escape(heading)),
                QRegularExpression::MultilineOption);
            const auto match = entry.match(all);
            QVERIFY2(match.hasMatch(), qPrintable(heading));
            QCOMPARE(match.captured(1).toInt(), at);
        }
        QVERIFY(!all.contains(QStringLiteral("3# ")));
        // The summary: the judged records' verdicts, and its own page in the contents.
        QVERIFY2(all.contains(QRegularExpression(
                     QStringLiteral("^1 独立单针保护范围计算 独立单针保护范围计算 "
                                    "Rx = \\d+\\.\\d+ m ≥ 1 m 满足$"),
                     QRegularExpression::MultilineOption)),
                 qPrintable(all.mid(all.indexOf(QStringLiteral("计算项目")), 1500)));
        QVERIFY2(all.contains(QRegularExpression(QStringLiteral("^3 .* ≥ 40 m 不满足$"),
                                                 QRegularExpression::MultilineOption)),
                 qPrintable(all.mid(all.indexOf(QStringLiteral("计算项目")), 1500)));
        QVERIFY(all.contains(QRegularExpression(QStringLiteral("^计算汇总表 2$"),
                                                QRegularExpression::MultilineOption)));
        QVERIFY(all.contains(QStringLiteral("GB 50057-2010 附录D 第D.0.1条")));
    }

    // 每条记录另起一页: each record's heading is the first line of a page; without it the
    // records follow one another on the pages.
    void recordPerPage_data() {
        QTest::addColumn<bool>("perPage");
        QTest::newRow("each on a new page") << true;
        QTest::newRow("one after another") << false;
    }
    void recordPerPage() {
        QFETCH(bool, perPage);
        sheet::Sheet s;
        s.header.recordPerPage = perPage;
        for (int i = 0; i < 3; ++i) {
            s.add(rodRecord("20"));
            s.add(groundRecord(3));
        }
        const sheet::Document doc = sheet::sheetDocument(s.header, s.records);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pages.pdf"));
        QVERIFY(sheet_qt::writePdf(doc, path).ok());
        int pages = 0;
        checkBreaks(doc, path, &pages);
        if (QTest::currentTestFailed()) return;
        const auto lines = bodyLines(path, pages);
        int atTop = 0;
        for (std::size_t r = 0; r < s.records.size(); ++r) {
            const QString heading = QStringLiteral("%1 %2").arg(r + 1).arg(
                QString::fromStdString(sheet::shownLabel(s.records[r])));
            for (const QStringList& page : lines)
                if (!page.isEmpty() && page.front() == heading) ++atTop;
        }
        if (perPage)
            QCOMPARE(atTop, 6);
        else
            QVERIFY2(atTop < 6, qPrintable(QString::number(atTop)));
    }

    // A heading meets the foot of a page at every place in turn: it goes on with its
    // table's header row and first row; the table continued on the next page repeats its
    // header row; each row once.
    void headingKeptWithTable_data() {
        QTest::addColumn<int>("filler");
        for (int filler = 30; filler <= 40; ++filler)
            QTest::newRow(qPrintable(QString::number(filler))) << filler;
    }
    void headingKeptWithTable() {
        QFETCH(int, filler);
        const sheet::Document doc = tableDocument(filler, 60);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("table.pdf"));
        QVERIFY(sheet_qt::writePdf(doc, path).ok());
        int pages = 0;
        checkBreaks(doc, path, &pages);
        QVERIFY(pages >= 2);
        const auto lines = bodyLines(path, pages);
        int rowsSeen = 0;
        for (int page = 1; page <= pages; ++page) {
            const QStringList& body = lines[page - 1];
            const qsizetype heading = body.indexOf(QStringLiteral("1.4 计算结果"));
            if (heading >= 0) {
                QVERIFY(heading + 2 < body.size());
                QCOMPARE(body[heading + 1], QStringLiteral("符号 名称 数值 单位"));
                QVERIFY(body[heading + 2].startsWith(QStringLiteral("R1 第 1 行")));
            }
            const QRegularExpression row(QStringLiteral("^R\\d+ "));
            qsizetype firstRow = 0;
            while (firstRow < body.size() && !body[firstRow].contains(row)) ++firstRow;
            if (firstRow == body.size()) continue;
            QVERIFY2(firstRow > 0 && body[firstRow - 1] == QStringLiteral("符号 名称 数值 单位"),
                     qPrintable(QStringLiteral("page %1 has rows without the header").arg(page)));
            for (const QString& line : body)
                if (line.contains(row)) {
                    ++rowsSeen;
                    QVERIFY2(line.startsWith(QStringLiteral("R%1 ").arg(rowsSeen)),
                             qPrintable(line));
                }
        }
        QCOMPARE(rowsSeen, 60);
    }

    // A paragraph taller than a page (a very long label) goes on over the pages it needs,
    // each of its lines once: numbered words, each in the text once and in order.
    void paragraphOverPages() {
        std::string text;
        for (int i = 0; i < 4000; ++i) text += "词" + std::to_string(10000 + i);
        sheet::Document doc;
        doc.blocks.push_back(sheet::Heading{1, "1", "长段落"});
        doc.blocks.push_back(sheet::Paragraph{text});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.pdf"));
        QVERIFY(sheet_qt::writePdf(doc, path).ok());
        int pages = 0;
        checkBreaks(doc, path, &pages);
        QVERIFY(pages >= 3);
        // The page's own lines only, joined: a word cut at a line's end is whole again.
        QString joined;
        for (const QStringList& body : bodyLines(path, pages)) joined += body.join(QString());
        joined.remove(u' ');
        const auto words = QRegularExpression(QStringLiteral("词(\\d{5})")).globalMatch(joined);
        int expected = 10000;
        for (auto it = words; it.hasNext(); ++expected)
            QCOMPARE(it.next().captured(1).toInt(), expected);
        QCOMPARE(expected, 14000);
    }

    void unwritablePathLeavesWhatWasThere() {
        sheet::Sheet s;
        s.add(rodRecord("20"));
        const QString path = QStringLiteral("/nonexistent-dir/sheet.pdf");
        QVERIFY(!sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), path).ok());
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
        QCOMPARE(sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records), old).why(),
                 std::string("文件是只读的，未替换"));
        QFile f(old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("%PDF earlier"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pdf")));
        QVERIFY(!sheet_qt::writePdf(sheet::sheetDocument(s.header, s.records),
                                    dir.filePath(QStringLiteral("folder.pdf")))
                     .ok());
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
