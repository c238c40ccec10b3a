// DrawingView as a user meets it: empty without a press, the drawing after one, zoom,
// pan and fit, the pointer's metres, the exports; and the sheet's stated scale.
// With an argument list "--shot OUT.png CASE" it saves a picture of the view instead;
// "--shot OUT.png FORM ACTION…" of the drawing of that press (the driver's actions), and
// "--export OUT.png FORM ACTION…" the drawing as 导出 PNG… writes it.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "drawing/dxf.h"
#include "drawing/finite.h"
#include "drawing/from_record.h"
#include "drawing/from_units.h"
#include "drawing_qt/render.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"
#include "view/drawing/drawing_canvas.h"
#include "view/drawing/drawing_view.h"

using namespace tervalen;
using namespace tervalen::drawing;

namespace {

template <class R>
const R& ok(const Outcome<R>& o) {
    return std::get<R>(o);
}

std::optional<Drawing> sample(const QString& name) {
    if (name == "rod")
        return draw(singleRod(RodInput{30, 20, 5}, ok(calcRx_DLDanZ({30, 20, 5}))),
                    "独立单针保护范围计算");
    if (name == "rods")
        return draw(rodPair(30, 20, 5, 30, ok(calcRx_DLShuangZ(RodPairInput{30, 20, 5, 30}))),
                    "独立等高双针保护范围计算");
    if (name == "square")
        return draw(rodSquare(30, 20, 2, 42, ok(calcRx_DLSiZ(RodFigureInput{30, 20, 2, 42}))),
                    "独立等高正方形布置四针保护范围计算");
    if (name == "wires")
        return draw(
            wirePair(30, 20, 5, 100, 20, ok(calcRxBx_ShuangX(WirePairInput{30, 20, 5, 100, 20}))),
            "架空双线保护范围计算");
    if (name == "wire")
        return draw(singleWire(30, 20, 5, 100, ok(calcRxBx_DanX(WireInput{30, 20, 5, 100}))),
                    "架空单线保护范围计算");
    return std::nullopt;
}

}  // namespace

class DrawingViewTest : public QObject {
    Q_OBJECT
private slots:
    void emptyUntilAPressThenDrawn() {
        view::DrawingView v;
        v.showPress(std::nullopt, "x");
        QVERIFY(!v.drawing());
        QVERIFY(!v.exportDxfAction()->isEnabled());
        const RodInput in{30, 20, 5};
        v.showPress(forms::Record("calcRx_DLDanZ", in, ok(calcRx_DLDanZ(in))),
                    "独立单针保护范围计算");
        QVERIFY(v.drawing());
        QCOMPARE(QString::fromStdString(v.drawing()->title),
                 QStringLiteral("独立单针保护范围计算"));
        QVERIFY(v.exportDxfAction()->isEnabled() && v.exportPngAction()->isEnabled());
        v.showPress(std::nullopt, "x");  // a refusal or a clear after it
        QVERIFY(!v.drawing());
    }

    void zoomKeepsThePointUnderThePointerAndDoubleClickFits() {
        view::DrawingCanvas c;
        const auto d = sample("rod");
        c.resize(600, 400);
        c.setDrawing(&*d);
        const QPointF at(400, 150);
        const QPointF before = c.metresAt(at);
        QWheelEvent wheel(at, c.mapToGlobal(at), {}, {0, 480}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&c, &wheel);
        QVERIFY(c.zoom() > 1.5);
        QVERIFY((c.metresAt(at) - before).manhattanLength() < 1e-6);
        QTest::mouseDClick(&c, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(c.zoom(), 1.0);
        // 1:1 aspect: a metre across is a metre up.
        const QPointF o = c.metresAt({0, 0}), x = c.metresAt({100, 0}), y = c.metresAt({0, 100});
        QVERIFY(std::abs((x - o).manhattanLength() - (y - o).manhattanLength()) < 1e-9);
    }

    void exportsWriteTheFiles() {
        QTemporaryDir dir;
        const auto d = sample("square");
        QVERIFY(drawing_qt::exportDxf(*d, dir.filePath("a.dxf")).ok());
        QVERIFY(drawing_qt::exportSvg(*d, dir.filePath("a.svg")).ok());
        QVERIFY(drawing_qt::exportPng(*d, dir.filePath("a.png")).ok());
        QCOMPARE(QFile(dir.filePath("a.dxf")).size(), static_cast<qint64>(toDxf(*d).size()));
        QVERIFY(!QImage(dir.filePath("a.png")).isNull());
        QVERIFY(!drawing_qt::exportDxf(*d, dir.filePath("missing/a.dxf")).ok());
        // A file that may not be replaced keeps every byte; the reason says why.
        for (const char* name : {"a.dxf", "a.svg", "a.png"}) {
            QFile old(dir.filePath(name));
            QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
            old.write("old");
            old.close();
            QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther));
        }
        QCOMPARE(drawing_qt::exportDxf(*d, dir.filePath("a.dxf")).why(),
                 std::string("文件是只读的，未替换"));
        QCOMPARE(drawing_qt::exportSvg(*d, dir.filePath("a.svg")).why(),
                 std::string("文件是只读的，未替换"));
        QCOMPARE(drawing_qt::exportPng(*d, dir.filePath("a.png")).why(),
                 std::string("文件是只读的，未替换"));
        for (const char* name : {"a.dxf", "a.svg", "a.png"}) {
            QFile old(dir.filePath(name));
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("old"));
        }
        // A coordinate that is not a number (a zero spacing) reaches no file.
        Drawing broken = *d;
        broken.add(Line{{0, 0}, {std::nan(""), 1}}, Layer::Range);
        const std::string why = kNotFiniteReason;
        QCOMPARE(drawing_qt::exportDxf(broken, dir.filePath("nan.dxf")).why(), why);
        QCOMPARE(drawing_qt::exportSvg(broken, dir.filePath("nan.svg")).why(), why);
        QCOMPARE(drawing_qt::exportPng(broken, dir.filePath("nan.png")).why(), why);
        QVERIFY(QDir(dir.path()).entryList({"nan.*"}).isEmpty());
    }

    void theSheetStatesARoundScaleThatFits() {
        QImage page(800, 600, QImage::Format_RGB32);  // 96 dpi: 211.7 × 158.8 mm
        page.fill(Qt::white);
        QPainter p(&page);
        const auto d = sample("rods");
        const int N = drawing_qt::paintToScale(p, *d, QRectF(0, 0, 800, 600));
        const double mm = 25.4 / page.logicalDpiX();
        // The largest round scale at which it fits above the line that states it.
        QCOMPARE(N, roundScale(*d, 800 * mm, 600 * mm - kScaleLineMm));
        QVERIFY(N > 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && (args[1] == "--shot" || args[1] == "--export")) {
        std::optional<Drawing> d = sample(args[3]);
        if (const forms::FormDef* def = forms::findForm(args[3].toStdString())) {
            std::vector<std::string> rest;
            for (qsizetype i = 4; i < args.size(); ++i) rest.push_back(args[i].toStdString());
            forms::Form form(*def);
            forms::applyAll(form, forms::parseActions(rest, *def));
            if (form.lastPress()) d = drawingOf(*form.lastPress(), def->caption);
        }
        if (!d) return 2;
        if (args[1] == "--export") return drawing_qt::exportPng(*d, args[2]).ok() ? 0 : 1;
        view::DrawingView v;
        v.setDrawing(d);
        v.resize(900, 700);
        v.show();
        QTest::qWait(50);
        return v.grab().save(args[2]) ? 0 : 1;
    }
    DrawingViewTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "view_test.moc"
