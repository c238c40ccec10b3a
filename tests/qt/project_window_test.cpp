// Project files in the main window: the unsaved-changes question on 新建工程, 打开工程… and
// closing, with each answer; saving and reading back the sheet and the open forms; the
// title; failed reads and saves; the recent projects; records marked as differing.
// The modal boxes and file dialogs are real; a timer answers them as they open.

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <deque>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "forms/action.h"
#include "forms/catalog.h"
#include "project/project.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "shell/recent_projects.h"
#include "shell/sheet_window.h"
#include "shell/translation.h"
#include "view/drawing/drawing_view.h"
#include "view/form_page.h"
#include "view/form_panel.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;
using forms::Action;

namespace {

// Answers the modal dialogs that open, in order, and notes what each one was: a message
// box's text, or a file dialog's object name. A dialog nobody expected is noted and
// cancelled, so that a test fails instead of hanging.
class Answerer : public QObject {
public:
    using Answer = std::function<void(QWidget*)>;

    Answerer() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &Answerer::poll);
        m_timer.start();
    }
    void expect(Answer answer) { m_answers.push_back(std::move(answer)); }
    QStringList seen() const { return m_seen; }
    bool done() const { return m_answers.empty(); }

    static Answer click(const QString& caption) {
        return [caption](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove('&') == caption) return b->click();
            QFAIL(qPrintable("no button " + caption));
        };
    }
    static Answer choose(const QString& file) {
        return [file](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            dialog->selectFile(file);
            static_cast<QDialog*>(dialog)->accept();  // the file dialog checks the name
        };
    }
    static Answer cancel() {
        return [](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); };
    }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last) return;
        m_last = modal;
        auto* box = qobject_cast<QMessageBox*>(modal);
        m_seen << (box ? box->text() : modal->objectName());
        if (m_answers.empty()) {
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
            return;
        }
        Answer answer = std::move(m_answers.front());
        m_answers.pop_front();
        answer(modal);
    }

    QTimer m_timer;
    std::deque<Answer> m_answers;
    QStringList m_seen;
    QPointer<QWidget> m_last;
};

const QString kQuestion = QStringLiteral("保存对工程的修改吗？");

QLineEdit* edit(view::FormView* v, const char* name) {
    QWidget* w = v->widget(QString::fromUtf8(name));
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->lineEdit();
    return qobject_cast<QLineEdit*>(w);
}

// The title as the window shows it: Qt's placeholder for unsaved changes as "*" or nothing.
QString shownTitle(const QWidget& w) {
    return QString(w.windowTitle())
        .replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : QString());
}

QString resultText(view::FormView* v, const char* name) {
    return qobject_cast<QLabel*>(v->widget(QString::fromUtf8(name)))->text();
}

// Opens the form, does what the actions say and records the press in the sheet.
void record(shell::MDIFangLei& w, const char* form, const std::vector<Action>& actions) {
    w.openForm(form);
    w.formView(form)->apply(actions);
    QVERIFY(w.addToSheet(w.formView(form)->form()));
}

std::vector<std::string> openFormNames(shell::MDIFangLei& w) {
    std::vector<std::string> names;
    for (QMdiSubWindow* sub : w.mdiArea()->subWindowList(QMdiArea::CreationOrder))
        if (view::FormView* v = shell::formViewOf(sub); v && !sub->isHidden())
            names.push_back(v->form().name());
    return names;
}

std::size_t recordsIn(const QString& file) {
    return project::load(file.toStdString()).sheet.records.size();
}

