// Qt's own texts in Chinese come once the main window has shown: the first paint waits
// for none of them, and every message box after it has them.

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "shell/main_window.h"
#include "shell/startup.h"
#include "view/message_boxes.h"

using namespace tervalen;

class StartupTextsTest : public QObject {
    Q_OBJECT
private slots:
    void qtTextsFollowTheFirstPaint() {
        shell::prepareApplication(*qApp);
        const auto okText = [] {
            return view::makeMessageBox(nullptr, {"x", forms::Icon::None})
                ->button(QMessageBox::Ok)
                ->text();
        };
        shell::MDIFangLei w;
        QCOMPARE(okText(), QStringLiteral("OK"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(okText(), QStringLiteral("确定"));
    }
};

QTEST_MAIN(StartupTextsTest)
#include "startup_texts_test.moc"
