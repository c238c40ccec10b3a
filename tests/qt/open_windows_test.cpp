// The open-window list under "已运行程序", the About box, and Enter on a form without
// a default button.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>
#include <vector>

#include "forms/catalog.h"
#include "shell/about_box.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/menu_table.h"
#include "version.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;

class OpenWindowsTest : public QObject {
    Q_OBJECT
private:
    std::vector<forms::Message> m_messages;

    // Visible entries of the list, with "*" marking the checked one.
    static QStringList entries(shell::MDIFangLei& w) {
        QStringList out;
        for (QAction* a : w.recentActions())
            if (a->isVisible()) out << (a->isChecked() ? "*" : "") + a->text();
        return out;
    }

private slots:
    void init() {
        m_messages.clear();
        view::setMessagePresenter(
            [this](QWidget*, const forms::Message& m) { m_messages.push_back(m); });
    }

    void listGrowsInOrderOfFirstUseAndChecksTheLast() {
        shell::MDIFangLei w;
        w.show();
        QCOMPARE(entries(w), QStringList());
        w.menuAction("mnuRx_DLDanZ")->trigger();
        w.menuAction("mnuQT_LJCS")->trigger();
        QCOMPARE(entries(w), (QStringList{"独立单针保护范围计算", "*建筑物年预计雷击次数计算"}));
        w.menuAction("mnuRx_DLDanZ")->trigger();
        QCOMPARE(entries(w), (QStringList{"*独立单针保护范围计算", "建筑物年预计雷击次数计算"}));
        // Activating a child by clicking does not move the mark.
        w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList(QMdiArea::CreationOrder).at(1));
        QCOMPARE(entries(w), (QStringList{"*独立单针保护范围计算", "建筑物年预计雷击次数计算"}));
    }

    void closedFormKeepsItsEntryAndReopensWithDefaults() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        w.menuAction("mnuZJXB")->trigger();
        auto* v = w.formView("frmRx_DLDanZ");
        qobject_cast<QLineEdit*>(v->widget("CmbH"))->setText("20");
        qobject_cast<QPushButton*>(v->widget("cmdCancel"))->click();
        QTRY_VERIFY(!w.formView("frmRx_DLDanZ"));
        QCOMPARE(entries(w), (QStringList{"独立单针保护范围计算", "*直角三角形斜边计算"}));
        // Choosing the entry does what the form's menu entry does.
        w.recentActions().at(0)->trigger();
        v = w.formView("frmRx_DLDanZ");
        QVERIFY(v);
        QCOMPARE(qobject_cast<QLineEdit*>(v->widget("CmbH"))->text(), QString());
        QCOMPARE(entries(w), (QStringList{"*独立单针保护范围计算", "直角三角形斜边计算"}));
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
    }

    void aTwentyFirstFormDropsTheOldestEntry() {
        shell::MDIFangLei w;
        w.show();
        QStringList opened;
        for (const auto& e : shell::menuTable()) {
            if (!e.form) continue;
            const forms::FormDef* def = forms::findForm(e.form);
            QVERIFY2(def, e.form);  // every form-opening entry opens a form
            w.menuAction(e.name)->trigger();
            QVERIFY(w.formView(e.form));
            opened << QString::fromStdString(def->caption);
        }
        // Every form of the catalog has its entry; the list keeps the last twenty.
        QCOMPARE(opened.size(), static_cast<qsizetype>(forms::allForms().size()));
        QStringList expected = opened.mid(opened.size() - 20);
        expected.last().prepend("*");
        QCOMPARE(entries(w), expected);
        // The dropped form opens again and comes back at the end.
        w.menuAction("mnuRx_DLDanZ")->trigger();
        QCOMPARE(entries(w).size(), 20);
        QCOMPARE(entries(w).last(), "*" + opened.first());
    }

    // The About box's paragraph has leading between its lines (the Song face's own is
    // negative: lines would touch), reads as specified and fits its label; the licence
    // line stands under the warning, whole, above the date and the button.
    void aboutBoxParagraphAndLicenceLine() {
        shell::AboutBox box;
        auto* purpose = box.findChild<QLabel*>("Label1");
        QTextDocument doc;
        doc.setDefaultFont(purpose->font());
        doc.setDocumentMargin(0);
        doc.setHtml(purpose->text());
        doc.setTextWidth(purpose->width());
        QCOMPARE(doc.toPlainText(), shell::AboutBox::purposeText());
        QVERIFY(doc.toPlainText().startsWith("    该应用程序"));
        const qreal laidOut = doc.size().height();  // lays the text out
        std::vector<qreal> lines;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            for (int i = 0; i < b.layout()->lineCount(); ++i)
                lines.push_back(b.layout()->position().y() + b.layout()->lineAt(i).y());
        QVERIFY(lines.size() >= 2);
        const int height = purpose->fontMetrics().lineSpacing();  // the face's own pitch
        for (std::size_t i = 1; i < lines.size(); ++i)
            QVERIFY2(lines[i] - lines[i - 1] >= 1.2 * height,
                     qPrintable(QString::number(lines[i] - lines[i - 1])));
        QVERIFY(laidOut <= purpose->height());

        auto* licence = box.findChild<QLabel*>("lblLicence");
        QVERIFY(licence);
        QVERIFY(licence->text().contains("自由软件"));
        QVERIFY(licence->text().contains("GPL-3.0-or-later"));
        QVERIFY(licence->fontMetrics().horizontalAdvance(licence->text()) <= licence->width());
        const QRect warning = box.findChild<QLabel*>("lblDisclaimer")->geometry();
        QCOMPARE(box.findChild<QLabel*>("lblDisclaimer")->text(),
                 QStringLiteral("警告：未经许可，不得对本应用程序进行任何修改。"));
        QVERIFY(licence->geometry().top() > warning.bottom());
        for (const char* below : {"Label2", "cmdOK"})
            QVERIFY2(
                box.findChild<QWidget*>(below)->geometry().top() > licence->geometry().bottom(),
                below);
        QVERIFY(box.rect().contains(box.findChild<QWidget*>("cmdOK")->geometry()));
    }

    void aboutBoxIsOneNonModalTopLevelWindow() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuCK_About")->trigger();
        QPointer<shell::AboutBox> box = w.aboutBox();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QVERIFY(box->isWindow());
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowTitle(), QStringLiteral("关于 Tervalen"));
        QCOMPARE(box->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Tervalen"));
        QCOMPARE(box->findChild<QLabel*>("lblVersion")->text(),
                 QStringLiteral("版本 %1").arg(kVersion));
        QVERIFY(box->findChild<QLabel*>("lblVersion")->text().startsWith("版本 1.0."));
        w.menuAction("mnuCK_About")->trigger();
        QCOMPARE(w.aboutBox(), box.data());
        QCOMPARE(w.findChildren<shell::AboutBox*>().size(), 0);  // not a child of the main window
        QVERIFY(entries(w).isEmpty());
        // The main window stays usable meanwhile.
        w.menuAction("mnuRx_DLDanZ")->trigger();
        QVERIFY(w.formView("frmRx_DLDanZ"));
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_VERIFY(!box);
        w.menuAction("mnuCK_About")->trigger();
        QVERIFY(w.aboutBox());
        QVERIFY(w.aboutBox()->findChild<QPushButton*>("cmdOK")->isDefault());
        w.aboutBox()->findChild<QPushButton*>("cmdOK")->click();
        QTRY_VERIFY(!w.aboutBox());
    }

    void enterOnTheTriangleFormIsRefusedByTheBoxFilter() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuZJXB")->trigger();
        auto* v = w.formView("frmZJXB");
        auto* la = qobject_cast<QLineEdit*>(v->widget("CmbLa1"));
        auto* lb = qobject_cast<QLineEdit*>(v->widget("CmbLb"));
        QTest::keyClicks(la, "3");
        QTest::keyClicks(lb, "4");
        QTest::keyClick(lb, Qt::Key_Return);
        QCOMPARE(m_messages.size(), std::size_t{1});
        QCOMPARE(m_messages[0], (forms::Message{"Lb 值错误，只为数字！", forms::Icon::Critical}));
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicLc"))->text(), QString());
        qobject_cast<QPushButton*>(v->widget("CmdRun1"))->click();
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicLc"))->text(), QStringLiteral(" 5"));
        QTest::keyClick(la, Qt::Key_Escape);
        QTRY_VERIFY(!w.formView("frmZJXB"));
    }
};

QTEST_MAIN(OpenWindowsTest)
#include "open_windows_test.moc"
