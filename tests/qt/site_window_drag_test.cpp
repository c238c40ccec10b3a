// The coarse map the 屋面/总平面防雷校核 window shows while an object is dragged: made
// from the frames before it, it still never shows a square protected where the exact
// engine finds a sphere lower at a point of it, however the site was edited before; it
// shows the dragged rod's protection where it is now, and not where it was.

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "calc/sphere/engine.h"
#include "view/site_compute.h"

using namespace tervalen;

namespace {

// Roof A, 24 × 12 m at 10 m, with its edges as conductors 0.15 m over it and a rod of
// 4 m; roof B, 20 × 12 m at 16 m, 10 m east of it, with a rod of 3 m.
sphere::Site twoRoofs() {
    sphere::Site s;
    s.hr = 45;
    s.buildings.push_back({"A", {{0, 0}, {24, 0}, {24, 12}, {0, 12}}, 0, 10});
    s.buildings.push_back({"B", {{34, 0}, {54, 0}, {54, 12}, {34, 12}}, 0, 16});
    const auto& o = s.buildings[0].outline;
    for (std::size_t k = 0; k < 4; ++k)
        s.conductors.push_back(
            {{o[k].x, o[k].y, 10.15}, {o[(k + 1) % 4].x, o[(k + 1) % 4].y, 10.15}});
    s.rods.push_back({6, 6, 10, 14});
    s.rods.push_back({44, 6, 16, 19});
    return s;
}

constexpr double kStep = 3;

// The node of map g whose square holds (x, y).
std::size_t squareAt(const sphere::SurfaceGrid& g, double x, double y) {
    const long i = std::lround((x - g.box.minX) / g.step),
               j = std::lround((y - g.box.minY) / g.step);
    return std::size_t(std::clamp(j, 0L, long(g.ny) - 1)) * std::size_t(g.nx) +
           std::size_t(std::clamp(i, 0L, long(g.nx) - 1));
}

// Every square shown protected is so at its corners, edges' midpoints and centre by the
// exact engine (no sphere reaches below the value shown); the squares cover each roof's plan box.
// Returns how many are protected.
int checkSafe(const sphere::Site& site, const std::vector<sphere::SurfaceGrid>& maps,
              const char* frame) {
    const sphere::Engine engine(site);
    int shown = 0;
    [&] {
        QCOMPARE(maps.size(), site.buildings.size());
        for (std::size_t b = 0; b < maps.size(); ++b) {
            const sphere::SurfaceGrid& g = maps[b];
            const sphere::Building& roof = site.buildings[b];
            QVERIFY(g.box.minX - g.step / 2 <= roof.outline[0].x + 1e-9);
            QVERIFY(g.box.minY - g.step / 2 <= roof.outline[0].y + 1e-9);
            QVERIFY(g.box.maxX + g.step / 2 >= roof.outline[2].x - 1e-9);
            QVERIFY(g.box.maxY + g.step / 2 >= roof.outline[2].y - 1e-9);
            for (std::size_t k = 0; k < g.s.size(); ++k) {
                if (!(g.s[k] - roof.roof > 0.001)) continue;
                ++shown;
                const double x = g.box.minX + double(k % std::size_t(g.nx)) * g.step;
                const double y = g.box.minY + double(k / std::size_t(g.nx)) * g.step;
                for (int i = -1; i <= 1; ++i)
                    for (int j = -1; j <= 1; ++j) {
                        const sphere::Point2 p{x + i * g.step / 2, y + j * g.step / 2};
                        if (engine.reachesBelow(p, g.s[k] - 1e-6))
                            QFAIL(qPrintable(
                                QStringLiteral("%1: roof %2 shown %3, reached below at (%4, %5)")
                                    .arg(frame)
                                    .arg(b)
                                    .arg(g.s[k])
                                    .arg(p.x)
                                    .arg(p.y)));
                    }
            }
        }
    }();
    return shown;
}

bool shownProtected(const sphere::Site& site, const std::vector<sphere::SurfaceGrid>& maps,
                    std::size_t b, double x, double y) {
    const sphere::SurfaceGrid& g = maps[b];
    return g.s[squareAt(g, x, y)] - site.buildings[b].roof > 0.001;
}

}  // namespace

