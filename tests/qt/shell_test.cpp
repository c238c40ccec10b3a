// The main window: its menu tree, opening forms once, Exit, arranging windows.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QtTest>

#include "forms/catalog.h"
#include "shell/embedded_picture.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/menu_table.h"
#include "shell/sheet_window.h"
#include "shell/translation.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;

class ShellTest : public QObject {
    Q_OBJECT
private:
    std::vector<forms::Message> m_messages;
    int m_questions = 0;
    bool m_answer = false;

    static QLineEdit* edit(view::FormView* v, const char* name) {
        QWidget* w = v->widget(QString::fromUtf8(name));
        if (auto* c = qobject_cast<QComboBox*>(w)) return c->lineEdit();
        return qobject_cast<QLineEdit*>(w);
    }

private slots:
    void init() {
        m_messages.clear();
        m_questions = 0;
        view::setMessagePresenter(
            [this](QWidget*, const forms::Message& m) { m_messages.push_back(m); });
        view::setQuestionPresenter([this](QWidget*) {
            ++m_questions;
            return m_answer;
        });
    }

    // The picture is embedded as compressed strips converted at build time: the client
    // area must still show the committed PNG, pixel for pixel, from its top-left corner.
    void clientAreaShowsTheCommittedBackground() {
        const QImage source =
            QImage(QStringLiteral(TERVALEN_SOURCE_DIR "/resources/background.png"))
                .convertToFormat(QImage::Format_RGB32);
        QVERIFY(!source.isNull());
        QCOMPARE(shell::EmbeddedPicture::embedded(QStringLiteral(":/background.strips"))
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32),
                 source);

