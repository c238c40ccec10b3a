// The panel beside a form follows its presses: the working after a success, only the
// message after a refusal or a failed step, nothing after a blank stop.

#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "forms/action.h"
#include "forms/catalog.h"
#include "view/form_page.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;

class FormPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        view::setMessagePresenter([](QWidget*, const forms::Message&) {});
    }

    void followsEveryPress() {
        forms::Form form(*forms::findForm("frmRx_DLDanZ"));
        view::FormPage page(form);
        view::FormPanel* panel = page.panel();
        QVERIFY(panel);
        QPushButton* add = panel->addToSheetButton();
        QVERIFY(!add->isEnabled());
        QVERIFY(panel->working()->toPlainText().isEmpty());

        auto press = [&](std::vector<forms::Action> inputs) {
            forms::applyAll(form, inputs);
            // Through the view, as a click on "计 算" does.
            qobject_cast<QPushButton*>(page.formView()->widget("CmdRun"))->click();
            return panel->working()->toPlainText();
        };
        const QString worked =
            press({forms::Action::set("CmbH", "20"), forms::Action::set("CmbHx", "5")});
        QVERIFY(add->isEnabled());
        QVERIFY2(worked.contains(QStringLiteral("11.70115")), qPrintable(worked));

        const QString refused = press({forms::Action::set("CmbH", "40")});
        QCOMPARE(refused, QStringLiteral("避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！"));
        QVERIFY(!add->isEnabled());

        const QString failed = press({forms::Action::set("CmbH", "1..2")});
        QVERIFY(failed.contains(QStringLiteral("H")));
        QVERIFY(!failed.contains(QStringLiteral("11.70115")));

        QVERIFY(press({forms::Action::set("CmbH", "")}).isEmpty());
        QVERIFY(!add->isEnabled());
    }

    void aReferenceTableHasNoPanel() {
        forms::Form form(*forms::findForm("frmDZ_TuRang"));
        view::FormPage page(form);
        QCOMPARE(page.panel(), nullptr);
    }
};

QTEST_MAIN(FormPanelTest)
#include "form_panel_test.moc"
