// Text that comes from a project file or from typing reaches the screen as the
// characters it is, never read as HTML: a picture tag would load any file (from
// /dev/zero until memory runs out), tables nested twenty deep take minutes to lay out.
// Each place such text is shown: the result boxes of a form opened from a project, the
// box that refuses a file quoting its form's name, the 计算书 window's list, its tool tip
// with both values and its delete question, the recent projects' tool tips.

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <nlohmann/json.hpp>

#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/workspace.h"
#include "project/project.h"
#include "sheet/sheet_record.h"
#include "shell/main_window.h"
#include "shell/recent_projects.h"
#include "shell/sheet_window.h"
#include "view/form_view.h"
#include "view/message_boxes.h"

using namespace tervalen;
using forms::Action;

namespace {

const QString kPicture = QStringLiteral("<img src=\"/dev/zero\">");

QString nestedTables(int depth) {
    return QStringLiteral("<table><tr><td>").repeated(depth) + QStringLiteral("深") +
           QStringLiteral("</td></tr></table>").repeated(depth);
}

// What a rich-text string says when it is laid out: for a tool tip, the text a user reads.
QString readAsHtml(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

// Answers the message boxes that open with `answer` and notes their text and format.
class BoxWatcher : public QObject {
public:
    explicit BoxWatcher(QMessageBox::StandardButton answer) : m_answer(answer) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == m_last) return;
            m_last = box;
            texts << box->text();
            formats << box->textFormat();
            if (QAbstractButton* b = box->button(m_answer))
                b->click();
            else
                box->reject();
        });
        m_timer.start(5);
    }
    QStringList texts;
    QList<Qt::TextFormat> formats;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};

}  // namespace

class HostileTextTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A saved project with one record of the single rod and its form open.
    nlohmann::json sampleDocument() {
        project::Project p;
        const std::vector<Action> press = {Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                                           Action::press("CmdRun")};
        p.sheet.add(*sheet::replay(*forms::findForm("frmRx_DLDanZ"), press, ""));
        forms::Workspace ws;
        forms::Form& f = ws.openWindow("frmRx_DLDanZ");
        p.openForms = {f.snapshot()};
        return nlohmann::json::parse(project::serialize(p));
    }
    QString write(const QString& name, const nlohmann::json& doc) {
        const QString file = path(name);
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) return {};
        f.write(QByteArray::fromStdString(doc.dump(2)));
        return file;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("tervalen-test"));
        QCoreApplication::setApplicationName(QStringLiteral("hostile_text_test"));
        QVERIFY(m_dir.isValid());
    }
    void init() { QSettings().clear(); }

    void resultBoxesFromAFile_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("a picture of /dev/zero") << kPicture;
        QTest::newRow("tables nested 20 deep") << nestedTables(20);
        QTest::newRow("bold and an entity") << QStringLiteral("<b>粗</b> &lt; 1");
    }
    void resultBoxesFromAFile() {
        QFETCH(QString, text);
        nlohmann::json doc = sampleDocument();
        doc["open_forms"][0]["controls"]["PicRx"]["text"] = text.toStdString();
        const QString file = write(QStringLiteral("result.tvp"), doc);
        shell::MDIFangLei w;
        w.show();
        QVERIFY(w.openProjectFile(file));
        auto* box = qobject_cast<QLabel*>(w.formView("frmRx_DLDanZ")->widget("PicRx"));
        QVERIFY(box);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        // Painted as it is on screen: as HTML this would read /dev/zero, or take minutes.
        QVERIFY(!box->grab().isNull());
    }

    void aRefusedFileQuotesItsNamesAsText() {
        nlohmann::json doc = sampleDocument();
        doc["records"][0]["form"] = (kPicture + nestedTables(20)).toStdString();
        const QString file = write(QStringLiteral("refused.tvp"), doc);
        shell::MDIFangLei w;
        w.show();
        BoxWatcher boxes(QMessageBox::Ok);
        QVERIFY(!w.openProjectFile(file));
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.formats[0], Qt::PlainText);
        QVERIFY2(boxes.texts[0].contains(kPicture), qPrintable(boxes.texts[0]));
    }

    void theSheetWindowShowsLabelsAndValuesAsText() {
        nlohmann::json doc = sampleDocument();
        const QString label = QStringLiteral("<b>屋面</b>") + kPicture;
        doc["records"][0]["label"] = label.toStdString();
        // Saved with another value: the record is marked, its tool tip gives both values.
        doc["records"][0]["results"][0]["value"] = (kPicture + "11.8").toStdString();
        const QString file = write(QStringLiteral("sheet.tvp"), doc);
        shell::MDIFangLei w;
        w.show();
        QVERIFY(w.openProjectFile(file));
        w.showSheet();
        shell::SheetWindow* sheet = w.sheetWindow();
        QListWidgetItem* item = sheet->records()->item(0);
        QVERIFY2(item->text().startsWith(label), qPrintable(item->text()));
        QVERIFY2(readAsHtml(item->toolTip()).contains(kPicture + "11.8"),
                 qPrintable(item->toolTip()));
        QVERIFY(readAsHtml(item->toolTip()).contains(QStringLiteral("11.70115")));
        QVERIFY(sheet->preview()->toPlainText().contains(label));

        // The delete question quotes the label as it is; answered 否, nothing goes.
        sheet->records()->setCurrentRow(0);
        QPushButton* remove = nullptr;
        for (QPushButton* b : sheet->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("删除")) remove = b;
        QVERIFY(remove);
        BoxWatcher boxes(QMessageBox::No);
        remove->click();
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.formats[0], Qt::PlainText);
        QVERIFY2(boxes.texts[0].contains(label), qPrintable(boxes.texts[0]));
        QCOMPARE(sheet->records()->count(), 1);
    }

    void recentProjectsToolTipsAreText() {
        const QString file = path(QStringLiteral("<img src=x>.tvp"));
        shell::MDIFangLei w;
        w.show();
        QVERIFY(w.saveProjectTo(file));
        QMenu* menu = w.menuAction("mnuRecentProjects")->menu();
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(readAsHtml(menu->actions()[0]->toolTip()), QDir::toNativeSeparators(file));
    }
};

QTEST_MAIN(HostileTextTest)
#include "hostile_text_test.moc"