class SiteWindowDragTest : public QObject {
    Q_OBJECT
private slots:
    // A run of edits through one DragMaps, as the window's coarse lane sees them: a rod
    // dragged across roof A, off it and back, roof B dragged, a rod added, the radius
    // changed. Each frame's map is safe by the exact engine; the rod's square is shown
    // protected wherever it stands on A, and after it leaves, the square it stood on is
    // not (a map kept from before would show it so).
    void everyFrameIsSafeAndFollowsTheRod() {
        sphere::Site site = twoRoofs();
        view::DragMaps drag;
        struct Frame {
            const char* name;
            std::function<void(sphere::Site&)> edit;
            bool rodOnA;
        };
        const std::vector<Frame> frames = {
            {"at rest", [](sphere::Site&) {}, true},
            {"rod moved", [](sphere::Site& s) { s.rods[0].x = 6.5; }, true},
            {"rod moved on", [](sphere::Site& s) { s.rods[0].x = 5, s.rods[0].y = 5; }, true},
            {"rod off the roof",
             [](sphere::Site& s) {
                 s.rods[0] = {-70, 6, 0, 4};
             },
             false},
            {"rod back",
             [](sphere::Site& s) {
                 s.rods[0] = {18, 7, 10, 14};
             },
             true},
            {"roof B moved",
             [](sphere::Site& s) {
                 for (sphere::Point2& p : s.buildings[1].outline) p.x += 5;
                 s.rods[1].x += 5;
             },
             true},
            {"rod added",
             [](sphere::Site& s) {
                 s.rods.push_back({2, 2, 10, 11});
             },
             true},
            {"radius changed", [](sphere::Site& s) { s.hr = 30; }, true},
        };
        sphere::Point2 was{6, 6};
        for (const Frame& f : frames) {
            f.edit(site);
            const std::vector<sphere::SurfaceGrid> maps = drag.update(site, kStep);
            const int shown = checkSafe(site, maps, f.name);
            if (QTest::currentTestFailed()) return;
            QVERIFY2(shown > 0, f.name);
            const sphere::Rod& rod = site.rods[0];
            if (f.rodOnA) {
                QVERIFY2(shownProtected(site, maps, 0, rod.x, rod.y), f.name);
                was = {rod.x, rod.y};
            } else {
                QVERIFY2(!shownProtected(site, maps, 0, was.x, was.y), f.name);
            }
        }
    }

    // Through a drag, a frame proves afresh only a few of the squares: those over the
    // site without the rod are proved once, at the drag's first frame; and the maps are
    // the same as made afresh where that proves a square.
    void aDragFrameProvesFewSquaresAgain() {
        sphere::Site site = twoRoofs();
        view::DragMaps drag;
        drag.update(site, kStep);
        QCOMPARE(drag.provedLast(), drag.squares());
        site.rods[0].x = 7;
        drag.update(site, kStep);
        const std::size_t first = drag.provedLast();
        site.rods[0].x = 8;
        const std::vector<sphere::SurfaceGrid> maps = drag.update(site, kStep);
        QVERIFY(drag.provedLast() > 0);
        QVERIFY(drag.provedLast() < first);
        QVERIFY(drag.provedLast() * 3 < drag.squares());
        const std::vector<sphere::SurfaceGrid> fresh = view::roofMaps(sphere::Engine(site), kStep);
        QCOMPARE(fresh.size(), maps.size());
        for (std::size_t b = 0; b < maps.size(); ++b)
            for (std::size_t k = 0; k < maps[b].s.size(); ++k)
                if (maps[b].s[k] == 0) QCOMPARE(fresh[b].s[k], 0.0);
    }
};

QTEST_GUILESS_MAIN(SiteWindowDragTest)
#include "site_window_drag_test.moc"
