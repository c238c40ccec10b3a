// The panel beside a form follows its presses: the working after a success, only the
// message after a refusal or a failed step, nothing after a blank stop. A form's settings
// are chosen there, recompute what the form shows and are remembered where they say so.

#include "view/form_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QtTest>

#include "forms/action.h"
#include "forms/catalog.h"
#include "sheet/sheet_record.h"
#include "view/form_page.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;

class FormPanelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("tervalen-test"));
        QSettings().remove(QStringLiteral("forms"));
    }
    void cleanupTestCase() { QSettings().remove(QStringLiteral("forms")); }

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

    void settingsAreChosenBesideTheForm() {
        forms::Form form(*forms::findForm("frmLJCS"));
        view::FormPage page(form);
        view::FormPanel* panel = page.panel();
        QComboBox* edition = panel->settingBox("edition");
        QComboBox* use = panel->settingBox("use");
        QVERIFY(edition && use);
        QCOMPARE(edition->count(), 2);
        QCOMPARE(edition->currentText(), QStringLiteral("GB 50057-94（2000年版）"));
        QCOMPARE(use->count(), 4);
        QCOMPARE(
            use->itemText(3),
            QStringLiteral("部、省级办公建筑物及其他重要或人员密集的公共建筑物（含火灾危险场所）"));
        QLabel* caption = nullptr;
        for (QLabel* l : panel->findChildren<QLabel*>())
            if (l->buddy() == edition) caption = l;
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("计算依据："));

        // Chosen before any press: nothing computed, the choice kept.
        QTest::keyClick(edition, Qt::Key_Down);
        QCOMPARE(form.setting("edition"), std::string("2010"));
        QCOMPARE(form.text("PicN"), std::string());
        QCOMPARE(QSettings().value(QStringLiteral("forms/frmLJCS/edition")).toString(),
                 QStringLiteral("2010"));

        forms::applyAll(
            form, std::vector{forms::Action::set("CmbTd", "40"), forms::Action::set("CmbL", "50"),
                              forms::Action::set("CmbW", "20"), forms::Action::set("CmbH", "30")});
        page.formView()->press("CmdRun");
        QCOMPARE(form.text("PicN"), std::string(" 0.1080805"));
        QString working = panel->working()->toPlainText();
        QVERIFY2(working.contains(QStringLiteral("Ng = 0.1×Td = 0.1×40 = 4")), qPrintable(working));
        QVERIFY(working.contains(QStringLiteral("GB 50057-2010 附录A")));

        // Chosen after a press: the form computes again, the panel follows.
        QTest::keyClick(edition, Qt::Key_Up);
        QCOMPARE(form.text("PicN"), std::string(" 0.07844704"));
        working = panel->working()->toPlainText();
        // The power is a superscript, not "Td^1.3".
        QVERIFY2(working.contains(QStringLiteral("Ng = 0.024×Td1.3")), qPrintable(working));
        QVERIFY(panel->working()->toHtml().contains(QStringLiteral("vertical-align:super")));
        QVERIFY(!working.contains(QStringLiteral("防雷建筑物")));
        use->setCurrentIndex(0);
        QTest::keyClick(use, Qt::Key_Down);
        QCOMPARE(form.setting("use"), std::string("civil"));
        working = panel->working()->toPlainText();
        QVERIFY2(working.contains(QStringLiteral("按年预计雷击次数属第三类防雷建筑物")),
                 qPrintable(working));
        QVERIFY(working.contains(QStringLiteral("防雷类别还须按规范其他条款")));
        QVERIFY(form.lastPress());
        QCOMPARE(form.lastPress()->settings().at("use"), std::string("civil"));
        QVERIFY2(!QSettings().contains(QStringLiteral("forms/frmLJCS/use")),
                 "the use is the building's, not remembered");

        // The remembered edition is recalled by a form of the next run.
        QTest::keyClick(edition, Qt::Key_Down);
        forms::Form next(*forms::findForm("frmLJCS"));
        view::recallSettings(next);
        QCOMPARE(next.setting("edition"), std::string("2010"));
        QCOMPARE(next.setting("use"), std::string("none"));
    }

    void openingARecordAgainSetsItsSettings() {
        forms::Form used(*forms::findForm("frmLJCS"));
        used.setSettings({{"edition", "2010"}, {"use", "public"}});
        forms::applyAll(
            used, std::vector{forms::Action::set("CmbTd", "40"), forms::Action::set("CmbL", "50"),
                              forms::Action::set("CmbW", "20"), forms::Action::set("CmbH", "30"),
                              forms::Action::press("CmdRun")});
        const auto record = sheet::recordOf(used);
        QVERIFY(record);

        forms::Form form(*forms::findForm("frmLJCS"));
        view::FormPage page(form);
        page.formView()->apply(record->settings, record->actions);
        QCOMPARE(form.text("PicN"), std::string(" 0.1080805"));
        QCOMPARE(page.panel()->settingBox("edition")->currentText(),
                 QStringLiteral("GB 50057-2010"));
        QCOMPARE(page.panel()->settingBox("use")->currentIndex(), 3);
        QVERIFY(page.panel()->working()->toPlainText().contains(
            QStringLiteral("按年预计雷击次数属第二类防雷建筑物")));
    }

    void aFormWithoutSettingsShowsNoChoice() {
        forms::Form form(*forms::findForm("frmRx_DLDanZ"));
        view::FormPage page(form);
        QCOMPARE(page.panel()->findChildren<QComboBox*>().size(), 0);
        QCOMPARE(page.panel()->settingBox("edition"), nullptr);
    }

    void aReferenceTableHasNoPanel() {
        forms::Form form(*forms::findForm("frmDZ_TuRang"));
        view::FormPage page(form);
        QCOMPARE(page.panel(), nullptr);
    }
};

QTEST_MAIN(FormPanelTest)
#include "form_panel_test.moc"
