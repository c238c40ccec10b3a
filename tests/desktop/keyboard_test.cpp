// Typing into the forms on a real X server: the keys come from xdotool through the X
// server, as a keyboard would send them (Tab carries "\t", Delete carries 0x7F), the
// window manager activates the windows, and message boxes are real modal boxes. Also
// the main window's place on the screen (the window manager's frame around it), projects
// and their forms through real keys, F10 and the 计算书 window's keyboard.
// Run by run_under_xvfb.sh, with settings of its own.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusFrame>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/sheet_window.h"
#include "view/form_page.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"
#include "xdotool.h"

using namespace tervalen;

namespace {

QLineEdit* editOf(view::FormView* v, const char* name) {
    QWidget* w = v->widget(QString::fromUtf8(name));
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->lineEdit();
    return qobject_cast<QLineEdit*>(w);
}
QString textOf(view::FormView* v, const char* name) {
    return static_cast<QLabel*>(v->widget(QString::fromUtf8(name)))->text();
}

// True when the box's inside, as the X server shows it now, holds no dark pixel.
bool blankOnScreen(QWidget* box) {
    const QPoint origin = box->mapToGlobal(QPoint(3, 3));
    const QImage shot =
        box->screen()
            ->grabWindow(0, origin.x(), origin.y(), box->width() - 6, box->height() - 6)
            .toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 128) return false;
    return !shot.isNull();
}

// Answers the next modal dialog as it opens (a message box, an input dialog), from a
// timer: the keys that open it wait in the dialog's own event loop.
class DialogAnswer : public QObject {
public:
    explicit DialogAnswer(std::function<void(QWidget*)> answer) : m_answer(std::move(answer)) {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !m_seen.isEmpty()) return;
            m_seen = modal->objectName().isEmpty()
                         ? QString::fromLatin1(modal->metaObject()->className())
                         : modal->objectName();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) m_text = box->text();
            m_answer(modal);
        });
        m_timer.start();
    }
    bool seen() const { return !m_seen.isEmpty(); }
    const QString& text() const { return m_text; }

private:
    QTimer m_timer;
    std::function<void(QWidget*)> m_answer;
    QString m_seen, m_text;
};

// The title as the window shows it: Qt's placeholder for unsaved changes as "*" or nothing.
QString titleOf(const QWidget& w) {
    return QString(w.windowTitle())
        .replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : QString());
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<shell::MDIFangLei> m_window;
    std::vector<forms::Message> m_messages;

    // The single rod opened and pressed as a person types: H 20, Tab, Hx 5, Enter; nullptr
    // (and the test failed) when the result does not come.
    view::FormView* pressSingleRodByKeys() {
        auto* v = open("frmRx_DLDanZ");
        if (!v) return nullptr;
        clickOn(editOf(v, "CmbH"));
        type(QStringLiteral("20"));
        keys(QStringLiteral("Tab"));
        type(QStringLiteral("5"));
        keys(QStringLiteral("Return"));
        [&] { QTRY_COMPARE(textOf(v, "PicRx"), QStringLiteral(" 11.70115")); }();
        return textOf(v, "PicRx") == QStringLiteral(" 11.70115") ? v : nullptr;
    }

    view::FormView* open(const char* form) {
        m_window->openForm(form);
        view::FormView* v = m_window->formView(form);
        if (v) QTest::qWait(200);
        return v;
    }