std::string readFile(const QString& file) {
    std::ifstream in(file.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// What the driver's --add-to does: under the project's lock, a record added and saved.
void addedByAnotherProgram(const QString& file) {
    const auto lock = project::lockForChange(file.toStdString());
    project::Project p = project::load(file.toStdString());
    p.sheet.add(*sheet::replay(*forms::findForm("frmRx_DLDanZ"),
                               std::vector{Action::set("CmbH", "30"), Action::set("CmbHx", "5"),
                                           Action::press("CmdRun")}));
    QCOMPARE(project::save(p, file.toStdString()).why(), std::string());
}

QString changedOnDisk(const QString& file) {
    return QStringLiteral("文件已被其他程序修改：") + QDir::toNativeSeparators(file);
}

}  // namespace

class ProjectWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    // A main window whose project is saved as `file` with one record, and then given a
    // second record: unsaved changes.
    void prepare(shell::MDIFangLei& w, const QString& file) {
        w.show();
        record(w, "frmRx_DLDanZ",
               {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
        if (!file.isEmpty()) QVERIFY(w.saveProjectTo(file));
        record(w, "frmLJCS",
               {Action::set("CmbTd", "40"), Action::set("CmbL", "50"), Action::set("CmbW", "20"),
                Action::set("CmbH", "15"), Action::press("CmdRun")});
        QVERIFY(w.hasUnsavedChanges());
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("tervalen-test"));
        QCoreApplication::setApplicationName(QStringLiteral("project_window_test"));
        QVERIFY(m_dir.isValid());
        // Qt's texts in Chinese from the start, as the program has them by the time it
        // reports anything (whichever step of a test would have installed them first).
        shell::ensureChineseQtTexts();
        view::setMessagePresenter([](QWidget*, const forms::Message& m) {
            QFAIL(qPrintable(QString::fromStdString("unexpected message: " + m.text)));
        });
    }
    void init() { QSettings().clear(); }

    // 新建工程, 打开工程… and closing the window with unsaved changes, for each answer.
    // The project has a file ("named") or has never been saved; `fileAnswer` answers
    // the file dialog that 保存 opens for a project without a file (empty: cancelled).
    void unsavedChangesQuestion_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("fileAnswer");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<int>("savedRecords");  // in the project's file afterwards
        for (const char* action : {"new", "open", "close"}) {
            QTest::addRow("%s, 保存", action) << action << true << "保存"
                                              << "" << true << 2;
            QTest::addRow("%s, 不保存", action) << action << true << "不保存"
                                                << "" << true << 1;
            QTest::addRow("%s, 取消", action) << action << true << "取消"
                                              << "" << false << 1;
            QTest::addRow("%s, never saved, 保存 then a name", action) << action << false << "保存"
                                                                       << "named.tvp" << true << 2;
            QTest::addRow("%s, never saved, 保存 then no name", action) << action << false << "保存"
                                                                        << "" << false << 0;
        }
    }
    void unsavedChangesQuestion() {
        QFETCH(QString, action);
        QFETCH(bool, named);
        QFETCH(QString, answer);
        QFETCH(QString, fileAnswer);
        QFETCH(bool, goesOn);
        QFETCH(int, savedRecords);
        const QString tag = QString::fromUtf8(QTest::currentDataTag()).replace(' ', '_');
        const QString file = path(qPrintable("q-" + tag + ".tvp"));
        const QString named2 = path(qPrintable("n-" + tag + ".tvp"));
        // The project 打开工程… chooses: one record of the other earthing form.
        const QString other = path("other.tvp");
        {
            shell::MDIFangLei o;
            record(o, "frmDZ_GC",
                   {Action::set("CmbR", "10"), Action::set("Cmbρ", "100"),
                    Action::set("CmbL", "10"), Action::press("CmdRun")});
            QVERIFY(o.saveProjectTo(other));
        }

        shell::MDIFangLei w;
        prepare(w, named ? file : QString());
        const QString titleBefore = shownTitle(w);
        QVERIFY(titleBefore.contains('*'));

        Answerer answers;
        answers.expect(Answerer::click(answer));
        QStringList expected{kQuestion};
        if (!named && answer == "保存") {
            expected << "SaveProjectDialog";
            answers.expect(fileAnswer.isEmpty() ? Answerer::cancel() : Answerer::choose(named2));
        }
        if (action == "open" && goesOn) {
            expected << "OpenProjectDialog";
            answers.expect(Answerer::choose(other));
        }
        bool went = false;
        if (action == "new") went = w.newProject();
        if (action == "open") went = w.openProject();
        if (action == "close") went = w.close();
        QCOMPARE(answers.seen(), expected);
        QVERIFY(answers.done());
        QCOMPARE(went, goesOn);

        const QString saved = named ? file : named2;
        if (savedRecords > 0)
            QCOMPARE(recordsIn(saved), std::size_t(savedRecords));
        else
            QVERIFY(!QFileInfo::exists(saved));

        if (!goesOn) {
            // Nothing lost: the records, the windows, the title.
            QCOMPARE(w.calculationSheet().records.size(), std::size_t{2});
            QCOMPARE(openFormNames(w), (std::vector<std::string>{"frmRx_DLDanZ", "frmLJCS"}));
            QCOMPARE(shownTitle(w), titleBefore);
            QVERIFY(w.isVisible());
            return;
        }
        if (action == "close") {
            QVERIFY(!w.isVisible());
            return;
        }
        QVERIFY(!w.hasUnsavedChanges());
        QVERIFY(!shownTitle(w).contains('*'));
        if (action == "new") {
            QVERIFY(w.calculationSheet().records.empty());
            QVERIFY(openFormNames(w).empty());
            QCOMPARE(w.projectFile(), QString());
            QCOMPARE(shownTitle(w), QStringLiteral("Tervalen"));
        } else {
            QCOMPARE(w.calculationSheet().records.size(), std::size_t{1});
            QCOMPARE(w.calculationSheet().records[0].form, std::string("frmDZ_GC"));
            QCOMPARE(w.projectFile(), other);
            QCOMPARE(openFormNames(w), std::vector<std::string>{"frmDZ_GC"});
        }
    }

    // With nothing unsaved nothing is asked; 退出 asks its own question first, and the
    // unsaved-changes question only when the user does leave.
    void exitAsksItsQuestionFirst() {
        int exitQuestions = 0;
        bool exitAnswer = false;
        view::setQuestionPresenter([&](QWidget*) {
            ++exitQuestions;
            return exitAnswer;
        });
        const auto restore = qScopeGuard([] { view::setQuestionPresenter({}); });
        shell::MDIFangLei w;
        prepare(w, QString());
        {
            Answerer answers;
            w.exitProgram();  // 取消 to the exit question
            QCOMPARE(exitQuestions, 1);
            QCOMPARE(answers.seen(), QStringList());
        }
        {
            Answerer answers;
            answers.expect(Answerer::click("取消"));
            exitAnswer = true;
            w.exitProgram();
            QCOMPARE(exitQuestions, 2);
            QCOMPARE(answers.seen(), QStringList{kQuestion});
            QVERIFY(w.isVisible());
            QCOMPARE(w.calculationSheet().records.size(), std::size_t{2});
        }
        {
            Answerer answers;
            QVERIFY(w.saveProjectTo(path("exit.tvp")));
            QVERIFY(w.newProject());
            QVERIFY(w.close());
            QCOMPARE(answers.seen(), QStringList());
        }
    }

    // Records of several forms (a two-button earthing chain among them), a requirement,
    // a renamed record, the header, and open forms showing typed texts and results: a
    // fresh window reads back the same sheet, windows, texts and active window.
    void roundTripThroughTheWindow() {
        const QString file = path("round trip.tvp");
        QString sheetText;
        std::vector<std::pair<std::string, std::map<std::string, std::string>>> shown;
        {
            shell::MDIFangLei w;
            w.show();
            record(w, "frmRx_DLDanZ",
                   {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
            record(
                w, "frmDZ_ChuiZhi",
                {Action::set("CmbGg", "0.05"), Action::set("Cmbρ", "300"),
                 Action::set("CmbL1", "2.5"), Action::set("CmbN", "4"), Action::set("CmbL2", "5"),
                 Action::press("CmdRun_GP"), Action::press("CmdRun_CJ")});
            record(w, "frmLJCS",
                   {Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                    Action::set("CmbW", "20"), Action::set("CmbH", "15"), Action::press("CmdRun")});
            // Typed after the last press, and a form with typing only.
            edit(w.formView("frmRx_DLDanZ"), "CmbHx")->setText("7");
            w.openForm("frmZJXB");
            edit(w.formView("frmZJXB"), "CmbLa1")->setText("3");
            w.showSheet();
            shell::SheetWindow* sheet = w.sheetWindow();
            QLineEdit* project = sheet->headerField(QStringLiteral("工程名称"));
            project->setText(QStringLiteral("某厂区防雷"));
            emit project->textEdited(project->text());
            sheet->records()->setCurrentRow(1);
            auto* requirement = sheet->findChild<QLineEdit*>(QStringLiteral("Requirement"));
            requirement->setText(QStringLiteral("30"));
            emit requirement->returnPressed();
            QVERIFY(w.calculationSheet().records[1].requirement);
            w.calculationSheet().records[2].label = "3# 主楼";
            sheet->refresh();
            // The earthing form comes forward: it is the active window to come back.
            w.openForm("frmDZ_ChuiZhi");
            QVERIFY(w.saveProjectTo(file));
            QCOMPARE(w.projectCaption(), QStringLiteral("round trip.tvp[*] - Tervalen"));
            QVERIFY(!w.isWindowModified());
            QVERIFY(!w.hasUnsavedChanges());

            for (const std::string& name : openFormNames(w)) {
                std::map<std::string, std::string> texts;
                for (const forms::Control* c : w.formView(name)->form().controls())
                    texts[c->name] = w.formView(name)->form().text(c->name);
                shown.emplace_back(name, texts);
            }
            sheetText = sheet->plainText();
        }
        const project::Project saved = project::load(file.toStdString());
        // What is remembered for new sheets does not go into a project read.
        QSettings().setValue(QStringLiteral("sheet/designer"), QStringLiteral("别的设计院"));

        shell::MDIFangLei w;
        w.show();
        QVERIFY(w.openProjectFile(file));
        // As at start with a file: the forms cover the background before its first paint,
        // and the menus' shortcuts must come all the same.
        QTRY_VERIFY(w.findChild<QAction*>(QStringLiteral("mnuSaveProject")));
        QCOMPARE(w.projectFile(), file);
        QVERIFY(!w.hasUnsavedChanges());
        QCOMPARE(w.projectCaption(), QStringLiteral("round trip.tvp[*] - Tervalen"));
        QVERIFY(!w.isWindowModified());
        QCOMPARE(w.calculationSheet().header, saved.sheet.header);
        QCOMPARE(w.calculationSheet().records, saved.sheet.records);
        QCOMPARE(w.calculationSheet().records.size(), std::size_t{3});
        for (const sheet::SheetRecord& r : w.calculationSheet().records) QVERIFY(!r.mismatch);
        QCOMPARE(w.calculationSheet().records[2].label, std::string("3# 主楼"));
        QCOMPARE(w.calculationSheet().header.project, std::string("某厂区防雷"));

        // The same windows, in the same order, the one active when saved in front.
        QCOMPARE(openFormNames(w),
                 (std::vector<std::string>{"frmRx_DLDanZ", "frmLJCS", "frmZJXB", "frmDZ_ChuiZhi"}));
        QCOMPARE(shell::formViewOf(w.mdiArea()->currentSubWindow()), w.formView("frmDZ_ChuiZhi"));
        QCOMPARE(openFormNames(w).size(), shown.size());
        for (const auto& [name, texts] : shown)
            for (const auto& [control, text] : texts)
                QCOMPARE(w.formView(name)->form().text(control), text);
        // The widgets show it too, typed text and results alike.
        QCOMPARE(edit(w.formView("frmRx_DLDanZ"), "CmbHx")->text(), QStringLiteral("7"));
        QCOMPARE(resultText(w.formView("frmRx_DLDanZ"), "PicRx"), QStringLiteral(" 11.70115"));
        QCOMPARE(edit(w.formView("frmZJXB"), "CmbLa1")->text(), QStringLiteral("3"));
        QCOMPARE(resultText(w.formView("frmDZ_ChuiZhi"), "PicRi"), QStringLiteral(" 28.45657"));
        w.showSheet();
        QCOMPARE(w.calculationSheet().header, saved.sheet.header);
        QVERIFY(!w.hasUnsavedChanges());
        QCOMPARE(w.sheetWindow()->plainText(), sheetText);
        QCOMPARE(w.sheetWindow()->headerField(QStringLiteral("工程名称"))->text(),
                 QStringLiteral("某厂区防雷"));
        // Saved again unchanged, the file is the same.
        const std::string before = readFile(file);
        QVERIFY(w.saveProject());
        QCOMPARE(readFile(file), before);
        // A form not open in the project opens with its defaults.
        w.openForm("frmRx_JSDanZ");
        QCOMPARE(edit(w.formView("frmRx_JSDanZ"), "CmbH")->text(), QString());
    }

    // Each change of the sheet the user can make marks the project unsaved; saving clears
    // the mark, and the mark follows the file's name.
    void everyChangeOfTheSheetMarksTheTitle_data() {
        QTest::addColumn<QString>("change");
        for (const char* c : {"add", "header", "rename", "move", "remove", "requirement"})
            QTest::newRow(c) << c;
    }
    void everyChangeOfTheSheetMarksTheTitle() {
        QFETCH(QString, change);
        QSettings().setValue(QStringLiteral("sheet/designer"), QStringLiteral("某设计院"));
        shell::MDIFangLei w;
        w.show();
        QCOMPARE(shownTitle(w), QStringLiteral("Tervalen"));
        record(w, "frmRx_DLDanZ",
               {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
        record(w, "frmRx_JSDanZ",
               {Action::set("CmbH", "40"), Action::set("CmbHx", "15"), Action::press("CmdRun")});
        QVERIFY(w.hasUnsavedChanges());
        QVERIFY(shownTitle(w).startsWith(QStringLiteral("Tervalen*")));
        QVERIFY(w.saveProjectTo(path("marks.tvp")));
        QVERIFY(shownTitle(w).startsWith(QStringLiteral("marks.tvp - Tervalen")));
        w.showSheet();
        shell::SheetWindow* sheet = w.sheetWindow();
        // A new sheet takes the remembered fields, which are no change of the user's.
        QCOMPARE(w.calculationSheet().header.designer, std::string("某设计院"));
        QVERIFY(!w.hasUnsavedChanges());

        Answerer answers;
        sheet->records()->setCurrentRow(0);
        if (change == "add") {
            w.openForm("frmRx_DLDanZ");
            QVERIFY(w.addToSheet(w.formView("frmRx_DLDanZ")->form()));
        } else if (change == "header") {
            QLineEdit* checker = sheet->headerField(QStringLiteral("校对人"));
            checker->setText(QStringLiteral("李工"));
            emit checker->textEdited(checker->text());
        } else if (change == "rename") {
            answers.expect([](QWidget* d) {
                auto* input = qobject_cast<QInputDialog*>(d);
                QVERIFY(input);
                input->setTextValue(QStringLiteral("屋面避雷针"));
                input->accept();
            });
            for (QPushButton* b : sheet->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("重命名")) b->click();
        } else if (change == "move") {
            for (QPushButton* b : sheet->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("下移")) b->click();
        } else if (change == "remove") {
            answers.expect([](QWidget* d) {
                qobject_cast<QMessageBox*>(d)->button(QMessageBox::Yes)->click();
            });
            for (QPushButton* b : sheet->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("删除")) b->click();
        } else if (change == "requirement") {
            auto* requirement = sheet->findChild<QLineEdit*>(QStringLiteral("Requirement"));
            requirement->setText(QStringLiteral("10"));
            emit requirement->returnPressed();
        }
        QVERIFY(answers.done());
        QVERIFY2(w.hasUnsavedChanges(), qPrintable(change));
        QVERIFY(shownTitle(w).startsWith(QStringLiteral("marks.tvp* - Tervalen")));
        QVERIFY(w.saveProject());
        QVERIFY(shownTitle(w).startsWith(QStringLiteral("marks.tvp - Tervalen")));
        QVERIFY(!w.hasUnsavedChanges());
    }

    // What the open forms show and keep is part of the project: typing, a list pick, an
    // option, a press, a setting and closing a form that shows something each mark it
    // unsaved; opening a form with its defaults, bringing one forward, or typing back
    // what was there do not. Saving clears the mark, and 新建工程 closes the forms.
    void workInTheFormsMarksTheProject_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("marks");
        QTest::newRow("typing") << "type" << true;
        QTest::newRow("list pick") << "pick" << true;
        QTest::newRow("option") << "option" << true;
        QTest::newRow("press") << "press" << true;
        QTest::newRow("setting") << "setting" << true;
        QTest::newRow("closing a form") << "close" << true;
        QTest::newRow("opening a form") << "open" << false;
        QTest::newRow("bringing one forward") << "forward" << false;
        QTest::newRow("typed back") << "typed back" << false;
        QTest::newRow("closing an untouched form") << "close untouched" << false;
    }
    void workInTheFormsMarksTheProject() {
        QFETCH(QString, change);
        QFETCH(bool, marks);
        shell::MDIFangLei w;
        w.show();
        w.openForm("frmRx_DLDanZ");
        view::FormView* rx = w.formView("frmRx_DLDanZ");
        rx->apply({Action::set("CmbH", "20"), Action::set("CmbHx", "5")});
        w.openForm("frmDZ_ShuiPing");
        w.openForm("frmLJCS");
        w.formView("frmLJCS")->apply({Action::set("CmbTd", "40")});
        w.openForm("frmZJXB");  // untouched
        QVERIFY(w.hasUnsavedChanges());
        QVERIFY(w.saveProjectTo(path("forms.tvp")));
        QVERIFY(!w.hasUnsavedChanges());
        QVERIFY(!shownTitle(w).contains('*'));

        if (change == "type") {
            edit(rx, "CmbHx")->setText("7");
        } else if (change == "typed back") {
            edit(rx, "CmbHx")->setText("7");
            edit(rx, "CmbHx")->setText("5");
        } else if (change == "pick") {
            auto* type = qobject_cast<QComboBox*>(
                w.formView("frmDZ_ShuiPing")->widget(QStringLiteral("CmbGx")));
            type->setCurrentIndex(type->count() - 1);
            emit type->activated(type->count() - 1);
        } else if (change == "option") {
            qobject_cast<QAbstractButton*>(
                w.formView("frmDZ_ShuiPing")->widget(QStringLiteral("OptA4")))
                ->click();
        } else if (change == "press") {
            qobject_cast<QAbstractButton*>(rx->widget(QStringLiteral("CmdRun")))->click();
        } else if (change == "setting") {
            w.formView("frmLJCS")->choose("edition", "2010");
        } else if (change == "close") {
            w.mdiArea()->subWindowList(QMdiArea::CreationOrder).first()->close();
        } else if (change == "close untouched") {
            w.mdiArea()->subWindowList(QMdiArea::CreationOrder).last()->close();
        } else if (change == "open") {
            w.openForm("frmRx_JSDanZ");
        } else if (change == "forward") {
            w.openForm("frmRx_DLDanZ");
        }
        QApplication::processEvents();  // a window closed is gone once its events have run
        QCOMPARE(w.hasUnsavedChanges(), marks);
        QTRY_COMPARE(shownTitle(w).startsWith(QStringLiteral("forms.tvp*")), marks);
        if (!marks) return;

        // 新建工程 asks, and after the answer the project's forms are gone.
        Answerer answers;
        answers.expect(Answerer::click(QStringLiteral("不保存")));
        QVERIFY(w.newProject());
        QCOMPARE(answers.seen(), QStringList{kQuestion});
        QVERIFY(openFormNames(w).empty());
        QVERIFY(!w.hasUnsavedChanges());
        QCOMPARE(shownTitle(w), QStringLiteral("Tervalen"));
    }

    // A form saved with a successful press comes back showing its working and drawing,
    // with 加入计算书 on, and counts as unchanged; one saved without a press, as before.
    void restoredFormsShowTheirPress() {
        const QString file = path("pressed.tvp");
        {
            shell::MDIFangLei w;
            w.show();
            w.openForm("frmRx_DLDanZ");
            w.formView("frmRx_DLDanZ")
                ->apply({Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                         Action::press("CmdRun")});
            edit(w.formView("frmRx_DLDanZ"), "CmbHx")->setText("7");  // typed after the press
            w.openForm("frmZJXB");
            edit(w.formView("frmZJXB"), "CmbLa1")->setText("3");
            QVERIFY(w.saveProjectTo(file));
        }
        shell::MDIFangLei w;
        w.show();
        QVERIFY(w.openProjectFile(file));
        QVERIFY(!w.hasUnsavedChanges());
        view::FormView* rx = w.formView("frmRx_DLDanZ");
        QCOMPARE(edit(rx, "CmbHx")->text(), QStringLiteral("7"));
        QCOMPARE(resultText(rx, "PicRx"), QStringLiteral(" 11.70115"));
        auto* page = qobject_cast<view::FormPage*>(rx->parentWidget());
        QVERIFY(page && page->panel());
        QVERIFY(page->panel()->working()->toPlainText().contains(QStringLiteral("11.70115")));
        QVERIFY(page->panel()->addToSheetButton()->isEnabled());
        QVERIFY(page->panel()->drawing()->drawing().has_value());
        QVERIFY(page->panel()->drawing()->exportDxfAction()->isEnabled());
        // The record is the press's, not the text typed after it.
        QVERIFY(w.addToSheet(rx->form()));
        QCOMPARE(w.calculationSheet().records.at(0).results.at(0).value, std::string("11.70115"));
        QVERIFY(!w.formView("frmZJXB")->form().lastPress());
        QCOMPARE(edit(w.formView("frmZJXB"), "CmbLa1")->text(), QStringLiteral("3"));
    }

    // The title shows the project's name and mark whether a child window is maximised
    // (Qt adds its caption) or not, whatever happened while it was.
    void titleThroughMaximisedWindows() {
        shell::MDIFangLei w;
        w.show();
        const auto title = [&w] { return shownTitle(w); };
        record(w, "frmRx_DLDanZ",
               {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
        QCOMPARE(title(), QStringLiteral("Tervalen* - [独立单针保护范围计算]"));
        QVERIFY(w.saveProjectTo(path("title.tvp")));
        QCOMPARE(title(), QStringLiteral("title.tvp - Tervalen - [独立单针保护范围计算]"));
        w.menuAction("mnuCD")->trigger();  // cascade: nothing maximised
        QCOMPARE(title(), QStringLiteral("title.tvp - Tervalen"));
        w.mdiArea()->currentSubWindow()->showMaximized();
        QVERIFY(w.addToSheet(w.formView("frmRx_DLDanZ")->form()));
        QCOMPARE(title(), QStringLiteral("title.tvp* - Tervalen - [独立单针保护范围计算]"));
        w.mdiArea()->currentSubWindow()->close();
        QTRY_COMPARE(title(), QStringLiteral("title.tvp* - Tervalen"));
        QVERIFY(w.saveProject());
        QCOMPARE(title(), QStringLiteral("title.tvp - Tervalen"));
        w.openForm("frmZJXB");
        QVERIFY(w.newProject());
        QCOMPARE(title(), QStringLiteral("Tervalen"));
    }

    // A file that cannot be read as a project: a box names the file and what is wrong,
    // and the project in the window stays as it was.
    void aBadFileChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // null: no such file
        QTest::newRow("not JSON") << "garbage.tvp" << QByteArray("{\"format\": ");
        QTest::newRow("empty") << "empty.tvp" << QByteArray("");
        QTest::newRow("another format")
            << "other-format.tvp" << QByteArray(R"({"format": "x", "version": 1})");
        QTest::newRow("missing") << "missing.tvp" << QByteArray();
    }
    void aBadFileChangesNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString bad = path(qPrintable(name));
        if (!content.isNull()) {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        shell::MDIFangLei w;
        const QString file = path("kept.tvp");
        prepare(w, file);
        const QString title = shownTitle(w);
        Answerer answers;
        answers.expect(Answerer::click(QStringLiteral("确定")));
        QVERIFY(!w.openProjectFile(bad));
        QCOMPARE(answers.seen().size(), 1);
        QVERIFY2(answers.seen()[0].contains(name), qPrintable(answers.seen()[0]));
        QCOMPARE(w.calculationSheet().records.size(), std::size_t{2});
        QCOMPARE(openFormNames(w), (std::vector<std::string>{"frmRx_DLDanZ", "frmLJCS"}));
        QCOMPARE(w.projectFile(), file);
        QCOMPARE(shownTitle(w), title);
        QVERIFY(!shell::recentProjects().contains(bad));
    }

    // A save that fails says so with the file and the system's reason; the project stays
    // unsaved under its old name, and a close that wanted to save does not happen.
    void aFailedSaveKeepsTheProjectUnsaved() {
        shell::MDIFangLei w;
        const QString file = path("before-failure.tvp");
        prepare(w, file);
        const QString nowhere = path("no-such-folder/x.tvp");
        Answerer answers;
        answers.expect(Answerer::click(QStringLiteral("确定")));
        QVERIFY(!w.saveProjectTo(nowhere));
        QCOMPARE(answers.seen().size(), 1);
        QVERIFY2(answers.seen()[0].contains(QStringLiteral("x.tvp")),
                 qPrintable(answers.seen()[0]));
        QVERIFY(w.hasUnsavedChanges());
        QCOMPARE(w.projectFile(), file);
        QVERIFY(shownTitle(w).startsWith(QStringLiteral("before-failure.tvp*")));

        // The file becomes unwritable: 保存 in the question fails, the window stays.
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkdir(file));  // a folder where the file was
        answers.expect(Answerer::click(QStringLiteral("保存")));
        answers.expect(Answerer::click(QStringLiteral("确定")));
        QVERIFY(!w.close());
        QCOMPARE(answers.seen().size(), 3);
        QCOMPARE(answers.seen()[1], kQuestion);
        QVERIFY(answers.seen()[2].contains(QStringLiteral("before-failure.tvp")));
        QVERIFY(w.isVisible());
        QVERIFY(w.hasUnsavedChanges());
    }

    // A save onto the project's own file that another program changed since it was read
    // or saved asks first: 取消 writes nothing, 另存为… saves elsewhere and leaves it as
    // it is, 覆盖 writes over it; a file rewritten with the same bytes asks nothing.
    void aFileChangedOnDiskIsNoticedBeforeSaving() {
        shell::MDIFangLei w;
        const QString file = path("changed.tvp");
        prepare(w, file);
        addedByAnotherProgram(file);
        const std::string changed = readFile(file);
        Answerer answers;
        answers.expect(Answerer::click(QStringLiteral("取消")));
        QVERIFY(!w.saveProject());
        QCOMPARE(answers.seen(), QStringList{changedOnDisk(file)});
        QCOMPARE(readFile(file), changed);
        QVERIFY(w.hasUnsavedChanges());

        const QString copy = path("changed-copy.tvp");
        answers.expect(Answerer::click(QStringLiteral("另存为…")));
        answers.expect(Answerer::choose(copy));
        QVERIFY(w.saveProject());
        QCOMPARE(answers.seen().mid(1),
                 (QStringList{changedOnDisk(file), QStringLiteral("SaveProjectDialog")}));
        QCOMPARE(readFile(file), changed);
        QCOMPARE(w.projectFile(), copy);
        QCOMPARE(recordsIn(copy), std::size_t{2});

        addedByAnotherProgram(copy);
        answers.expect(Answerer::click(QStringLiteral("覆盖")));
        QVERIFY(w.saveProject());
        QCOMPARE(answers.seen().size(), 4);
        QCOMPARE(answers.seen()[3], changedOnDisk(copy));
        QCOMPARE(recordsIn(copy), std::size_t{2});  // the window's two, as the user chose
        QVERIFY(w.saveProject());                   // what it wrote itself: no question
        QCOMPARE(answers.seen().size(), 4);

        // Opened rather than saved: the same; the same bytes written again are no change.
        QVERIFY(w.openProjectFile(file));
        { std::ofstream(file.toStdString(), std::ios::binary) << changed; }
        QVERIFY(w.saveProject());
        QCOMPARE(answers.seen().size(), 4);
        addedByAnotherProgram(file);
        answers.expect(Answerer::click(QStringLiteral("取消")));
        QVERIFY(!w.saveProject());
        QCOMPARE(answers.seen().size(), 5);
        QCOMPARE(answers.seen()[4], changedOnDisk(file));
        QCOMPARE(recordsIn(file), std::size_t{3});
        QVERIFY(answers.done());
    }

    // The window's save takes the lock the driver's --add-to takes: a save while another
    // program holds it waits, then sees what that program wrote and asks.
    void theSaveWaitsForAnotherWritersLock() {
        shell::MDIFangLei w;
        const QString file = path("locked.tvp");
        prepare(w, file);
        std::promise<void> locked;
        std::string otherSaved = "not saved";
        std::thread other([&] {
            const auto lock = project::lockForChange(file.toStdString());
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            project::Project p = project::load(file.toStdString());
            p.sheet.records.front().label = "另一个程序改的";
            otherSaved = project::save(p, file.toStdString()).why();
        });
        locked.get_future().wait();
        Answerer answers;
        answers.expect(Answerer::click(QStringLiteral("取消")));
        const bool saved = w.saveProject();
        other.join();
        QCOMPARE(otherSaved, std::string());
        QVERIFY(!saved);
        QCOMPARE(answers.seen(), QStringList{changedOnDisk(file)});
        QCOMPARE(project::load(file.toStdString()).sheet.records.front().label,
                 std::string("另一个程序改的"));
    }

    // Most recent first, each file once, at most eight; a file gone is taken off the list
    // with a note, and nothing else changes.
    void recentProjects() {
        for (int i = 0; i < 10; ++i) shell::rememberProject(path(qPrintable(QString::number(i))));
        shell::rememberProject(path("5"));
        QCOMPARE(shell::recentProjects(),
                 (QStringList{path("5"), path("9"), path("8"), path("7"), path("6"), path("4"),
                              path("3"), path("2")}));
        QSettings().clear();

        const QString a = path("recent-a.tvp");
        const QString b = path("recent-b.tvp");
        shell::MDIFangLei w;
        prepare(w, a);
        QVERIFY(w.saveProjectTo(b));
        QCOMPARE(shell::recentProjects(), (QStringList{b, a}));
        QVERIFY(w.newProject());
        QMenu* menu = w.menuAction("mnuRecentProjects")->menu();
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* e : menu->actions()) entries << e->text();
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0].startsWith("&1 ") && entries[0].endsWith("recent-b.tvp"));
        QVERIFY(entries[1].startsWith("&2 ") && entries[1].endsWith("recent-a.tvp"));

        // The second entry opens a; a then comes first.
        menu->actions()[1]->trigger();
        QCOMPARE(w.projectFile(), a);
        QCOMPARE(shell::recentProjects(), (QStringList{a, b}));

        // b is gone: a note, the list loses it, the project stays.
        QVERIFY(QFile::remove(b));
        emit menu->aboutToShow();
        Answerer answers;
        answers.expect(Answerer::click(QStringLiteral("确定")));
        menu->actions()[1]->trigger();
        QCOMPARE(answers.seen().size(), 1);
        QVERIFY(answers.seen()[0].contains(QStringLiteral("recent-b.tvp")));
        QCOMPARE(shell::recentProjects(), QStringList{a});
        QCOMPARE(w.projectFile(), a);
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 1);
    }

    // A record whose results come out differently when read is marked in the 计算书's
    // list, with both values at hand.
    void aRecordThatDiffersIsMarked() {
        const QString file = path("differs.tvp");
        {
            shell::MDIFangLei w;
            record(w, "frmRx_DLDanZ",
                   {Action::set("CmbH", "20"), Action::set("CmbHx", "5"), Action::press("CmdRun")});
            record(
                w, "frmRx_JSDanZ",
                {Action::set("CmbH", "40"), Action::set("CmbHx", "15"), Action::press("CmdRun")});
            QVERIFY(w.saveProjectTo(file));
        }
        // As if an earlier version had computed the first record's Rx otherwise.
        std::string text = readFile(file);
        const std::string was = "\"11.70115\"";
        QVERIFY(text.find(was) != std::string::npos);
        for (auto at = text.find(was); at != std::string::npos; at = text.find(was, at))
            text.replace(at, was.size(), "\"11.8\"");
        std::ofstream(file.toStdString(), std::ios::binary) << text;

        shell::MDIFangLei w;
        QVERIFY(w.openProjectFile(file));
        QVERIFY(!w.hasUnsavedChanges());
        w.showSheet();
        QListWidget* list = w.sheetWindow()->records();
        QCOMPARE(list->count(), 2);
        QVERIFY2(list->item(0)->text().contains(QStringLiteral("结果与保存时不同")),
                 qPrintable(list->item(0)->text()));
        QVERIFY(list->item(0)->toolTip().contains(QStringLiteral("11.8")));
        QVERIFY(list->item(0)->toolTip().contains(QStringLiteral("11.70115")));
        QVERIFY(!list->item(1)->text().contains(QStringLiteral("结果与保存时不同")));
    }

    // The edition remembered between runs is where a new project's forms start, and those
    // of a project opened that it does not hold; its records keep their own.
    void theRememberedEditionAndAProjectsOwn() {
        const QString file = path("strikes.tvp");
        QSettings().setValue(QStringLiteral("forms/frmLJCS/edition"), QStringLiteral("2010"));
        shell::MDIFangLei w;
        w.show();
        w.openForm("frmLJCS");
        QCOMPARE(w.formView("frmLJCS")->form().setting("edition"), std::string("2010"));
        w.formView("frmLJCS")->choose("edition", "1994");  // not through the panel: not remembered
        record(w, "frmLJCS",
               {Action::set("CmbTd", "40"), Action::set("CmbL", "50"), Action::set("CmbW", "20"),
                Action::set("CmbH", "30"), Action::press("CmdRun")});
        w.mdiArea()->subWindowList().first()->close();
        QTRY_VERIFY(!w.formView("frmLJCS"));
        QVERIFY(w.saveProjectTo(file));

        QVERIFY(w.newProject());
        QCOMPARE(w.workspace().form("frmLJCS")->setting("edition"), std::string("2010"));
        QVERIFY(w.openProjectFile(file));
        QCOMPARE(w.workspace().form("frmLJCS")->setting("edition"), std::string("2010"));
        const sheet::SheetRecord& r = w.calculationSheet().records.at(0);
        QCOMPARE(r.settings.at("edition"), std::string("1994"));
        QVERIFY(!r.mismatch);
        QCOMPARE(r.results.at(0).value, std::string("0.07844704"));
    }
};

QTEST_MAIN(ProjectWindowTest)
#include "project_window_test.moc"
