// Recording calculations into the calculation sheet from the forms, and the 计算书
// window: its records, header, requirement and verdict, preview, PDF and open-again.

#include "shell/sheet_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "forms/action.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "view/form_page.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;
using forms::Action;

class SheetWindowTest : public QObject {
    Q_OBJECT
private:
    std::vector<forms::Message> m_messages;

private slots:
    void init() {
        m_messages.clear();
        view::setMessagePresenter(
            [this](QWidget*, const forms::Message& m) { m_messages.push_back(m); });
        QCoreApplication::setOrganizationName(QStringLiteral("tervalen-test"));
    }

    void recordsCalculationsAndStatesTheVerdict() {
        shell::MDIFangLei w;
        w.show();
        // Nothing calculated yet: the menu entry is disabled and records nothing.
        w.openForm("frmRx_DLDanZ");
        QAction* add = w.menuAction("mnuAddToSheet");
        QVERIFY(!add->isEnabled());
        add->trigger();
        QVERIFY(w.calculationSheet().records.empty());

        view::FormView* v = w.formView("frmRx_DLDanZ");
        v->apply({Action::set("CmbH", "40"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
        QVERIFY(!add->isEnabled());  // refused
        v->apply({Action::set("CmbH", "20"), Action::press("CmdRun")});
        QVERIFY(add->isEnabled());
        auto* page = qobject_cast<view::FormPage*>(v->parentWidget());
        QVERIFY(page && page->panel());
        QVERIFY(page->panel()->addToSheetButton()->isEnabled());
        page->panel()->addToSheetButton()->click();
        // A second calculation of another form, through the menu entry.
        w.openForm("frmDZ_GC");
        w.formView("frmDZ_GC")
            ->apply({Action::set("CmbR", "10"), Action::set("Cmbρ", "100"),
                     Action::set("CmbL", "10"), Action::press("CmdRun")});
        w.menuAction("mnuAddToSheet")->trigger();
        QCOMPARE(w.calculationSheet().records.size(), std::size_t{2});

        w.menuAction("mnuSheet")->trigger();
        shell::SheetWindow* sheet = w.sheetWindow();
        QVERIFY(sheet);
        QCOMPARE(sheet->records()->count(), 2);
        QCOMPARE(sheet->records()->item(0)->text(), QStringLiteral("独立单针保护范围计算"));
        QVERIFY(sheet->preview()->toPlainText().contains(QStringLiteral("11.70115")));
        // The single rod's drawing is in the preview: its range arcs and circles in red.
        QTextDocument* shown = sheet->preview()->document();
        QImage image(shown->size().toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            shown->drawContents(&p);
        }
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
            }
        QVERIFY2(red > 200, qPrintable(QString::number(red)));
        QCOMPARE(w.openWindowList().captions().back(), std::string("计算书"));

        // A requirement on the first record: the distance to cover at Hx.
        sheet->records()->setCurrentRow(0);
        auto* requirement = sheet->findChild<QLineEdit*>(QStringLiteral("Requirement"));
        requirement->setText(QStringLiteral("10"));
        emit requirement->returnPressed();
        QVERIFY2(sheet->preview()->toPlainText().contains(QStringLiteral("满足保护要求")),
                 qPrintable(sheet->preview()->toPlainText()));
        // The header goes into the sheet as typed.
        QLineEdit* project = sheet->headerField(QStringLiteral("工程名称"));
        project->setText(QStringLiteral("某厂区防雷"));
        emit project->textEdited(project->text());
        QCOMPARE(w.calculationSheet().header.project, std::string("某厂区防雷"));
        QVERIFY(sheet->plainText().contains(QStringLiteral("某厂区防雷")));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        QVERIFY(sheet->exportPdf(pdf).ok());
        QVERIFY(QFileInfo(pdf).size() > 1000);

        // Open again: the closed form comes back with the record's inputs and results.
        w.mdiArea()->subWindowList().first()->close();
        QTRY_VERIFY(!w.formView("frmRx_DLDanZ"));
        w.openRecord(w.calculationSheet().records[0]);
        v = w.formView("frmRx_DLDanZ");
        QVERIFY(v);
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicRx"))->text(), QStringLiteral(" 11.70115"));
    }

    // The list says each record's verdict, the preview follows the selection, and an export
    // or a copy is confirmed in the status bar.
    void theListShowsVerdictsAndThePreviewFollows() {
        shell::MDIFangLei w;
        w.show();
        w.openForm("frmRx_DLSanZ");
        w.formView("frmRx_DLSanZ")
            ->apply({Action::set("CmbH", "15"), Action::set("CmbHx", "4.5"),
                     Action::set("CmbL", "40"), Action::press("CmdRun")});
        w.menuAction("mnuAddToSheet")->trigger();
        w.openForm("frmRx_DLDanZ");
        w.formView("frmRx_DLDanZ")
            ->apply(
                {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
        w.menuAction("mnuAddToSheet")->trigger();
        w.openForm("frmDZ_GC");
        w.formView("frmDZ_GC")
            ->apply({Action::set("CmbR", "10"), Action::set("Cmbρ", "100"),
                     Action::set("CmbL", "10"), Action::press("CmdRun")});
        w.menuAction("mnuAddToSheet")->trigger();
        w.menuAction("mnuSheet")->trigger();
        shell::SheetWindow* sheet = w.sheetWindow();
        QVERIFY(sheet);
        sheet->records()->setCurrentRow(1);
        auto* requirement = sheet->findChild<QLineEdit*>(QStringLiteral("Requirement"));
        requirement->setText(QStringLiteral("10"));
        emit requirement->returnPressed();
        // The three rods' centre is open: 不满足 without a requirement; the rod meets its own.
        QVERIFY2(sheet->records()->item(0)->text().endsWith(QStringLiteral("不满足")),
                 qPrintable(sheet->records()->item(0)->text()));
        QVERIFY2(sheet->records()->item(1)->text().endsWith(QStringLiteral("  满足")),
                 qPrintable(sheet->records()->item(1)->text()));
        QCOMPARE(sheet->records()->item(2)->text(),
                 QStringLiteral("人工接地系统工频冲击接地电阻值互算"));

        for (int row : {2, 0, 1}) {
            sheet->records()->setCurrentRow(row);
            const QString heading = sheet->preview()->textCursor().block().text();
            QVERIFY2(
                heading.contains(QString::fromStdString(w.calculationSheet().records[row].label)),
                qPrintable(heading));
        }

        // The sheet's edition of the code, chosen in its header: the citations follow.
        QVERIFY(sheet->preview()->toPlainText().contains(QStringLiteral("附录D 第D.0.1条")));
        QSignalSpy changed(sheet, &shell::SheetWindow::changed);
        auto* edition = sheet->findChild<QComboBox*>(QStringLiteral("规范版本"));
        QVERIFY(edition);
        edition->setCurrentIndex(1);
        emit edition->activated(1);
        QCOMPARE(w.calculationSheet().header.edition, CodeEdition::GB50057_94);
        QCOMPARE(changed.count(), 1);
        QVERIFY(sheet->preview()->toPlainText().contains(QStringLiteral("附录四（滚球法）")));
        QVERIFY(!sheet->preview()->toPlainText().contains(QStringLiteral("附录D")));

        QCOMPARE(shell::SheetWindow::withPdfSuffix(QStringLiteral("/tmp/jsb1")),
                 QStringLiteral("/tmp/jsb1.pdf"));
        QCOMPARE(shell::SheetWindow::withPdfSuffix(QStringLiteral("/tmp/A.PDF")),
                 QStringLiteral("/tmp/A.PDF"));
        QSignalSpy said(sheet, &shell::SheetWindow::said);
        for (QPushButton* b : sheet->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("复制为文本")) b->click();
        QCOMPARE(said.count(), 1);
        QCOMPARE(said.first().first().toString(),
                 QStringLiteral("已将计算书复制为文本（3 条记录）"));
        QCOMPARE(w.statusBar()->currentMessage(), said.first().first().toString());
    }

    // 更新此记录: a form opened again from a record offers to update it; the record takes the
    // new calculation in its place, with its label and requirement, wherever it moved since;
    // the project is marked changed. 采用重新计算结果 clears the mark of a record read with
    // other results. A keystroke in the header rewrites the cover in the preview in place.
    void recordsAreUpdatedInPlace() {
        shell::MDIFangLei w;
        w.show();
        w.openForm("frmRx_DLDanZ");
        view::FormView* v = w.formView("frmRx_DLDanZ");
        for (const char* H : {"15", "20", "25"}) {
            v->apply({Action::set("CmbH", H), Action::set("CmbHx", "5"), Action::press("CmdRun")});
            w.menuAction("mnuAddToSheet")->trigger();
        }
        QAction* update = w.menuAction("mnuUpdateRecord");
        QVERIFY(update && !update->isEnabled());  // not opened from a record
        auto* page = qobject_cast<view::FormPage*>(v->parentWidget());
        QVERIFY(page->panel()->updateRecordButton()->isHidden());

        sheet::Sheet& sheet = w.calculationSheet();
        sheet.records[1].label = "屋面避雷针";
        sheet.records[1].requirement = sheet::Requirement{"10", 10, "Rx"};
        w.openRecord(sheet.records[1]);
        QVERIFY(update->isEnabled());
        QVERIFY(!page->panel()->updateRecordButton()->isHidden());
        // Moved to the top meanwhile, then updated from the form.
        std::swap(sheet.records[0], sheet.records[1]);
        v->apply({Action::set("CmbH", "22"), Action::press("CmdRun")});
        page->panel()->updateRecordButton()->click();
        QCOMPARE(sheet.records.size(), std::size_t{3});
        QCOMPARE(sheet.records[0].label, std::string("屋面避雷针"));
        QVERIFY(sheet.records[0].requirement);
        QCOMPARE(sheet.records[0].known[1].value, std::string("22"));
        QCOMPARE(sheet.records[1].known[1].value, std::string("15"));
        QVERIFY(w.hasUnsavedChanges());
        QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("已更新")));
        // Removed: nothing to update any more, said so.
        sheet.records.erase(sheet.records.begin());
        v->apply({Action::set("CmbH", "23"), Action::press("CmdRun")});
        update->trigger();
        QCOMPARE(sheet.records.size(), std::size_t{2});
        QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("未更新")));
        QVERIFY(!update->isEnabled());

        // A record read with other results takes the recomputed ones.
        sheet.records[0].mismatch = sheet::Mismatch{false, {}, {{"Rx", "保护半径", "9", "m"}}};
        w.menuAction("mnuSheet")->trigger();
        shell::SheetWindow* window = w.sheetWindow();
        window->refresh();
        window->records()->setCurrentRow(1);
        QVERIFY(!window->adoptButton()->isEnabled());
        window->records()->setCurrentRow(0);
        QVERIFY(window->adoptButton()->isEnabled());
        QVERIFY(window->records()->item(0)->text().contains(QStringLiteral("结果与保存时不同")));
        window->adoptButton()->click();
        QVERIFY(!sheet.records[0].mismatch);
        QVERIFY(!window->records()->item(0)->text().contains(QStringLiteral("结果与保存时不同")));

        // The cover follows the header field as typed, in the same document.
        QTextDocument* before = window->preview()->document();
        QLineEdit* number = window->headerField(QStringLiteral("计算书编号"));
        QVERIFY(number);
        number->setFocus();
        QTest::keyClicks(number, QStringLiteral("JS-9"));
        QCOMPARE(sheet.header.number, std::string("JS-9"));
        QCOMPARE(window->preview()->document(), before);
        QVERIFY(window->preview()->toPlainText().contains(QStringLiteral("JS-9")));
        QLineEdit* approved = window->headerField(QStringLiteral("审定人日期"));
        QVERIFY(approved);
        QTest::keyClicks(approved, QStringLiteral("2024-06-01"));
        QCOMPARE(sheet.header.approverDate, std::string("2024-06-01"));
        QVERIFY(window->preview()->toPlainText().contains(QStringLiteral("2024-06-01")));
    }