private slots:
    void init() {
        m_messages.clear();
        view::setMessagePresenter(
            [this](QWidget*, const forms::Message& m) { m_messages.push_back(m); });
        view::setQuestionPresenter([](QWidget*) { return true; });
        QSettings().remove(QStringLiteral("window"));  // each test starts as at a first start
        m_window = std::make_unique<shell::MDIFangLei>();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // Tab and Shift+Tab move between the boxes and never reach a key filter.
    void tabMovesTheFocus() {
        auto* v = open("frmRx_DLDanZ");
        QVERIFY(v);
        QLineEdit* h = editOf(v, "CmbH");
        clickOn(h);
        QTRY_VERIFY(h->hasFocus());
        type(QStringLiteral("20"));
        keys(QStringLiteral("Tab"));
        QTRY_VERIFY(editOf(v, "CmbHx")->hasFocus());
        keys(QStringLiteral("shift+Tab"));
        QTRY_VERIFY(h->hasFocus());
        QCOMPARE(h->text(), QStringLiteral("20"));
        QVERIFY2(m_messages.empty(), m_messages.empty() ? "" : m_messages[0].text.c_str());
    }

    // Delete, the arrows, Home and End edit; only typed characters are filtered.
    void editingKeysEdit() {
        auto* v = open("frmRx_DLDanZ");
        QLineEdit* h = editOf(v, "CmbH");
        clickOn(h);
        QTRY_VERIFY(h->hasFocus());
        type(QStringLiteral("1234"));
        keys(QStringLiteral("Home Delete Right Delete End BackSpace"));
        QCOMPARE(h->text(), QStringLiteral("2"));
        keys(QStringLiteral("KP_Home KP_Delete"));
        QCOMPARE(h->text(), QString());
        QVERIFY2(m_messages.empty(), m_messages.empty() ? "" : m_messages[0].text.c_str());
        // A typed character that the filter refuses is still refused.
        type(QStringLiteral("-"));
        QCOMPARE(m_messages.size(), std::size_t{1});
        QCOMPARE(m_messages[0].text, std::string("H 值输入错误，只为数字！"));
        QCOMPARE(h->text(), QString());
    }

    // What is typed into a box with a list is what the box holds: no completion.
    void typedTextIsNotCompleted() {
        auto* v = open("frmRx_DLDanZ");
        QLineEdit* hr = editOf(v, "CmbHr");
        clickOn(hr);
        QTRY_VERIFY(hr->hasFocus());
        keys(QStringLiteral("End shift+Home BackSpace"));
        type(QStringLiteral("4"));
        QCOMPARE(hr->text(), QStringLiteral("4"));
        QCOMPARE(hr->selectedText(), QString());
        QVERIFY(!QApplication::activePopupWidget());
        // Hr 4 with H 20: the rod is too high, which only a radius of 4 gives.
        editOf(v, "CmbH")->setText(QStringLiteral("20"));
        editOf(v, "CmbHx")->setText(QStringLiteral("5"));
        keys(QStringLiteral("Return"));
        QCOMPARE(textOf(v, "PicRx"), QString());
        QCOMPARE(m_messages.size(), std::size_t{1});
    }

    // Leaving a box whose typed text equals a list entry is no pick.
    void leavingABoxIsNoPick_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("watched");
        QTest::newRow("steel type, vertical") << "frmDZ_ChuiZhi"
                                              << "CmbGx"
                                              << "圆钢"
                                              << "LabGg";
        QTest::newRow("steel type, horizontal") << "frmDZ_ShuiPing"
                                                << "CmbGx"
                                                << "圆钢"
                                                << "LabGg";
        QTest::newRow("modules") << "frmDZ_XT"
                                 << "CmbYesNo"
                                 << "否"
                                 << "CmbRM";
    }
    void leavingABoxIsNoPick() {
        QFETCH(QString, form);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, watched);
        auto* v = open(form.toUtf8().constData());
        QWidget* watchedWidget = v->widget(watched);
        const QString captionBefore =
            qobject_cast<QLabel*>(watchedWidget) ? textOf(v, watched.toUtf8().constData()) : "";
        const bool enabledBefore = watchedWidget->isEnabled();
        QLineEdit* e = editOf(v, box.toUtf8().constData());
        clickOn(e);
        QTRY_VERIFY(e->hasFocus());
        keys(QStringLiteral("End shift+Home BackSpace"));
        e->insert(typed);  // what an input method would commit
        keys(QStringLiteral("Tab"));
        QTRY_VERIFY(!e->hasFocus());
        QCOMPARE(e->text(), typed);
        if (qobject_cast<QLabel*>(watchedWidget))
            QCOMPARE(textOf(v, watched.toUtf8().constData()), captionBefore);
        QCOMPARE(watchedWidget->isEnabled(), enabledBefore);
    }

    // The horizontal electrode form opens with its own size caption, full-width colon and all.
    void openingChangesNoCaption() {
        auto* v = open("frmDZ_ShuiPing");
        keys(QStringLiteral("Tab Tab Tab"));
        QCOMPARE(textOf(v, "LabGg"), QStringLiteral("扁钢的边长（b）："));
    }

    // A form brought back by its menu entry or by the open-window list takes the keys at
    // once, in the box that had the focus; opened afresh, in its first input box.
    void aFormBroughtBackTakesTheKeys() {
        auto* first = open("frmRx_DLDanZ");
        QTRY_VERIFY(editOf(first, "CmbHr")->hasFocus());
        clickOn(editOf(first, "CmbH"));
        QTRY_VERIFY(editOf(first, "CmbH")->hasFocus());
        open("frmLJCS");
        QTRY_VERIFY(!editOf(first, "CmbH")->hasFocus());
        m_window->menuAction("mnuRx_DLDanZ")->trigger();
        QTest::qWait(200);
        type(QStringLiteral("7"));
        QCOMPARE(editOf(first, "CmbH")->text(), QStringLiteral("7"));

        open("frmLJCS");
        m_window->recentActions().at(0)->trigger();  // the open-window list's first entry
        QTest::qWait(200);
        type(QStringLiteral("1"));
        QCOMPARE(editOf(first, "CmbH")->text(), QStringLiteral("71"));

        m_window->mdiArea()->subWindowList().first()->close();
        QTRY_VERIFY(!m_window->formView("frmRx_DLDanZ"));
        auto* again = open("frmRx_DLDanZ");
        type(QStringLiteral("5"));
        QCOMPARE(editOf(again, "CmbHr")->text(), QStringLiteral("305"));
    }

    // A refusal after a good result: the result box is empty on screen while the box is open.
    void noStaleResultBesideARefusal() {
        view::setMessagePresenter({});  // real modal boxes
        auto* v = open("frmRx_DLDanZ");
        QLineEdit* h = editOf(v, "CmbH");
        clickOn(h);
        type(QStringLiteral("20"));
        clickOn(editOf(v, "CmbHx"));
        type(QStringLiteral("5"));
        keys(QStringLiteral("Return"));
        QTRY_COMPARE(textOf(v, "PicRx"), QStringLiteral(" 11.70115"));
        // On screen once the X server has painted it (a loaded machine paints late).
        QTRY_VERIFY(!blankOnScreen(v->widget("PicRx")));

        clickOn(h);
        keys(QStringLiteral("End"));
        type(QStringLiteral("0"));  // H 200: higher than Hr
        bool seen = false, blank = false;
        QString shown;
        QTimer probe;
        probe.setInterval(50);
        connect(&probe, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || seen) return;
            seen = true;
            shown = box->text();
            blank = blankOnScreen(v->widget("PicRx"));
            box->button(QMessageBox::Ok)->click();
        });
        probe.start();
        keys(QStringLiteral("Return"));
        QTRY_VERIFY(seen);
        QVERIFY(shown.startsWith(QStringLiteral("避雷针太高！")));
        QVERIFY2(blank, "the old result was on screen beside the message");
        QCOMPARE(textOf(v, "PicRx"), QString());
    }

    // Enter presses the default button wherever the focus is on the form.
    void enterPressesTheDefaultButtonFromAnOption() {
        auto* v = open("frmDZ_ShuiPing");
        for (const char* name : {"CmbGg", "Cmbρ", "CmbL1", "CmbH"}) {
            QLineEdit* e = editOf(v, name);
            clickOn(e);
            type(QStringLiteral("2"));
        }
        clickOn(v->widget("OptA4"));
        QTRY_VERIFY(v->widget("OptA4")->hasFocus());
        keys(QStringLiteral("Return"));
        QTRY_VERIFY(!textOf(v, "PicR").isEmpty());
        QCOMPARE(textOf(v, "PicA"), QStringLiteral(" 2.14"));
    }

    // Ctrl+W is a character the filter refuses, not a way to lose the form; Ctrl+F4 closes it.
    void onlyCtrlF4ClosesAForm() {
        auto* v = open("frmRx_DLDanZ");
        QLineEdit* h = editOf(v, "CmbH");
        clickOn(h);
        type(QStringLiteral("12"));
        keys(QStringLiteral("ctrl+w"));
        QVERIFY(m_window->formView("frmRx_DLDanZ"));
        QCOMPARE(h->text(), QStringLiteral("12"));
        keys(QStringLiteral("ctrl+F4"));
        QTRY_VERIFY(!m_window->formView("frmRx_DLDanZ"));
    }

    // The first start keeps 1024 × 768 of client area wherever that fits the screen with
    // the window manager's frame; otherwise the dimension that does not fit shrinks, and
    // the whole frame, title-bar buttons included, is on the screen.
    void firstStartFitsTheScreen() {
        QWidget& w = *m_window;
        QTRY_VERIFY_WITH_TIMEOUT(w.frameGeometry().height() > w.height(), 10000);  // framed
        const QRect available = w.screen()->availableGeometry();
        const QRect frame = w.frameGeometry();
        QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                                                           .arg(frame.x())
                                                           .arg(frame.y())
                                                           .arg(frame.width())
                                                           .arg(frame.height())
                                                           .arg(available.width())
                                                           .arg(available.height())));
        constexpr int kRoomForAFrame = 48;
        if (available.width() >= 1024 + kRoomForAFrame)
            QCOMPARE(w.width(), 1024);
        else
            QVERIFY(w.width() >= available.width() - kRoomForAFrame);
        if (available.height() >= 768 + kRoomForAFrame)
            QCOMPARE(w.height(), 768);
        else
            QVERIFY(w.height() >= available.height() - kRoomForAFrame);
    }

    // Size and place, and the maximised state, come back at the next start.
    void theWindowComesBackWhereItWas() {
        const QRect available = m_window->screen()->availableGeometry();
        const QRect wanted(available.topLeft() + QPoint(40, 60),
                           QSize(available.width() / 2, available.height() / 2));
        m_window->setGeometry(wanted);
        QTRY_COMPARE(m_window->geometry(), wanted);
        QVERIFY(m_window->close());
        m_window = std::make_unique<shell::MDIFangLei>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_COMPARE(m_window->geometry(), wanted);

        m_window->showMaximized();
        QTRY_VERIFY(m_window->isMaximized());
        QVERIFY(m_window->close());
        m_window = std::make_unique<shell::MDIFangLei>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_VERIFY(m_window->isMaximized());
        m_window->showNormal();
        QTRY_COMPARE(m_window->geometry(), wanted);
    }

    // Typing, a press and closing a form each mark the project unsaved ("*"); closing
    // the program then asks, and 新建工程, after the question, closes the forms.
    void workInTheFormsIsUnsavedWork() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("forms.tvp"));
        const auto marked = [this] { return titleOf(*m_window).contains(QLatin1Char('*')); };
        auto* v = open("frmRx_DLDanZ");
        QLineEdit* h = editOf(v, "CmbH");
        clickOn(h);
        QTRY_VERIFY(h->hasFocus());
        QVERIFY(!marked());
        type(QStringLiteral("20"));
        QTRY_VERIFY(marked());
        keys(QStringLiteral("Tab"));
        type(QStringLiteral("5"));
        QVERIFY(m_window->saveProjectTo(file));
        QVERIFY(!marked());
        keys(QStringLiteral("Return"));  // the press
        QTRY_COMPARE(textOf(v, "PicRx"), QStringLiteral(" 11.70115"));
        QTRY_VERIFY(marked());
        QVERIFY(m_window->saveProjectTo(file));
        QVERIFY(!marked());
        keys(QStringLiteral("ctrl+F4"));
        QTRY_VERIFY(!m_window->formView("frmRx_DLDanZ"));
        QTRY_VERIFY(marked());

        // Closing asks (取消 keeps the window), and so does 新建工程 (不保存 goes on).
        {
            DialogAnswer cancel([](QWidget* box) {
                qobject_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
            });
            QVERIFY(!m_window->close());
            QVERIFY(cancel.seen());
            QCOMPARE(cancel.text(), QStringLiteral("保存对工程的修改吗？"));
        }
        open("frmLJCS");
        clickOn(editOf(m_window->formView("frmLJCS"), "CmbTd"));
        type(QStringLiteral("40"));
        DialogAnswer discard([](QWidget* box) {
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Discard)->click();
        });
        keys(QStringLiteral("ctrl+n"));
        QTRY_VERIFY(discard.seen());
        QTRY_VERIFY(m_window->mdiArea()->subWindowList().isEmpty());
        QTRY_VERIFY(!marked());
        QVERIFY(m_window->projectFile().isEmpty());
    }

    // A form saved after a press comes back with its working and drawing, 加入计算书 on:
    // Ctrl+D records it at once.
    void aRestoredFormComesBackWhole() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("whole.tvp"));
        auto* v = pressSingleRodByKeys();
        QVERIFY(v);
        QVERIFY(m_window->saveProjectTo(file));
        m_window = std::make_unique<shell::MDIFangLei>();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(m_window->openProjectFile(file));
        QTest::qWait(300);
        v = m_window->formView("frmRx_DLDanZ");
        QVERIFY(v);
        QCOMPARE(textOf(v, "PicRx"), QStringLiteral(" 11.70115"));
        auto* page = qobject_cast<view::FormPage*>(v->parentWidget());
        QVERIFY(page->panel()->working()->toPlainText().contains(QStringLiteral("11.70115")));
        QVERIFY(page->panel()->addToSheetButton()->isEnabled());
        QVERIFY(!titleOf(*m_window).contains(QLatin1Char('*')));
        keys(QStringLiteral("ctrl+d"));
        QTRY_COMPARE(m_window->calculationSheet().records.size(), std::size_t{1});
        QCOMPARE(m_window->calculationSheet().records[0].results.at(0).value,
                 std::string("11.70115"));
    }

    // F10 opens the menu bar at its first menu, wherever the focus is, and types nothing.
    void f10OpensTheMenuBar() {
        auto* v = open("frmRx_DLDanZ");
        QLineEdit* h = editOf(v, "CmbH");
        clickOn(h);
        type(QStringLiteral("1"));
        keys(QStringLiteral("F10"));
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuFile"));
        QCOMPARE(m_window->menuBar()->activeAction(), m_window->menuAction("mnuFile"));
        keys(QStringLiteral("Right"));
        QTRY_COMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuRx"));
        keys(QStringLiteral("Escape Escape Escape"));
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(h->text(), QStringLiteral("1"));
        QVERIFY(m_messages.empty());
    }

    // The 计算书 window: Tab as the window reads; the list and the preview show the focus;
    // in the list F2 renames and Delete removes (after its question).
    void theSheetWindowByKeyboard() {
        auto* v = open("frmRx_DLDanZ");
        v->apply({forms::Action::set("CmbH", "20"), forms::Action::set("CmbHx", "5"),
                  forms::Action::press("CmdRun")});
        QVERIFY(m_window->addToSheet(v->form()));
        m_window->showSheet();
        shell::SheetWindow* sheet = m_window->sheetWindow();
        QTest::qWait(200);
        const auto named = [sheet](const QString& text) -> QWidget* {
            for (QPushButton* b : sheet->findChildren<QPushButton*>())
                if (b->text() == text) return b;
            return nullptr;
        };
        std::vector<QWidget*> expected;
        for (const char* caption :
             {"工程名称", "子项/编号", "计算书编号", "版次", "设计单位", "日期", "计算人",
              "计算人日期", "校对人", "校对人日期", "审核人", "审核人日期", "审定人", "审定人日期"})
            expected.push_back(sheet->headerField(QString::fromUtf8(caption)));
        expected.push_back(sheet->findChild<QComboBox*>(QStringLiteral("规范版本")));
        expected.push_back(sheet->recordPerPage());
        expected.push_back(sheet->records());
        // 采用重新计算结果 is disabled (no record differs from what was saved): Tab passes it.
        for (const char* b : {"重命名", "上移", "下移", "删除", "重新打开"})
            expected.push_back(named(QString::fromUtf8(b)));
        expected.push_back(sheet->findChild<QComboBox*>(QStringLiteral("RequirementSymbol")));
        expected.push_back(sheet->findChild<QLineEdit*>(QStringLiteral("Requirement")));
        expected.push_back(named(QStringLiteral("设定要求")));
        expected.push_back(sheet->preview());
        for (const char* b : {"导出 PDF…", "打印…", "复制为文本"})
            expected.push_back(named(QString::fromUtf8(b)));
        clickOn(expected.front());
        QTRY_COMPARE(QApplication::focusWidget(), expected.front());
        auto* ring = sheet->findChild<QFocusFrame*>(QStringLiteral("FocusRing"));
        QVERIFY(ring);
        for (std::size_t i = 1; i < expected.size(); ++i) {
            keys(QStringLiteral("Tab"));
            QTRY_COMPARE(QApplication::focusWidget(), expected[i]);
            if (expected[i] == sheet->records() || expected[i] == sheet->preview()) {
                QTRY_VERIFY(ring->isVisible());
                QCOMPARE(ring->widget(), expected[i]);
            }
        }
        QTRY_VERIFY(!ring->isVisible());

        clickOn(sheet->records());
        QTRY_VERIFY(sheet->records()->hasFocus());
        {
            DialogAnswer rename([](QWidget* d) {
                auto* input = qobject_cast<QInputDialog*>(d);
                input->setTextValue(QStringLiteral("屋面避雷针"));
                input->accept();
            });
            keys(QStringLiteral("F2"));
            QTRY_VERIFY(rename.seen());
        }
        QTRY_COMPARE(m_window->calculationSheet().records.at(0).label, std::string("屋面避雷针"));
        clickOn(sheet->records());
        QTRY_VERIFY(sheet->records()->hasFocus());
        DialogAnswer remove(
            [](QWidget* d) { qobject_cast<QMessageBox*>(d)->button(QMessageBox::Yes)->click(); });
        keys(QStringLiteral("Delete"));
        QTRY_VERIFY(remove.seen());
        QVERIFY(remove.text().contains(QStringLiteral("屋面避雷针")));
        QTRY_VERIFY(m_window->calculationSheet().records.empty());
    }

    // A double-click in a result box selects the whole number, not the digits after the point.
    void doubleClickSelectsTheWholeResult() {
        auto* v = pressSingleRodByKeys();
        QVERIFY(v);
        auto* box = static_cast<QLabel*>(v->widget(QStringLiteral("PicRx")));
        // Over the digits after the point.
        const int x = box->fontMetrics().horizontalAdvance(QStringLiteral(" 11.701")) + 4;
        const QPoint p = box->mapToGlobal(QPoint(x, box->height() / 2));
        xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                 QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                 QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
        QTRY_COMPARE(box->selectedText(), QStringLiteral("11.70115"));
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
