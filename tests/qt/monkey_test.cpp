// A monkey run: opens every form through the menu, types random keys into random boxes,
// presses buttons, Enter and Escape, arranges windows, opens the About box — a few
// thousand events with a fixed seed, answering every message box at once. Nothing may
// crash, every message box carries the title "Tervalen", no result box shows anything
// but a number in the display format, and Exit answered with Cancel loses nothing.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <random>

#include "forms/catalog.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/menu_table.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void randomEventsBreakNothing() {
        std::mt19937 rng(20261210);
        const auto pick = [&](auto n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
        };

        int messages = 0;
        QStringList badTitles;
        view::setMessagePresenter([&](QWidget* parent, const forms::Message& m) {
            ++messages;
            auto box = view::makeMessageBox(parent, m);
            if (box->windowTitle() != "Tervalen") badTitles << box->windowTitle();
        });
        int exitQuestions = 0;
        view::setQuestionPresenter([&](QWidget*) {
            ++exitQuestions;
            return false;  // Cancel
        });

        shell::MDIFangLei w;
        w.resize(1024, 768);
        w.show();
        std::vector<QAction*> openers;
        for (const auto& e : shell::menuTable())
            if (e.form) openers.push_back(w.menuAction(e.name));
        for (QAction* a : openers) a->trigger();  // every form through the menu once

        const QStringList keys = {"0", "1", "2", "5",  "9",  ".", ".",    "-",   "+",
                                  "e", " ", "a", "是", "否", "Ω", "\x16", "\x03"};
        const QRegularExpression display(R"(^$|^[ -](\d+(\.\d+)?|\d(\.\d+)?E[+-]\d\d+)$)");
        QStringList badResults;

        // The form to act on: any open one (offscreen, no child window gets activated).
        const auto someView = [&]() -> view::FormView* {
            const auto subs = w.mdiArea()->subWindowList();
            if (subs.isEmpty()) return nullptr;
            return shell::formViewOf(subs[pick(subs.size())]);
        };
        const auto inputsOf = [](view::FormView* v) {
            QList<QLineEdit*> edits;
            for (QLineEdit* e : v->findChildren<QLineEdit*>())
                if (e->isEnabled() && e->isVisible()) edits << e;
            return edits;
        };

        for (int step = 0; step < 4000; ++step) {
            const std::size_t action = pick(100);
            view::FormView* v = someView();
            if (action < 8 || !v) {
                openers[pick(openers.size())]->trigger();
            } else if (action < 60 && v) {
                const auto edits = inputsOf(v);
                if (edits.isEmpty()) continue;
                QLineEdit* e = edits[pick(edits.size())];
                QWidget* target =
                    qobject_cast<QComboBox*>(e->parentWidget()) ? e->parentWidget() : e;
                const QString k = keys[pick(keys.size())];
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, k, Qt::NoModifier);
            } else if (action < 66 && v) {
                const auto edits = inputsOf(v);
                if (!edits.isEmpty()) QTest::keyClick(edits[pick(edits.size())], Qt::Key_Backspace);
            } else if (action < 80 && v) {
                QList<QPushButton*> buttons = v->findChildren<QPushButton*>();
                QList<QPushButton*> calculate;
                for (QPushButton* b : buttons)
                    if (b->objectName().startsWith("CmdRun")) calculate << b;
                if (!calculate.isEmpty()) calculate[pick(calculate.size())]->click();
            } else if (action < 84 && v) {
                const auto edits = inputsOf(v);
                if (!edits.isEmpty()) QTest::keyClick(edits[pick(edits.size())], Qt::Key_Return);
            } else if (action < 86 && v) {
                QTest::keyClick(v, Qt::Key_Escape);
            } else if (action < 88 && v) {
                const auto options = v->findChildren<QRadioButton*>();
                if (!options.isEmpty()) options[pick(options.size())]->click();
            } else if (action < 90 && v) {
                for (QComboBox* c : v->findChildren<QComboBox*>())
                    if (c->count() > 0 && pick(3) == 0)
                        emit c->activated(static_cast<int>(pick(c->count())));
            } else if (action < 94) {
                w.menuAction(QStringList{"mnuCD", "mnuSP", "mnuCZ"}[pick(3)])->trigger();
            } else if (action < 96) {
                w.menuAction("mnuCK_About")->trigger();
                if (pick(2) == 0 && w.aboutBox()) w.aboutBox()->close();
            } else if (action < 98) {
                // Exit, answered Cancel: every typed value stays.
                QStringList before;
                for (QLineEdit* e : w.findChildren<QLineEdit*>())
                    before << e->objectName() + "=" + e->text();
                w.menuAction("mnuExit")->trigger();
                QStringList after;
                for (QLineEdit* e : w.findChildren<QLineEdit*>())
                    after << e->objectName() + "=" + e->text();
                QCOMPARE(after, before);
                QVERIFY(w.isVisible());
            }
            QApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
                if (auto* fv = shell::formViewOf(sub))
                    for (const forms::Control* c : fv->form().controls())
                        if (c->kind == forms::Kind::Result) {
                            const QString shown =
                                qobject_cast<QLabel*>(fv->widget(QString::fromStdString(c->name)))
                                    ->text();
                            if (!display.match(shown).hasMatch()) badResults << shown;
                        }
        }
        QVERIFY2(badTitles.isEmpty(), qPrintable(badTitles.join(", ")));
        QVERIFY2(badResults.isEmpty(), qPrintable(badResults.mid(0, 5).join(" | ")));
        QVERIFY(messages > 100);  // the run did reach filters and checks
        QVERIFY(exitQuestions > 10);
        view::setMessagePresenter({});
        view::setQuestionPresenter({});
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