    // The edition chosen last is where the next run starts; a record keeps the edition and
    // use it was computed by, in the sheet and when opened again under another choice.
    void theStrikesKeepTheirEdition() {
        QSettings().setValue(QStringLiteral("forms/frmLJCS/edition"), QStringLiteral("2010"));
        shell::MDIFangLei w;
        w.show();
        w.openForm("frmLJCS");  // the forms are made, and read their settings, on first use
        QSettings().remove(QStringLiteral("forms"));
        view::FormView* v = w.formView("frmLJCS");
        auto* page = qobject_cast<view::FormPage*>(v->parentWidget());
        QComboBox* edition = page->panel()->settingBox("edition");
        QCOMPARE(edition->currentText(), QStringLiteral("GB 50057-2010"));
        page->panel()->settingBox("use")->setCurrentIndex(0);
        QTest::keyClick(page->panel()->settingBox("use"), Qt::Key_End);  // the public buildings
        v->apply({Action::set("CmbTd", "40"), Action::set("CmbL", "50"), Action::set("CmbW", "20"),
                  Action::set("CmbH", "30"), Action::press("CmdRun")});
        w.menuAction("mnuAddToSheet")->trigger();
        QTest::keyClick(edition, Qt::Key_Up);
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicN"))->text(), QStringLiteral(" 0.07844704"));

        w.menuAction("mnuSheet")->trigger();
        const QString text = w.sheetWindow()->plainText();
        QVERIFY2(text.contains(QStringLiteral("GB 50057-2010 附录A（建筑物年预计雷击次数）")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("N > 0.05，依据 GB 50057-2010 第3.0.3条第9款")));
        w.openRecord(w.calculationSheet().records[0]);
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicN"))->text(), QStringLiteral(" 0.1080805"));
        QCOMPARE(edition->currentText(), QStringLiteral("GB 50057-2010"));
    }
};

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
