// Typing into the forms on a real X server: the keys come from xdotool through the X
// server, as a keyboard would send them (Tab carries "\t", Delete carries 0x7F), the
// window manager activates the windows, and message boxes are real modal boxes.
// Run by run_under_xvfb.sh.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;

namespace {

// Sends keys or text through the X server and lets Qt take them.
void xdotool(const QStringList& args) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), args), 0);
    QTest::qWait(150);
}
void keys(const QString& sequence) {
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} +
            sequence.split(QLatin1Char(' ')));
}
void type(const QString& text) {
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}
void clickOn(QWidget* w) {
    const QPoint p = w->mapToGlobal(w->rect().center());
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

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

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<shell::MDIFangLei> m_window;
    std::vector<forms::Message> m_messages;

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
        QVERIFY(!blankOnScreen(v->widget("PicRx")));

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
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
