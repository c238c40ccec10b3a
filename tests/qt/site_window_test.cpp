// The 屋面/总平面防雷校核 window: its undo history over every kind of change, the table's
// validation, the site in and out, the verdict against the engine, the placing tools by
// mouse, the exports; and its menu entry.

#include "view/site_window.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "calc/sphere/engine.h"
#include "shell/main_window.h"
#include "shell/mdi_area.h"
#include "site/site_file.h"

using namespace tervalen;
using view::SiteKind;
using view::SiteRef;

namespace {

// One roof 36 × 18 m at 24 m with a rod of `rod` metres at each corner.
sphere::Site cornerRods(double rod) {
    sphere::Site s;
    s.hr = 45;
    s.buildings.push_back({"主楼", {{0, 0}, {36, 0}, {36, 18}, {0, 18}}, 0, 24});
    for (const auto& c : s.buildings[0].outline) s.rods.push_back({c.x, c.y, 24, 24 + rod});
    return s;
}

std::string text(const sphere::Site& s) {
    return site::serialize(s);
}

bool waitForExact(view::SiteWindow& w, int ms = 120000) {
    if (w.exactResult()) return true;
    QSignalSpy spy(&w, &view::SiteWindow::resultShown);
    return spy.wait(ms) || w.exactResult().has_value();
}

void sendMouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent e(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

}  // namespace

class SiteWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("TervalenTest"));
        QStandardPaths::setTestModeEnabled(true);
    }

    // Every kind of change is one step that undo takes back exactly and redo puts again.
    void everyChangeIsOneStepOfTheHistory() {
        view::SiteWindow w;
        w.setAskOnClose(false);
        sphere::Site start = cornerRods(5);
        start.conductors.push_back({{0, 0, 24}, {36, 0, 24}});
        start.wires.push_back({{-10, -10, 30}, {50, -10, 30}, std::nullopt});
        QVERIFY(w.setSite(start).isEmpty());
        w.resize(1000, 700);
        w.show();
        QVERIFY(!w.isWindowModified());
        auto* plan = w.plan();

        using Change = std::function<void()>;
        const std::vector<std::pair<const char*, Change>> changes = {
            {"a typed rod field",
             [&] { w.tables()->table(SiteKind::Rod)->item(1, 3)->setText("31.5"); }},
            {"a typed outline",
             [&] {
                 w.tables()
                     ->table(SiteKind::Building)
                     ->item(0, 3)
                     ->setText("0, 0; 40, 0; 40, 18; 0, 18");
             }},
            {"a wire's sag typed",
             [&] { w.tables()->table(SiteKind::Wire)->item(0, 6)->setText("1.5"); }},
            {"Hr picked",
             [&] {
                 auto* hr = w.findChild<QComboBox*>("hrCategory");
                 hr->setCurrentIndex(0);
                 emit hr->activated(0);
             }},
            {"levels typed",
             [&] {
                 auto* levels = w.findChild<QLineEdit*>("levels");
                 levels->setText("10, 20");
                 emit levels->editingFinished();
             }},
            {"a rod dragged (one step for the whole drag)",
             [&] {
                 const QPointF from = plan->toScreen({0, 0});
                 sendMouse(plan, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
                 for (int k = 1; k <= 5; ++k)
                     sendMouse(plan, QEvent::MouseMove, from + QPointF(-4 * k, 3 * k), Qt::NoButton,
                               Qt::LeftButton);
                 sendMouse(plan, QEvent::MouseButtonRelease, from + QPointF(-20, 15),
                           Qt::LeftButton, Qt::NoButton);
             }},
            {"the selection deleted",
             [&] {
                 plan->select(SiteRef{SiteKind::Wire, 0});
                 QTest::keyClick(plan, Qt::Key_Delete);
             }},
            {"edge conductors of the selected building",
             [&] {
                 plan->select(SiteRef{SiteKind::Building, 0});
                 w.findChild<QAction*>("actEdgeConductors")->trigger();
             }},
        };
        QUndoStack* undo = w.model().undoStack();
        for (const auto& [what, change] : changes) {
            const std::string before = text(w.site());
            const auto levelsBefore = w.levels();
            const int steps = undo->count();
            change();
            QVERIFY2(w.tables()->problem().isEmpty(), what);
            QVERIFY2(text(w.site()) != before || w.levels() != levelsBefore, what);
            QCOMPARE(undo->count(), steps + 1);
            QVERIFY2(w.isWindowModified(), what);
            const std::string after = text(w.site());
            const auto levelsAfter = w.levels();
            undo->undo();
            QVERIFY2(text(w.site()) == before, what);
            QCOMPARE(w.levels(), levelsBefore);
            undo->redo();
            QVERIFY2(text(w.site()) == after, what);
            QCOMPARE(w.levels(), levelsAfter);
        }
        // The dragged rod moved as far as the pointer, and stays on the ground it was
        // moved to, its length kept.
        const sphere::Rod dragged = w.site().rods[0];
        QVERIFY(std::abs(dragged.x + 20 / plan->pixelsPerMetre()) < 1e-9);
        QVERIFY(std::abs(dragged.y + 15 / plan->pixelsPerMetre()) < 1e-9);
        QCOMPARE(dragged.base, 0.0);
        QCOMPARE(dragged.tip, 5.0);
        // The edge conductors: one per edge, the conductor's height above the roof.
        QCOMPARE(w.site().conductors.size(), std::size_t{1 + 4});
        for (std::size_t i = 1; i < 5; ++i) QCOMPARE(w.site().conductors[i].from.z, 24.15);
        // Ctrl+Z and Ctrl+Y reach the history.
        const std::string now = text(w.site());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        plan->setFocus();
        QTest::keyClick(plan, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(text(w.site()) != now);
        QTest::keyClick(plan, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(text(w.site()) == now);
        // Back to the start: the window is unmodified again.
        while (undo->canUndo()) undo->undo();
        QVERIFY(!w.isWindowModified());
    }

    // A typed field is taken only when the engine would take the site; otherwise the
    // reason is shown, the field shows the site's value again and no step is made.
    void typedFieldsAreValidatedAsTheSiteFileIs() {
        struct Case {
            SiteKind kind;
            int field;
            const char* typed;
            const char* problem;  // a part of the reason shown; empty: taken
        };
        const Case cases[] = {
            {SiteKind::Rod, 0, "abc", "不是数"},
            {SiteKind::Rod, 3, "20", "顶高低于底高"},
            {SiteKind::Rod, 2, "-1", "底高低于地面"},
            {SiteKind::Rod, 1, "200000", "超出"},
            {SiteKind::Building, 0, "  ", "名称"},
            {SiteKind::Building, 2, "-3", "屋面高度低于底高"},
            {SiteKind::Building, 3, "0, 0; 10, 0", "第 1 座建筑物"},
            {SiteKind::Building, 3, "0, 0; 10, 10; 10, 0; 0, 10", "第 1 座建筑物"},
            {SiteKind::Building, 3, "0 0, 1 1", "轮廓应写成"},
            {SiteKind::Conductor, 5, "-0.5", "低于地面"},
            {SiteKind::Wire, 6, "-2", "弧垂"},
            {SiteKind::Wire, 3, "300", ""},
            {SiteKind::Wire, 6, "40", "低于地面"},
            {SiteKind::Rod, 3, "30.25", ""},
            {SiteKind::Wire, 6, "", ""},
            {SiteKind::Building, 3, "0，0；36，0；36，20；0，20", ""},
        };
        sphere::Site start = cornerRods(5);
        start.conductors.push_back({{0, 0, 24}, {36, 0, 24}});
        start.wires.push_back({{-10, -10, 30}, {50, -10, 30}, 2.0});
        for (const Case& c : cases) {
            view::SiteWindow w;
            w.setAskOnClose(false);
            QVERIFY(w.setSite(start).isEmpty());
            QTableWidget* t = w.tables()->table(c.kind);
            const QString shown = t->item(0, c.field)->text();
            t->item(0, c.field)->setText(QString::fromUtf8(c.typed));
            const QString problem = w.tables()->problem();
            if (*c.problem == 0) {
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
                QCOMPARE(w.model().undoStack()->count(), 1);
                QVERIFY(text(w.site()) != text(start));
            } else {
                QVERIFY2(problem.contains(QString::fromUtf8(c.problem)),
                         qPrintable(QString::fromUtf8(c.typed) + " → " + problem));
                QCOMPARE(text(w.site()), text(start));
                QCOMPARE(w.model().undoStack()->count(), 0);
                QCOMPARE(t->item(0, c.field)->text(), shown);
            }
        }
    }

    // What goes in comes out, field for field, with no history and nothing modified.
    void theSiteGoesInAndComesOutWhole() {
        sphere::Site s = cornerRods(3.25);
        s.hr = 37.5;
        s.buildings.push_back({"附楼", {{50, 0}, {70, 0}, {60, 15}}, 2, 9.75, "A-WALL"});
        s.conductors.push_back({{0, 0, 24.5}, {0, 18, 24.5}});
        s.wires.push_back({{-5, 30, 20}, {80, 30, 22}, std::nullopt});
        s.wires.push_back({{-5, 40, 20}, {80, 40, 22}, 0.75});
        view::SiteWindow w;
        w.setAskOnClose(false);
        QSignalSpy changed(&w, &view::SiteWindow::changed);
        QVERIFY(w.setSite(s).isEmpty());
        QVERIFY(w.setLevels({12.5, 30}).isEmpty());
        QCOMPARE(text(w.site()), text(s));
        QCOMPARE(w.levels(), (std::vector<double>{12.5, 30}));
        QVERIFY(!w.isWindowModified());
        QVERIFY(!w.model().undoStack()->canUndo());
        QVERIFY(changed.count() >= 2);
        // The custom radius is shown as such; the tables show every object.
        QCOMPARE(w.findChild<QComboBox*>("hrCategory")->currentText(), QStringLiteral("自定义"));
        QCOMPARE(w.findChild<QLineEdit*>("hrCustom")->text(), QStringLiteral("37.5"));
        QCOMPARE(w.tables()->table(SiteKind::Wire)->item(0, 6)->text(), QString());
        QCOMPARE(w.tables()->table(SiteKind::Wire)->item(1, 6)->text(), QStringLiteral("0.75"));
        QCOMPARE(w.tables()->table(SiteKind::Building)->item(1, 4)->text(),
                 QStringLiteral("A-WALL"));
        // What the engine refuses is refused here too, and nothing changes.
        sphere::Site bad = s;
        bad.rods[0].tip = 1;
        QVERIFY(!w.setSite(bad).isEmpty());
        QCOMPARE(text(w.site()), text(s));
        QVERIFY(!w.setLevels({-1}).isEmpty());
        QCOMPARE(w.levels(), (std::vector<double>{12.5, 30}));
    }

    // The verdict rows are the engine's roofs, and the site's verdict follows them; a
    // row clicked shows its roof.
    void theVerdictIsTheEnginesRoofCheck() {
        for (const double rod : {5.0, 2.0}) {
            sphere::Site s = cornerRods(rod);
            // The roof's edges: reached from the side unless a conductor runs along them.
            if (rod == 5.0)
                for (std::size_t k = 0; k < 4; ++k) {
                    const auto a = s.buildings[0].outline[k],
                               b = s.buildings[0].outline[(k + 1) % 4];
                    s.conductors.push_back({{a.x, a.y, 24.15}, {b.x, b.y, 24.15}});
                }
            s.buildings.push_back({"门卫", {{50, 0}, {56, 0}, {56, 5}, {50, 5}}, 0, 3.5});
            view::SiteWindow w;
            w.setAskOnClose(false);
            w.resize(1000, 700);
            QVERIFY(w.setSite(s).isEmpty());
            // Not known yet: no verdict said.
            if (!w.exactResult()) QCOMPARE(w.verdict(), QString());
            QVERIFY(waitForExact(w));
            const auto roofs = sphere::Engine(s).roofs();
            QTableWidget* t = w.verdictTable();
            QCOMPARE(t->rowCount(), int(roofs.size()));
            bool all = true;
            for (int i = 0; i < t->rowCount(); ++i) {
                const sphere::RoofCheck& rc = roofs[std::size_t(i)];
                QCOMPARE(t->item(i, 0)->text(), QString::fromStdString(rc.name));
                QCOMPARE(t->item(i, 1)->text(), view::numberShown(rc.height));
                QCOMPARE(t->item(i, 2)->text(), QString::number(rc.uncoveredArea, 'f', 2));
                QVERIFY(t->item(i, 3)->text().startsWith(
                    QStringLiteral("(%1, %2)")
                        .arg(QString::number(rc.worst.at.x, 'f', 2),
                             QString::number(rc.worst.at.y, 'f', 2))));
                QCOMPARE(t->item(i, 4)->text(),
                         rc.ok ? QStringLiteral("满足") : QStringLiteral("不满足"));
                all = all && rc.ok;
            }
            // Rods of 5 m at the corners with the edges' conductor keep the sphere off the
            // roof; rods of 2 m alone do not.
            QCOMPARE(roofs[0].ok, rod == 5.0);
            QCOMPARE(w.verdict(), all ? QStringLiteral("满足") : QStringLiteral("不满足"));
            emit t->cellClicked(1, 0);
            QCOMPARE(w.plan()->selection(),
                     (std::optional<SiteRef>(SiteRef{SiteKind::Building, 1})));
            // An edit makes the verdict unknown until computed again.
            w.tables()->table(SiteKind::Rod)->item(0, 0)->setText("1");
            QCOMPARE(w.verdict(), QString());
            QVERIFY(!w.exactResult());
        }
    }

    // The tools by mouse: a building by its corners (its roof height asked), a rod on a
    // roof stands on the roof, a conductor along the roof's corners at its height.
    void theToolsPlaceWhatIsClicked() {
        view::SiteWindow w;
        w.setAskOnClose(false);
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        sphere::Site empty;
        empty.hr = 45;
        QVERIFY(w.setSite(empty).isEmpty());
        auto* plan = w.plan();
        plan->fit();
        auto click = [&](sphere::Point2 p) {
            QTest::mouseClick(plan, Qt::LeftButton, {}, plan->toScreen(p).toPoint());
        };
        w.findChild<QAction*>("actBuilding")->trigger();
        // The roof height asked: 18 m.
        QTimer::singleShot(0, [] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QInputDialog*>(top)) {
                    d->setDoubleValue(18);
                    d->accept();
                }
        });
        const std::vector<sphere::Point2> corners = {{-20, -10}, {20, -10}, {20, 10}, {-20, 10}};
        for (const auto& c : corners) click(c);
        QTest::keyClick(plan, Qt::Key_Return);
        QTRY_COMPARE(w.site().buildings.size(), std::size_t{1});
        const sphere::Building b = w.site().buildings[0];
        QCOMPARE(b.roof, 18.0);
        QCOMPARE(b.outline.size(), std::size_t{4});
        const double px = 1 / plan->pixelsPerMetre();  // a click lands within a pixel
        for (std::size_t k = 0; k < 4; ++k) {
            QVERIFY(std::abs(b.outline[k].x - corners[k].x) <= px);
            QVERIFY(std::abs(b.outline[k].y - corners[k].y) <= px);
        }

        w.findChild<QDoubleSpinBox*>("rodHeight")->setValue(4);
        w.findChild<QAction*>("actRod")->trigger();
        click({0, 0});
        click({40, 0});
        QCOMPARE(w.site().rods.size(), std::size_t{2});
        QCOMPARE(w.site().rods[0].base, 18.0);
        QCOMPARE(w.site().rods[0].tip, 22.0);
        QCOMPARE(w.site().rods[1].base, 0.0);
        QCOMPARE(w.site().rods[1].tip, 4.0);

        // Along the roof edge: the clicks near the corners take the corners.
        w.findChild<QAction*>("actConductor")->trigger();
        const auto outline = w.site().buildings[0].outline;
        click({outline[0].x + 0.3 * px, outline[0].y});
        click(outline[1]);
        click(outline[2]);
        QTest::keyClick(plan, Qt::Key_Return);
        QCOMPARE(w.site().conductors.size(), std::size_t{2});
        const sphere::Conductor c = w.site().conductors[0];
        QCOMPARE(c.from.x, outline[0].x);
        QCOMPARE(c.to.x, outline[1].x);
        QCOMPARE(c.from.z, 18.15);
        QCOMPARE(c.to.z, 18.15);
        QCOMPARE(w.model().undoStack()->count(), 1 + 2 + 2);

        // A wire whose span needs a sag given is refused with the reason said.
        w.findChild<QAction*>("actWire")->trigger();
        click({-20, 0});
        plan->fit();
        const double far = 200;
        plan->setTool(view::SiteTool::Wire);
        sphere::Site s = w.site();
        s.wires.push_back({{-100, 30, 15}, {-100 + far, 30, 15}, std::nullopt});
        QVERIFY(w.model().apply(s, "x").contains(QStringLiteral("须给出弧垂")));
    }

    // The exports: the plan as DXF, SVG and PNG, each said in the status bar.
    void theExportsWriteTheirFiles() {
        QTemporaryDir dir;
        view::SiteWindow w;
        w.setAskOnClose(false);
        QVERIFY(w.setSite(cornerRods(2)).isEmpty());
        QVERIFY(!w.exportTo(dir.filePath("early.svg")).ok() || w.exactResult());
        QVERIFY(waitForExact(w));
        for (const char* name : {"plan.dxf", "plan.svg", "plan.png"}) {
            const QString file = dir.filePath(QString::fromLatin1(name));
            const Result<> done = w.exportTo(file);
            QVERIFY2(done.ok(), done.why().c_str());
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QVERIFY(bytes.size() > 500);
            if (file.endsWith("dxf")) QVERIFY(bytes.contains("LWPOLYLINE"));
            if (file.endsWith("svg")) QVERIFY(bytes.contains("<svg"));
            if (file.endsWith("png")) QVERIFY(bytes.startsWith("\x89PNG"));
        }
        // A site file saved and opened again in another window is the same site.
        const QString tvs = dir.filePath("site.tvs");
        QVERIFY(w.saveTo(tvs));
        QVERIFY(!w.isWindowModified());
        view::SiteWindow again;
        again.setAskOnClose(false);
        QVERIFY(again.openFile(tvs));
        QCOMPARE(text(again.site()), text(w.site()));
        QVERIFY(again.windowTitle().contains(QStringLiteral("site.tvs")));
    }

    // The menu entry is the last of 保护范围计算 and opens a new child window each time,
    // listed in the open-window list.
    void theMenuEntryOpensChildWindows() {
        shell::MDIFangLei m;
        m.show();
        QAction* entry = m.menuAction("mnuSiteCheck");
        QVERIFY(entry);
        auto* menu = m.findChild<QMenu*>("mnuRx");
        QCOMPARE(menu->actions().last(), entry);
        QCOMPARE(entry->text(), QStringLiteral("屋面/总平面防雷校核…"));
        entry->trigger();
        entry->trigger();
        QCOMPARE(m.siteWindows().size(), std::size_t{2});
        QCOMPARE(m.mdiArea()->subWindowList().size(), 2);
        QVERIFY(std::find(m.openWindowList().captions().begin(),
                          m.openWindowList().captions().end(),
                          std::string(view::SiteWindow::kCaption)) !=
                m.openWindowList().captions().end());
        // A change shows in the child window's title.
        view::SiteWindow* w = m.siteWindows().front();
        w->tables()->tabs()->setCurrentIndex(int(SiteKind::Rod));
        w->tables()->addObject({0, 0});
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        QVERIFY(sub->isWindowModified());
        for (view::SiteWindow* s : m.siteWindows()) s->markSaved();
    }

    // 加入计算书 puts the site's check on the sheet as the engine finds it, and the record
    // opens again in a site window of its own.
    // The site windows are part of the project: a change marks it, saving keeps each
    // window's site, levels and site file, and opening the project shows them again; the
    // one that now differs from its file is marked, the other not. A fresh window is no
    // change, and nothing asks about the site windows once the project is settled.
    void theSiteWindowsAreKeptInTheProject() {
        QTemporaryDir dir;
        const QString tvs = dir.filePath(QStringLiteral("厂区.tvs")),
                      tvp = dir.filePath(QStringLiteral("厂区.tvp"));
        sphere::Site moved = cornerRods(5.0);
        moved.rods[0].x += 1;
        {
            shell::MDIFangLei m;
            m.show();
            m.menuAction("mnuSiteCheck")->trigger();
            QVERIFY(!m.hasUnsavedChanges());
            view::SiteWindow* a = m.siteWindows().front();
            QVERIFY(a->model().apply(cornerRods(5.0), QStringLiteral("放置")).isEmpty());
            QVERIFY(m.hasUnsavedChanges());
            QVERIFY(m.isWindowModified());
            QVERIFY(a->saveTo(tvs));
            m.menuAction("mnuSiteCheck")->trigger();
            view::SiteWindow* b = m.siteWindows().back();
            QVERIFY(b->model()
                        .apply(view::SiteState{cornerRods(2.0), {12.5}}, QStringLiteral("放置"))
                        .isEmpty());
            QVERIFY(m.saveProjectTo(tvp));
            QVERIFY(!m.hasUnsavedChanges());
            // Changed after its own file was written: the project keeps the change.
            QVERIFY(a->model().apply(moved, QStringLiteral("移动")).isEmpty());
            QVERIFY(m.hasUnsavedChanges());
            QVERIFY(m.saveProjectTo(tvp));
            QVERIFY(!m.isWindowModified());
            // Settled: the project's new state closes them without a question (a question
            // here would wait for ever).
            QVERIFY(m.newProject());
            QVERIFY(m.siteWindows().empty());
        }
        shell::MDIFangLei m;
        m.show();
        QVERIFY(m.openProjectFile(tvp));
        QCOMPARE(m.siteWindows().size(), std::size_t{2});
        view::SiteWindow* a = m.siteWindows().front();
        view::SiteWindow* b = m.siteWindows().back();
        QCOMPARE(text(a->site()), text(moved));
        QCOMPARE(a->file(), QFileInfo(tvs).absoluteFilePath());
        QVERIFY(a->isWindowModified());  // its file still holds the rods unmoved
        QCOMPARE(text(b->site()), text(cornerRods(2.0)));
        QCOMPARE(b->levels(), std::vector<double>{12.5});
        QVERIFY(!b->isWindowModified());
        QVERIFY(!m.hasUnsavedChanges());
        // Closing a site window changes the project.
        if (auto* window = qobject_cast<QMdiSubWindow*>(b->parentWidget())) {
            b->setAskOnClose(false);
            window->close();
        }
        QTRY_VERIFY(m.hasUnsavedChanges());
        for (view::SiteWindow* x : m.siteWindows()) x->setAskOnClose(false);
    }

    void theSiteGoesOnTheSheetAndComesBack() {
        shell::MDIFangLei m;
        m.show();
        m.menuAction("mnuSiteCheck")->trigger();
        view::SiteWindow* w = m.siteWindows().front();
        const sphere::Site s = cornerRods(2.0);
        QVERIFY(w->setSite(s).isEmpty());
        emit w->addToSheetRequested();
        QCOMPARE(m.calculationSheet().records.size(), std::size_t{1});
        const sheet::SheetRecord& r = m.calculationSheet().records.front();
        QVERIFY(r.site);
        const auto roofs = sphere::Engine(s).roofs();
        QCOMPARE(r.site->roofs.size(), roofs.size());
        QCOMPARE(r.site->ok, std::all_of(roofs.begin(), roofs.end(),
                                         [](const sphere::RoofCheck& c) { return c.ok; }));
        QVERIFY(!r.site->ok);  // rods of 2 m alone leave the roof open
        m.openRecord(r);
        QCOMPARE(m.siteWindows().size(), std::size_t{2});
        QCOMPARE(site::serialize(m.siteWindows().back()->site()), site::serialize(s));
        for (view::SiteWindow* x : m.siteWindows()) x->markSaved();
        m.calculationSheet().records.clear();
    }
};

QTEST_MAIN(SiteWindowTest)
#include "site_window_test.moc"
