// The DXF plan reader: outlines as drawn (closed polylines, chains of lines and arcs whose
// ends meet within 1 mm, blocks inserted), in metres after the file's unit, counter-
// clockwise, each once; names in GBK or \U+ escapes as UTF-8; and every file that is no
// readable DXF text refused with one line that names it.

#include "site/dxf_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <locale>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tervalen::site {
namespace {

using sphere::Point2;

// A DXF document written group by group.
class Doc {
public:
    Doc& g(int code, const std::string& value) {
        m_text += std::to_string(code) + "\n" + value + "\n";
        return *this;
    }
    Doc& g(int code, double value) {
        std::ostringstream s;
        s.imbue(std::locale::classic());
        s.precision(17);
        s << value;
        return g(code, s.str());
    }
    Doc& raw(const std::string& text) {
        m_text += text;
        return *this;
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

struct Header {
    std::string version = "AC1015";
    std::string codepage = "ANSI_1252";
    int insunits = 6;  // metres; -1: none
};

std::string plan(const std::string& entities, const Header& h = {},
                 const std::string& blocks = "") {
    Doc d;
    d.g(0, "SECTION").g(2, "HEADER");
    if (!h.version.empty()) d.g(9, "$ACADVER").g(1, h.version);
    if (!h.codepage.empty()) d.g(9, "$DWGCODEPAGE").g(3, h.codepage);
    if (h.insunits >= 0) d.g(9, "$INSUNITS").g(70, std::to_string(h.insunits));
    d.g(0, "ENDSEC");
    if (!blocks.empty()) d.g(0, "SECTION").g(2, "BLOCKS").raw(blocks).g(0, "ENDSEC");
    d.g(0, "SECTION").g(2, "ENTITIES").raw(entities).g(0, "ENDSEC").g(0, "EOF");
    return d.text();
}

// An LWPOLYLINE through the points (bulges optional), closed or not.
std::string lw(const std::string& layer, const std::vector<Point2>& pts, bool closed,
               const std::vector<double>& bulges = {}, const std::string& extra = "") {
    Doc d;
    d.g(0, "LWPOLYLINE").g(8, layer).raw(extra).g(90, std::to_string(pts.size()));
    d.g(70, closed ? "1" : "0");
    for (std::size_t i = 0; i < pts.size(); ++i) {
        d.g(10, pts[i].x).g(20, pts[i].y);
        if (i < bulges.size() && bulges[i] != 0) d.g(42, bulges[i]);
    }
    return d.text();
}

std::string line(const std::string& layer, Point2 a, Point2 b) {
    Doc d;
    d.g(0, "LINE").g(8, layer).g(10, a.x).g(20, a.y).g(30, 0.0).g(11, b.x).g(21, b.y).g(31, 0.0);
    return d.text();
}

std::string arc(const std::string& layer, Point2 c, double r, double a1, double a2,
                const std::string& extra = "") {
    Doc d;
    d.g(0, "ARC").g(8, layer).raw(extra).g(10, c.x).g(20, c.y).g(30, 0.0).g(40, r).g(50, a1).g(51,
                                                                                               a2);
    return d.text();
}

const std::vector<Point2> kRect{{0, 0}, {10000, 0}, {10000, 5000}, {0, 5000}};

double signedArea(const std::vector<Point2>& v) {
    double a = 0;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++)
        a += (v[j].x - v[i].x) * (v[j].y + v[i].y);
    return a / 2;
}

// The outline's corners are these, as a set, within `tol`.
void expectCorners(const DxfOutline& o, const std::vector<Point2>& corners, double tol = 1e-9) {
    ASSERT_EQ(o.vertices.size(), corners.size());
    for (const Point2& c : corners)
        EXPECT_TRUE(
            std::any_of(o.vertices.begin(), o.vertices.end(),
                        [&](const Point2& v) { return std::hypot(v.x - c.x, v.y - c.y) <= tol; }))
            << "no corner at " << c.x << ", " << c.y;
}

TEST(DxfUnits, TheFileUnitOrTheCallersScaleMakesMetres) {
    struct Case {
        int insunits;
        std::optional<double> given;
        const char* units;
        double metres;
    } cases[] = {
        {4, std::nullopt, "mm", 0.001},  {5, std::nullopt, "cm", 0.01},
        {6, std::nullopt, "m", 1},       {1, std::nullopt, "in", 0.0254},
        {2, std::nullopt, "ft", 0.3048}, {14, std::nullopt, "dm", 0.1},
        {4, 1.0, "mm", 0.001},  // the file's unit wins over the caller's
        {-1, 0.001, "", 0.001},          {0, 0.01, "", 0.01},
        {-1, std::nullopt, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.insunits);
        const DxfPlan p =
            readDxfText(plan(lw("A", kRect, true), {.insunits = c.insunits}), "u.dxf", {}, c.given);
        EXPECT_EQ(p.units, c.units);
        EXPECT_DOUBLE_EQ(p.metresPerUnit, c.metres);
        ASSERT_EQ(p.outlines.size(), 1u);
        EXPECT_NEAR(p.outlines[0].area, 5e7 * c.metres * c.metres,
                    1e-9 * 5e7 * c.metres * c.metres);
        expectCorners(p.outlines[0],
                      {{0, 0},
                       {10000 * c.metres, 0},
                       {10000 * c.metres, 5000 * c.metres},
                       {0, 5000 * c.metres}},
                      1e-9 * 10000 * c.metres);
    }
}

TEST(DxfOutlines, CounterClockwiseWhateverWayDrawn) {
    for (bool reversed : {false, true}) {
        std::vector<Point2> pts = kRect;
        if (reversed) std::reverse(pts.begin(), pts.end());
        const DxfPlan p = readDxfText(plan(lw("A", pts, true)), "a.dxf");
        ASSERT_EQ(p.outlines.size(), 1u);
        EXPECT_GT(signedArea(p.outlines[0].vertices), 0);
        EXPECT_NEAR(p.outlines[0].area, 5e7, 1e-6);
        EXPECT_EQ(p.outlines[0].from, DxfOutline::From::Polyline);
    }
}

TEST(DxfOutlines, LinesWhoseEndsMeetWithinAMillimetreCloseARing) {
    // A wall plan in mm drawn as four lines in mixed directions, their ends 0.5 mm apart;
    // the same with one gap of 2 mm stays open.
    for (double gap : {0.5, 2.0}) {
        SCOPED_TRACE(gap);
        const std::string e = line("墙", {0, 0}, {10000, 0}) +
                              line("墙", {10000, 5000}, {10000, 0.5}) +
                              line("墙", {10000 - 0.3, 5000 + 0.4}, {0, 5000}) +
                              line("墙", {0, gap}, {0, 5000 - 0.5});
        const DxfPlan p = readDxfText(plan(e, {.insunits = 4}), "walls.dxf");
        if (gap > 1) {
            EXPECT_TRUE(p.outlines.empty());
            EXPECT_EQ(p.skipped.open, 1);
            continue;
        }
        ASSERT_EQ(p.outlines.size(), 1u);
        const DxfOutline& o = p.outlines[0];
        EXPECT_EQ(o.from, DxfOutline::From::Chain);
        EXPECT_EQ(o.layer, "墙");
        EXPECT_GT(signedArea(o.vertices), 0);
        expectCorners(o, {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, 0.001);
        EXPECT_NEAR(o.area, 50, 0.02);
        EXPECT_FALSE(o.elevation || o.thickness);
    }
}

TEST(DxfOutlines, ArcsInAChainAndBulgesFollowedByChordsOfAtMostAMillimetre) {
    // A "D" in metres: a straight wall from (0, -5) to (0, 5) and a half circle of radius 5
    // about the origin; and a round tank drawn as a closed polyline of two half-circle
    // bulges. Every corner lies on the circle, no chord's midpoint is more than 1 mm inside
    // it, and the areas are the circle's less the chords' segments.
    const double r = 5;
    const std::string d = line("A", {0, 5}, {0, -5}) + arc("A", {0, 0}, r, 270, 90);
    const std::string tank = lw("T", {{20 - r, 0}, {20 + r, 0}}, true, {1, 1});
    const DxfPlan p = readDxfText(plan(d + tank), "round.dxf");
    ASSERT_EQ(p.outlines.size(), 2u);
    struct Expect {
        const DxfOutline& o;
        Point2 centre;
        double area;
        DxfOutline::From from;
    } expects[] = {{p.outlines[0], {0, 0}, std::numbers::pi * r * r / 2, DxfOutline::From::Chain},
                   {p.outlines[1], {20, 0}, std::numbers::pi * r * r, DxfOutline::From::Polyline}};
    for (const Expect& e : expects) {
        EXPECT_EQ(e.o.from, e.from);
        const auto& v = e.o.vertices;
        double worst = 0;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const Point2 a = v[i], b = v[(i + 1) % v.size()];
            const double da = std::hypot(a.x - e.centre.x, a.y - e.centre.y);
            if (a.x > e.centre.x + 1e-9 || e.from == DxfOutline::From::Polyline) {
                EXPECT_NEAR(da, r, 1e-9);
            }
            const Point2 m{(a.x + b.x) / 2, (a.y + b.y) / 2};
            if (m.x > e.centre.x + 1e-6 || e.from == DxfOutline::From::Polyline)
                worst = std::max(worst, r - std::hypot(m.x - e.centre.x, m.y - e.centre.y));
        }
        EXPECT_LE(worst, 0.001);
        EXPECT_GT(worst, 0.0002);  // not finer than needed
        EXPECT_LT(e.o.area, e.area);
        EXPECT_GT(e.o.area, e.area - 0.001 * std::numbers::pi * 2 * r);
    }
}

TEST(DxfOutlines, OldStylePolylineKeepsElevationAndThicknessOpenOneIsIgnored) {
    // A closed 2-D POLYLINE at 12 m raised 3 m; the same corners open, on another layer.
    auto polyline = [](const std::string& layer, bool closed) {
        Doc d;
        d.g(0, "POLYLINE").g(8, layer).g(66, "1").g(10, 0.0).g(20, 0.0).g(30, 12.0).g(39, 3.0);
        d.g(70, closed ? "1" : "0");
        for (Point2 p : std::vector<Point2>{{0, 0}, {8, 0}, {8, 6}, {0, 6}})
            d.g(0, "VERTEX").g(8, layer).g(10, p.x).g(20, p.y).g(30, 0.0).g(70, "0");
        d.g(0, "SEQEND");
        return d.text();
    };
    const DxfPlan p = readDxfText(plan(polyline("closed", true) + polyline("open", false),
                                       {.version = "AC1009", .codepage = "", .insunits = -1}),
                                  "r12.dxf");
    ASSERT_EQ(p.outlines.size(), 1u);
    const DxfOutline& o = p.outlines[0];
    EXPECT_EQ(o.layer, "closed");
    EXPECT_EQ(o.from, DxfOutline::From::Polyline);
    EXPECT_NEAR(o.area, 48, 1e-9);
    EXPECT_EQ(o.elevation, 12.0);
    EXPECT_EQ(o.thickness, 3.0);
    EXPECT_EQ(p.skipped.open, 1);
    EXPECT_EQ(p.version, "AC1009");

    // The site: one building, its roof the polyline's top (12 + 3 m) or the one given.
    const sphere::Site fromFile = siteOf(p, 45, 20);
    ASSERT_EQ(fromFile.buildings.size(), 1u);
    EXPECT_EQ(fromFile.buildings[0].roof, 15);
    EXPECT_EQ(siteOf(p, 45, 20, false).buildings[0].roof, 20);
}

TEST(DxfOutlines, WhatIsNoOutlineIsCountedNotRead) {
    const std::string e =
        lw("A", {{0, 0}, {4, 4}, {4, 0}, {0, 6}}, true) +                // a bow tie
        lw("A", {{0, 10}, {5, 10}, {10, 10}}, true) +                    // a line drawn closed
        lw("A", {{20, 0}, {30, 0}, {30, 5}, {20, 5}}, true) +            // a room
        lw("B", {{20, 5}, {30, 5}, {30, 0}, {20, 0}}, true) +            // the same, reversed
        lw("A", {{20, 0}, {30, 0}, {30, 5}, {20, 5}, {20, 0}}, false) +  // and as an open ring
        lw("A", {{50, 0}, {60, 0}, {60, 5}, {50, 5}, {50, 2}, {50, 8}}, true);  // a spike
    const DxfPlan p = readDxfText(plan(e), "mixed.dxf");
    ASSERT_EQ(p.outlines.size(), 1u);
    EXPECT_EQ(p.outlines[0].layer, "A");
    EXPECT_NEAR(p.outlines[0].area, 50, 1e-9);
    EXPECT_EQ(p.skipped.selfIntersecting, 2);
    EXPECT_EQ(p.skipped.degenerate, 1);
    EXPECT_EQ(p.skipped.duplicates, 2);
}

TEST(DxfOutlines, ModelSpaceOnlyWithBlocksInsertedWhereTheyStand) {
    // A block "ROOM" (base point 1, 1) of a 2 m × 1 m rectangle on layer 0, inserted at
    // (100, 50) turned 90° and scaled 2 on layer "建筑"; the block's own definition and a
    // paper-space rectangle are not outlines of the plan.
    Doc b;
    b.g(0, "BLOCK").g(8, "0").g(2, "ROOM").g(70, "0").g(10, 1.0).g(20, 1.0).g(30, 0.0).g(3, "ROOM");
    b.raw(lw("0", {{1, 1}, {3, 1}, {3, 2}, {1, 2}}, true));
    b.g(0, "ENDBLK").g(8, "0");
    Doc ins;
    ins.g(0, "INSERT").g(8, "建筑").g(2, "room").g(10, 100.0).g(20, 50.0).g(30, 0.0);
    ins.g(41, 2.0).g(42, 2.0).g(43, 2.0).g(50, 90.0);
    const std::string paper = lw("P", kRect, true, {}, "67\n1\n");
    const DxfPlan p = readDxfText(plan(ins.text() + paper, {}, b.text()), "block.dxf");
    ASSERT_EQ(p.outlines.size(), 1u);
    EXPECT_EQ(p.outlines[0].layer, "建筑");
    expectCorners(p.outlines[0], {{100, 50}, {100, 54}, {98, 54}, {98, 50}}, 1e-9);
    EXPECT_NEAR(p.outlines[0].area, 8, 1e-9);
}

TEST(DxfOutlines, AnArcDrawnMirroredIsWhereItLooks) {
    // Extrusion (0, 0, −1): the arc's centre (−5, 0) and its angles are in a plane seen from
    // below, so it lies at x = +5 and turns clockwise. With a line across it makes a half
    // disc to the left of x = 5.
    const std::string mirrored = arc("A", {-5, 0}, 5, 270, 90, "210\n0\n220\n0\n230\n-1\n");
    const DxfPlan p = readDxfText(plan(mirrored + line("A", {5, 5}, {5, -5})), "m.dxf");
    ASSERT_EQ(p.outlines.size(), 1u);
    for (const Point2& v : p.outlines[0].vertices) EXPECT_LE(v.x, 5 + 1e-9);
    EXPECT_NEAR(p.outlines[0].area, std::numbers::pi * 12.5, 0.05);
}

TEST(DxfText, NamesInGbkOrEscapedComeOutAsUtf8AndLayersFilter) {
    const std::string gbk = "\xBD\xA8\xD6\xFE";  // 建筑 in GBK
    const std::string e = lw(gbk, kRect, true) +
                          lw("\\U+5382\\U+623F", {{0, 10000}, {1000, 10000}, {1000, 11000}}, true) +
                          lw("Misc", {{0, 20000}, {1000, 20000}, {1000, 21000}}, true);
    const std::string text = plan(e, {.codepage = "ANSI_936", .insunits = 4});
    const DxfPlan all = readDxfText(text, "gbk.dxf");
    EXPECT_EQ(all.layers, (std::vector<std::string>{"建筑", "厂房", "Misc"}));
    ASSERT_EQ(all.outlines.size(), 3u);
    EXPECT_EQ(all.outlines[0].layer, "建筑");
    EXPECT_EQ(all.outlines[1].layer, "厂房");

    struct Case {
        std::vector<std::string> layers;
        std::vector<std::string> found;
    } cases[] = {
        {{"建筑"}, {"建筑"}},
        {{"厂房", "MISC"}, {"厂房", "Misc"}},  // ASCII letters compare without case
        {{"其他"}, {}},
    };
    for (const Case& c : cases) {
        const DxfPlan p = readDxfText(text, "gbk.dxf", c.layers);
        std::vector<std::string> found;
        for (const DxfOutline& o : p.outlines) found.push_back(o.layer);
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(p.layers, all.layers);
    }

    // From AutoCAD 2007 on, names are UTF-8 whatever the code page says.
    const DxfPlan utf8 = readDxfText(plan(lw("建筑", kRect, true), {.version = "AC1021"}), "u.dxf");
    ASSERT_EQ(utf8.outlines.size(), 1u);
    EXPECT_EQ(utf8.outlines[0].layer, "建筑");
}

TEST(DxfRefused, WhatIsNoReadableDxfTextIsRefusedWithOneLineNamingTheFile) {
    const std::string good = plan(lw("A", kRect, true));
    struct Case {
        const char* what;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x00\x02\x00", "二进制"},
        {"DWG", "AC1015\0\0\0\0", "DWG"},
        {"empty", "", "中断"},
        {"no EOF", good.substr(0, good.size() - 6), "中断"},
        {"not a code", "0\nSECTION\n2\nENTITIES\nx\nLINE\n", "组码"},
        {"an old version", plan(lw("A", kRect, true), {.version = "AC1006"}), "AC1006"},
        {"a future version", plan(lw("A", kRect, true), {.version = "AC1040"}), "AC1040"},
        {"no ENDSEC", "0\nSECTION\n2\nENTITIES\n0\nEOF\n", "ENDSEC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            readDxfText(c.bytes, "plan\n.dxf");
            ADD_FAILURE() << "read";
        } catch (const DxfError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.find('\n'), std::string::npos) << what;
            EXPECT_NE(what.find("plan\\n.dxf"), std::string::npos) << what;
            EXPECT_NE(what.find(c.says), std::string::npos) << what;
        }
    }
    // Cut anywhere before its end, a plan is refused, never half read.
    for (std::size_t cut = 0; cut + 5 < good.size(); cut += 7)
        EXPECT_THROW(readDxfText(good.substr(0, cut), "cut.dxf"), DxfError) << cut;
    EXPECT_THROW(readDxf("/nonexistent/plan.dxf"), DxfError);
    EXPECT_THROW(readDxf(std::filesystem::temp_directory_path()), DxfError);
}

TEST(DxfRefused, BrokenEntitiesAreCountedAndTheRestRead) {
    // A bulge before any vertex, a vertex count larger than the vertices, a count of a
    // billion, a coordinate that is no number: counted as damaged, the good room read.
    const std::string bulgeFirst =
        "0\nLWPOLYLINE\n8\nA\n90\n3\n42\n1\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n";
    const std::string tooMany =
        "0\nLWPOLYLINE\n8\nA\n90\n9\n70\n1\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n";
    const std::string billion = "0\nLWPOLYLINE\n8\nA\n90\n1000000000\n70\n1\n10\n0\n20\n0\n";
    const std::string nan = "0\nLINE\n8\nA\n10\nnan\n20\n0\n11\n1\n21\n1\n";
    const DxfPlan p =
        readDxfText(plan(bulgeFirst + tooMany + billion + nan + lw("A", kRect, true)), "b.dxf");
    ASSERT_EQ(p.outlines.size(), 1u);
    EXPECT_EQ(p.skipped.damaged, 4);
}

}  // namespace
}  // namespace tervalen::site