        shell::MDIFangLei w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage shown =
            w.mdiArea()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect overlap = shown.rect() & source.rect();
        QVERIFY(overlap.width() > 500 && overlap.height() > 500);
        QCOMPARE(shown.copy(overlap), source.copy(overlap));
    }

    void menuTreeFollowsTheTable() {
        shell::MDIFangLei w;
        // Walk the real menus in display order and compare with the table.
        QStringList seen;
        std::function<void(QMenu*, int)> walk = [&](QMenu* menu, int level) {
            for (QAction* a : menu->actions()) {
                const QString caption = a->isSeparator() ? QStringLiteral("-") : a->text();
                if (a->objectName().startsWith("Recent")) {
                    QVERIFY(!a->isVisible());
                    QVERIFY(a->text().isEmpty());
                    if (a->objectName() == "Recent1") seen << QStringLiteral("3|Recent|");
                    continue;
                }
                seen << QStringLiteral("%1|%2|%3").arg(level).arg(a->objectName(), caption);
                // The recent projects' entries come from the settings, not the table.
                if (a->menu() && a->objectName() != "mnuRecentProjects") walk(a->menu(), level + 1);
            }
        };
        for (QAction* top : w.menuBar()->actions()) {
            seen << QStringLiteral("1|%1|%2").arg(top->objectName(), top->text());
            emit top->menu()->aboutToShow();  // what opening it does
            walk(top->menu(), 2);
        }
        QStringList expected;
        for (const auto& e : shell::menuTable())
            expected << QStringLiteral("%1|%2|%3")
                            .arg(e.level)
                            .arg(QString::fromLatin1(e.name), QString::fromUtf8(e.caption));
        QCOMPARE(seen, expected);
        QCOMPARE(w.recentActions().size(), std::size_t{20});
        QCOMPARE(w.windowTitle(), QStringLiteral("Tervalen[*]"));
        QVERIFY(!w.isWindowModified());
        // The original entries keep no shortcut; the added ones have theirs.
        for (const auto& e : shell::menuTable())
            if (e.kind == shell::MenuEntry::Command)
                QCOMPARE(w.menuAction(e.name)->shortcut(),
                         QKeySequence(QString::fromLatin1(e.shortcut ? e.shortcut : "")));
        // Every command entry does one thing: it opens a form or names its command.
        for (const auto& e : shell::menuTable())
            if (e.kind == shell::MenuEntry::Command)
                QVERIFY2((e.form != nullptr) != (e.command != shell::MenuCommand::None), e.name);
    }

    // The menus fill when first opened: the open-window list must still show what was
    // opened before the Window menu ever was.
    void windowMenuOpenedLateListsEarlierForms() {
        shell::MDIFangLei w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.openForm("frmRx_DLDanZ");
        w.openForm("frmZJXB");
        auto* windowMenu = w.findChild<QMenu*>(QStringLiteral("mnuCK"));
        QVERIFY(windowMenu);
        windowMenu->popup(w.mapToGlobal(QPoint(40, 20)));
        // It opens at the size of what it holds, not of the empty menu it was.
        QVERIFY(windowMenu->isVisible());
        QCOMPARE(windowMenu->size(), windowMenu->sizeHint());
        QVERIFY(windowMenu->height() > 5 * windowMenu->fontMetrics().height());
        windowMenu->close();
        auto* recent = w.findChild<QMenu*>(QStringLiteral("mnuYX"));
        QVERIFY(recent);
        QStringList shown;
        for (QAction* a : recent->actions())
            if (a->isVisible() && !a->isSeparator())
                shown << a->text() + (a->isChecked() ? QStringLiteral(" *") : QString());
        const auto caption = [](const char* form) {
            return QString::fromStdString(forms::findForm(form)->caption);
        };
        QCOMPARE(shown, (QStringList{caption("frmRx_DLDanZ"), caption("frmZJXB") + " *"}));
        // Its commands work once it is filled by opening it, not only through menuAction().
        auto* cascade = w.findChild<QAction*>(QStringLiteral("mnuCD"));
        QVERIFY(cascade);
        cascade->trigger();
        for (QMdiSubWindow* sub : w.mdiArea()->subWindowList()) QVERIFY(!sub->isMaximized());
    }

    void openingTwiceGivesOneWindowWithItsValues() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        auto* v = w.formView("frmRx_DLDanZ");
        QVERIFY(v);
        QVERIFY(w.mdiArea()->subWindowList().first()->isMaximized());
        QCOMPARE(w.mdiArea()->subWindowList().first()->windowTitle(),
                 QStringLiteral("独立单针保护范围计算"));
        edit(v, "CmbH")->setText("20");
        w.menuAction("mnuRx_JSDanZ")->trigger();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
        QCOMPARE(w.formView("frmRx_DLDanZ"), v);
        QCOMPARE(edit(v, "CmbH")->text(), QStringLiteral("20"));
        QCOMPARE(shell::formViewOf(w.mdiArea()->activeSubWindow()), v);
    }

    void closingAndReopeningShowsTheDefaults() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        auto* v = w.formView("frmRx_DLDanZ");
        edit(v, "CmbHr")->setText("45");
        edit(v, "CmbH")->setText("20");
        edit(v, "CmbHx")->setText("5");
        QTest::keyClick(edit(v, "CmbHx"), Qt::Key_Return);
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicRx"))->text(), QStringLiteral(" 16.80105"));
        QTest::keyClick(edit(v, "CmbHx"), Qt::Key_Escape);
        QTRY_VERIFY(w.formView("frmRx_DLDanZ") == nullptr);
        QTRY_COMPARE(w.mdiArea()->subWindowList().size(), 0);
        w.menuAction("mnuRx_DLDanZ")->trigger();
        v = w.formView("frmRx_DLDanZ");
        QCOMPARE(edit(v, "CmbHr")->text(), QStringLiteral("30"));
        QCOMPARE(edit(v, "CmbH")->text(), QString());
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicRx"))->text(), QString());
        QVERIFY(m_messages.empty());
    }

    void refusedKeyLeavesTheTextAndShowsTheCriticalBox() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        auto* v = w.formView("frmRx_DLDanZ");
        QComboBox* hr = qobject_cast<QComboBox*>(v->widget("CmbHr"));
        QVERIFY(hr);
        hr->setFocus();
        QTest::keyClick(hr, Qt::Key_End);
        QTest::keyClicks(hr, "5.");
        QCOMPARE(hr->currentText(), QStringLiteral("305"));
        QCOMPARE(m_messages.size(), std::size_t{1});
        QCOMPARE(m_messages[0], (forms::Message{"Hr 值错误，只为数字！", forms::Icon::Critical}));
        // Ctrl+V from a real keyboard arrives as the control character 22.
        QTest::sendKeyEvent(QTest::Press, hr, Qt::Key_V, QChar(22), Qt::ControlModifier);
        QCOMPARE(hr->currentText(), QStringLiteral("305"));
        QCOMPARE(m_messages.size(), std::size_t{2});
        // Enter in a combo box runs the calculation and adds nothing to its list.
        QLineEdit* h = edit(v, "CmbH");
        QTest::keyClicks(h, "2-0");
        QCOMPARE(h->text(), QStringLiteral("20"));
        QCOMPARE(m_messages.back().text, std::string("H 值输入错误，只为数字！"));
        edit(v, "CmbHx")->setText("5");
        QTest::keyClick(hr, Qt::Key_Return);
        QCOMPARE(hr->count(), 3);
        QCOMPARE(m_messages.size(), std::size_t{3});
        QVERIFY(!qobject_cast<QLabel*>(v->widget("PicRx"))->text().isEmpty());
        hr->setEditText("30");
        QTest::keyClick(hr, Qt::Key_Return);
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicRx"))->text(), QStringLiteral(" 11.70115"));
    }

    void enterOnAFormWithoutDefaultButtonReachesTheFilter() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_JSDanZ")->trigger();
        auto* v = w.formView("frmRx_JSDanZ");
        edit(v, "CmbH")->setText("40");
        edit(v, "CmbHx")->setText("15");
        QTest::keyClick(edit(v, "CmbHx"), Qt::Key_Return);
        QCOMPARE(m_messages.size(), std::size_t{1});
        QCOMPARE(m_messages[0],
                 (forms::Message{"Hx 值输入错误，只为数字！", forms::Icon::Critical}));
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicRx"))->text(), QString());
        qobject_cast<QPushButton*>(v->widget("CmdRun"))->click();
        QCOMPARE(qobject_cast<QLabel*>(v->widget("PicRx"))->text(), QStringLiteral(" 29.5804"));
    }

    void inputMethodTextIsFilteredCharacterByCharacter() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_JSDanZ")->trigger();
        auto* v = w.formView("frmRx_JSDanZ");
        QLineEdit* h = edit(v, "CmbH");
        h->setFocus();
        QInputMethodEvent ime;
        ime.setCommitString(QStringLiteral("1二3"));
        QApplication::sendEvent(h, &ime);
        QCOMPARE(h->text(), QStringLiteral("13"));
        QCOMPARE(m_messages.size(), std::size_t{1});
        QCOMPARE(m_messages[0].icon, forms::Icon::Critical);
        QComboBox* yesNo = qobject_cast<QComboBox*>(v->widget("CmbYesNo"));
        yesNo->setEditText(QString());
        yesNo->setFocus();
        QInputMethodEvent answer;
        answer.setCommitString(QStringLiteral("否"));
        QApplication::sendEvent(yesNo, &answer);
        QCOMPARE(yesNo->currentText(), QStringLiteral("否"));
        QCOMPARE(m_messages.size(), std::size_t{1});
    }

    void exitAsksAndCancelChangesNothing() {
        shell::MDIFangLei w;
        w.show();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        edit(w.formView("frmRx_DLDanZ"), "CmbH")->setText("12");
        m_answer = false;
        w.menuAction("mnuExit")->trigger();
        QCOMPARE(m_questions, 1);
        QVERIFY(w.isVisible());
        QCOMPARE(edit(w.formView("frmRx_DLDanZ"), "CmbH")->text(), QStringLiteral("12"));
        auto box = view::makeExitConfirmation(&w);
        QCOMPARE(box->windowTitle(), QStringLiteral("退出程序"));
        QCOMPARE(box->text(), QStringLiteral("是否退出该程序？"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        auto msg = view::makeMessageBox(&w, {"a\nb", forms::Icon::None});
        QCOMPARE(msg->windowTitle(), QStringLiteral("Tervalen"));
        QCOMPARE(msg->icon(), QMessageBox::NoIcon);
        QCOMPARE(msg->standardButtons(), QMessageBox::Ok);
    }

    void tilingsStackAndPlaceSideBySide() {
        shell::MDIFangLei w;
        w.resize(1000, 700);
        w.show();
        w.menuAction("mnuCD")->trigger();  // nothing open: nothing happens
        w.menuAction("mnuRx_DLDanZ")->trigger();
        w.menuAction("mnuRx_JSDanZ")->trigger();
        const auto windows = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
        w.menuAction("mnuSP")->trigger();
        QCOMPARE(windows[0]->geometry().width(), windows[1]->geometry().width());
        QVERIFY(windows[0]->geometry().bottom() < windows[1]->geometry().top());
        QCOMPARE(windows[0]->geometry().left(), windows[1]->geometry().left());
        w.menuAction("mnuCZ")->trigger();
        QCOMPARE(windows[0]->geometry().top(), windows[1]->geometry().top());
        QVERIFY(windows[0]->geometry().right() < windows[1]->geometry().left());
        w.menuAction("mnuCD")->trigger();
        QVERIFY(!windows[0]->isMaximized());
        QVERIFY(windows[0]->geometry().topLeft() != windows[1]->geometry().topLeft());
    }

    // The status bar is there from the start: the first message (加入计算书's) does not
    // push the forms up.
    void theStatusBarIsThereFromTheStart() {
        shell::MDIFangLei w;
        w.resize(1024, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* bar = w.findChild<QStatusBar*>();
        QVERIFY(bar);
        QVERIFY(bar->isVisible());
        const QRect area = w.mdiArea()->geometry();
        w.openForm("frmRx_DLDanZ");
        w.formView("frmRx_DLDanZ")
            ->apply({forms::Action::set("CmbH", "20"), forms::Action::set("CmbHx", "5"),
                     forms::Action::press("CmdRun")});
        QVERIFY(w.addToSheet(w.formView("frmRx_DLDanZ")->form()));
        QApplication::processEvents();
        QVERIFY(bar->currentMessage().startsWith(QStringLiteral("已加入计算书")));
        QCOMPARE(w.mdiArea()->geometry(), area);
    }

    // A tiling's lengths: equal shares; a window that needs more than a share takes its
    // minimum and the others share the rest; out of room, the windows overlap evenly and
    // none passes the end.
    void tileSpansShareAndRespectMinimums_data() {
        using Spans = std::vector<std::pair<int, int>>;
        QTest::addColumn<std::vector<int>>("minimums");
        QTest::addColumn<int>("total");
        QTest::addColumn<Spans>("spans");
        QTest::newRow("equal") << std::vector<int>{50, 50} << 700 << Spans{{0, 350}, {350, 350}};
        QTest::newRow("remainder")
            << std::vector<int>{0, 0, 0} << 10 << Spans{{0, 3}, {3, 3}, {6, 4}};
        QTest::newRow("one needs more")
            << std::vector<int>{100, 400, 100} << 700 << Spans{{0, 150}, {150, 400}, {550, 150}};
        QTest::newRow("fixing one makes another need more")
            << std::vector<int>{100, 250, 250} << 600 << Spans{{0, 100}, {100, 250}, {350, 250}};
        QTest::newRow("the rest shared, not below their own minimum")
            << std::vector<int>{120, 500, 10} << 700 << Spans{{0, 120}, {120, 500}, {620, 80}};
        QTest::newRow("out of room: even overlap")
            << std::vector<int>{300, 300, 300} << 600 << Spans{{0, 300}, {150, 300}, {300, 300}};
        QTest::newRow("one larger than all")
            << std::vector<int>{50, 500} << 400 << Spans{{0, 50}, {0, 500}};
    }
    void tileSpansShareAndRespectMinimums() {
        QFETCH(std::vector<int>, minimums);
        QFETCH(int, total);
        using Spans = std::vector<std::pair<int, int>>;
        QFETCH(Spans, spans);
        QCOMPARE(shell::tileSpans(minimums, total), spans);
    }

    // The 计算书 window keeps a usable size through every arrangement: its header fields
    // whole, a few records, a preview whose header table keeps each caption on one line;
    // the forms beside it share what is left and no window leaves the area.
    void theSheetWindowIsNotCrushedByArrangements() {
        shell::MDIFangLei w;
        w.resize(1024, 768);
        w.show();
        w.openForm("frmRx_DLDanZ");
        w.openForm("frmLJCS");
        w.showSheet();
        shell::SheetWindow* sheet = w.sheetWindow();
        QWidget* frame = sheet->parentWidget();
        const QRect area = w.mdiArea()->viewport()->rect();
        for (const char* arrangement : {"mnuSP", "mnuCZ", "mnuCD"}) {
            w.menuAction(arrangement)->trigger();
            QApplication::processEvents();
            QVERIFY2(frame->width() >= frame->minimumWidth() &&
                         frame->height() >= frame->minimumHeight(),
                     arrangement);
            for (QLineEdit* field : sheet->findChildren<QLineEdit*>())
                if (field->isVisible())
                    QVERIFY2(field->height() >= field->minimumSizeHint().height(), arrangement);
            QVERIFY2(sheet->records()->height() >= 4 * sheet->records()->fontMetrics().height(),
                     arrangement);
            QVERIFY2(sheet->preview()->width() >= 400, arrangement);
            for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
                QVERIFY2(area.contains(sub->geometry()), arrangement);
        }
        // Tiled, the forms share what the 计算书 window leaves, edge to edge.
        w.menuAction("mnuSP")->trigger();
        const auto windows = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(windows[0]->y(), 0);
        QCOMPARE(windows[1]->y(), windows[0]->geometry().bottom() + 1);
        QCOMPARE(windows[2]->y(), windows[1]->geometry().bottom() + 1);
        QCOMPARE(windows[2]->geometry().bottom(), area.bottom());
        QCOMPARE(windows[2]->height(), frame->minimumHeight());
    }

    // The list's submenu opens at start with its two lines; only the checked entry is
    // checkable, so the others show no empty box.
    void openWindowListShowsItsLinesAndOneCheckMark() {
        shell::MDIFangLei w;
        w.show();
        QMenu* list = w.menuAction("mnuYX")->menu();
        QVERIFY(!list->separatorsCollapsible());
        list->popup(QPoint(10, 10));
        QTRY_VERIFY(list->isVisible());
        int lines = 0;
        for (QAction* a : list->actions())
            if (a->isSeparator() && a->isVisible() && !list->actionGeometry(a).isEmpty()) ++lines;
        QCOMPARE(lines, 2);
        list->hide();
        w.menuAction("mnuRx_DLDanZ")->trigger();
        w.menuAction("mnuRx_JSDanZ")->trigger();
        const auto& recent = w.recentActions();
        QVERIFY(!recent[0]->isCheckable());
        QVERIFY(recent[1]->isCheckable() && recent[1]->isChecked());
        w.menuAction("mnuRx_DLDanZ")->trigger();
        QVERIFY(recent[0]->isCheckable() && recent[0]->isChecked());
        QVERIFY(!recent[1]->isCheckable());
    }

    // Qt's own texts are Chinese whatever the locale.
    void qtTextsAreChinese() {
        QVERIFY2(shell::installChineseQtTexts(*qApp), "qtbase_zh_CN.qm is not installed");
        auto box = view::makeMessageBox(nullptr, {"x", forms::Icon::None});
        QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        auto exit = view::makeExitConfirmation(nullptr);
        QCOMPARE(exit->button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    }

    // A main window smaller than the form: scroll bars reach the buttons.
    void aSmallWindowScrollsTheForm() {
        shell::MDIFangLei w;
        w.resize(300, 260);
        w.show();
        w.menuAction("mnuDZ_ShuiPing")->trigger();
        auto* scroll = qobject_cast<QScrollArea*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(scroll);
        QTRY_VERIFY(scroll->verticalScrollBar()->isVisible());
        QVERIFY(scroll->horizontalScrollBar()->isVisible());
        auto* button = w.formView("frmDZ_ShuiPing")->widget("cmdCancel");
        scroll->ensureWidgetVisible(button);
        QVERIFY(scroll->viewport()->rect().contains(
            button->mapTo(scroll->viewport(), button->rect().bottomRight())));
        w.resize(1200, 900);
        QTRY_VERIFY(!scroll->verticalScrollBar()->isVisible());
    }

    // After the power-frequency resistance, the focus waits on the impulse button, which
    // shows that Enter now presses it.
    void theFocusedButtonShowsItIsTheOneEnterPresses() {
        shell::MDIFangLei w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.menuAction("mnuDZ_ChuiZhi")->trigger();
        auto* v = w.formView("frmDZ_ChuiZhi");
        auto* gp = qobject_cast<QPushButton*>(v->widget("CmdRun_GP"));
        auto* cj = qobject_cast<QPushButton*>(v->widget("CmdRun_CJ"));
        QVERIFY(gp->isDefault() && !cj->isDefault());
        for (const auto& [name, text] : {std::pair{"CmbGg", "0.05"}, std::pair{"Cmbρ", "300"},
                                         std::pair{"CmbL1", "2.5"}, std::pair{"CmbN", "4"}})
            edit(v, name)->setText(QString::fromUtf8(text));
        gp->click();
        QTRY_VERIFY(cj->hasFocus());
        QVERIFY(cj->isDefault() && !gp->isDefault());
        edit(v, "CmbGg")->setFocus(Qt::MouseFocusReason);
        QVERIFY(gp->isDefault() && !cj->isDefault());
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
