// The drawings measured: every boundary arc passes through its tip and touches the ground
// the sphere rolls on at the reach, crosses the plane Hx where the form printed Rx or Bx,
// the upper edge between two tips dips to the printed Ho, the plan's circles and waists
// have the printed radii and widths; one worked press of each of the sixteen forms.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <ostream>

#include "drawing/from_units.h"
#include "drawing/labels.h"
#include "drawing/layouts.h"

using namespace tervalen;
using namespace tervalen::drawing;

namespace {

constexpr double kExact = 1e-9;    // a construction point, metres
constexpr double kPrinted = 1e-3;  // a printed value (single precision), metres

template <class S>
std::vector<std::pair<S, Stroke>> shapes(const Drawing& d, Layer layer) {
    std::vector<std::pair<S, Stroke>> out;
    for (const Item& i : d.items)
        if (const S* s = std::get_if<S>(&i.shape); s && i.layer == layer)
            out.push_back({*s, i.stroke});
    return out;
}

double dist(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool within(const Arc& a, double deg) {
    const double span = std::fmod(a.endDeg - a.startDeg + 720, 360);
    return std::fmod(deg - a.startDeg + 720, 360) <= span + 1e-9;
}

// Where an arc crosses the level y, within its angles.
std::vector<double> crossings(const Arc& a, double y) {
    std::vector<double> xs;
    const double dy = y - a.c.y;
    if (std::abs(dy) > a.r) return xs;
    const double dx = std::sqrt(a.r * a.r - dy * dy);
    for (double x : {a.c.x - dx, a.c.x + dx}) {
        double deg = std::atan2(dy, x - a.c.x) * 180 / std::numbers::pi;
        if (deg < 0) deg += 360;
        if (within(a, deg) && (xs.empty() || std::abs(xs.back() - x) > kExact)) xs.push_back(x);
    }
    return xs;
}

bool hasVertexAt(const Drawing& d, Point p, double tol) {
    for (const auto& [poly, stroke] : shapes<Polyline>(d, Layer::Construction))
        for (Point q : poly.points)
            if (dist(p, q) < tol) return true;
    return false;
}

// The waist's width at a point of the line between two rods, along `n` (a unit vector):
// the vertex of a range curve farthest from p that lies on the line through p along n.
std::optional<double> waistWidth(const Drawing& d, Point p, Point n) {
    std::optional<double> best;
    for (const auto& [poly, stroke] : shapes<Polyline>(d, Layer::Construction))
        for (Point q : poly.points) {
            const double along = (q.x - p.x) * n.x + (q.y - p.y) * n.y;
            const double across = (q.x - p.x) * n.y - (q.y - p.y) * n.x;
            if (std::abs(across) < 1e-6 && along > 0 && (!best || along > *best)) best = along;
        }
    return best;
}

// A waist drawn for rods a form found the height of: at least the width it printed (the
// width at the lowest point it searched for; the rods' own lowest point is no lower), and
// exactly the printed width for a range form.
void expectWaist(const Drawing& d, Point p, Point n, double printed, bool heightForm) {
    const auto w = waistWidth(d, p, n);
    ASSERT_TRUE(w) << "no waist at " << p.x << ',' << p.y;
    if (heightForm) {
        EXPECT_GE(*w, printed - kPrinted);
        EXPECT_LT(*w, printed + 0.1);
    } else {
        EXPECT_NEAR(*w, printed, kPrinted);
    }
}

std::vector<std::string> texts(const Drawing& d) {
    std::vector<std::string> out;
    for (const Item& i : d.items)
        if (const auto* t = std::get_if<Text>(&i.shape)) out.push_back(t->text);
    return out;
}

bool anyTextStarts(const Drawing& d, std::string_view prefix) {
    for (const auto& t : texts(d))
        if (t.rfind(prefix, 0) == 0) return true;
    return false;
}

// The first rod of the plan: the highest rod mark at x = 0 below the section.
Point planOrigin(const Drawing& d) {
    std::optional<Point> best;
    for (const auto& [c, stroke] : shapes<Circle>(d, Layer::Rod))
        if (c.c.y < 0 && std::abs(c.c.x) < kExact && (!best || c.c.y > best->y)) best = c.c;
    EXPECT_TRUE(best.has_value());
    return best.value_or(Point{});
}

// The feet of the rods of the section: the rods reach up to H.
std::vector<double> feet(const Drawing& d, double H) {
    std::vector<double> xs;
    for (const auto& [l, stroke] : shapes<Line>(d, Layer::Rod))
        if (l.a.x == l.b.x && l.a.y >= 0 && std::abs(l.b.y - H) < kExact) xs.push_back(l.a.x);
    return xs;
}

// The boundary arcs of rods of height H standing on `base`, at the feet xs: each starts
// at a tip, touches the base at the reach and crosses the plane Hx at Rx.
void expectBoundaryArcs(const Drawing& d, double Hr, double H, double Hx, double base,
                        const std::vector<double>& xs, double Rx) {
    const double h = H - base, r0 = std::sqrt(h * (2 * Hr - h));
    int n = 0;
    for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range)) {
        if (std::abs(a.r - Hr) > kExact || std::abs(a.c.y - (base + Hr)) > kExact) continue;
        const Point ground = onCircle(a.c, a.r, 270);
        const Point ends[] = {onCircle(a.c, a.r, a.startDeg), onCircle(a.c, a.r, a.endDeg)};
        std::optional<double> foot;
        for (double x : xs)
            for (Point e : ends)
                if (dist(e, {x, H}) < 1e-6) foot = x;
        ASSERT_TRUE(foot) << "an arc starting at no tip, centre " << a.c.x << ',' << a.c.y;
        EXPECT_NEAR(dist(a.c, {*foot, H}), Hr, kExact);
        EXPECT_NEAR(ground.y, base, kExact);
        EXPECT_NEAR(std::abs(ground.x - *foot), r0, 1e-6);
        const auto at = crossings(a, Hx);
        ASSERT_EQ(at.size(), 1u);
        EXPECT_NEAR(std::abs(at[0] - *foot), Rx, kPrinted);
        ++n;
    }
    EXPECT_EQ(n % 2, 0);
    EXPECT_GE(n, 2);
}

// The upper edge between tips at xa and xb, down to base + Ho.
void expectUpperEdge(const Drawing& d, double H, double base, double xa, double xb, double Ho) {
    for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range))
        if (std::abs(a.c.x - (xa + xb) / 2) < kExact && dist(a.c, {xa, H}) - a.r < kExact &&
            std::abs(dist(a.c, {xb, H}) - a.r) < kExact && stroke == Stroke::Solid) {
            EXPECT_NEAR(a.c.y - a.r, base + Ho, kPrinted);
            return;
        }
    ADD_FAILURE() << "no upper edge between " << xa << " and " << xb;
}

void checkRods(const Drawing& d, const SingleRod& r, bool) {
    const double base = r.footing.planeIsGround ? r.Hx : 0;
    expectBoundaryArcs(d, r.Hr, r.H, r.Hx, base, {0}, r.Rx);
    const Point o = planOrigin(d);
    const auto circles = shapes<Circle>(d, Layer::Construction);
    ASSERT_FALSE(circles.empty());
    EXPECT_NEAR(circles[0].first.r, r.Rx, kPrinted);
    EXPECT_NEAR(dist(circles[0].first.c, o), 0, kExact);
}

void checkRods(const Drawing& d, const RodPair& r, bool heightForm) {
    const double base = r.footing.planeIsGround ? r.Hx : 0;
    expectBoundaryArcs(d, r.Hr, r.H, r.Hx, base, {0, r.D}, r.Rx);
    expectUpperEdge(d, r.H, base, 0, r.D, r.Ho);
    const Point o = planOrigin(d);
    if (r.Bx > 0) {
        expectWaist(d, {o.x + r.D / 2, o.y}, {0, 1}, r.Bx, heightForm);
        expectWaist(d, {o.x + r.D / 2, o.y}, {0, -1}, r.Bx, heightForm);
    }
}

void checkRods(const Drawing& d, const RodFigure& r, bool heightForm) {
    const std::vector<double> xs = feet(d, r.H);
    ASSERT_EQ(xs.size(), 2u);
    EXPECT_EQ(xs[0], 0);
    EXPECT_NEAR(xs[1], r.L, kExact);
    expectBoundaryArcs(d, r.Hr, r.H, r.Hx, 0, xs, r.Rx);
    expectUpperEdge(d, r.H, 0, 0, r.L, r.Ho);
    if (r.rods == 4) {
        // The diagonal's section under it, on a ground line of its own above the plan:
        // rods of height H standing below y = 0.
        std::vector<double> xd;
        std::optional<double> ground;
        for (const auto& [l, stroke] : shapes<Line>(d, Layer::Rod))
            if (l.a.x == l.b.x && l.a.y < 0 && std::abs(l.b.y - l.a.y - r.H) < kExact) {
                xd.push_back(l.a.x);
                ground = l.a.y;
            }
        ASSERT_EQ(xd.size(), 2u);
        EXPECT_NEAR(xd[0], 0, kExact);
        EXPECT_NEAR(xd[1] - xd[0], r.L * std::sqrt(2.0), 1e-6);
        expectBoundaryArcs(d, r.Hr, *ground + r.H, *ground + r.Hx, *ground, xd, r.Rx);
        if (*r.Ho2 >= 0) {
            expectUpperEdge(d, *ground + r.H, *ground, xd[0], xd[1], *r.Ho2);
        } else {
            // The sphere passes between the diagonal's rods to the ground: each bounds its
            // own range on both sides, as the single rod does, and no arc dips under it.
            int own = 0;
            for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range))
                if (std::abs(a.c.y - (*ground + r.Hr)) < kExact) {
                    EXPECT_NEAR(a.r, r.Hr, kExact);
                    ++own;
                }
            EXPECT_EQ(own, 4);
        }
        EXPECT_LT(planOrigin(d).y + r.Rx, *ground);  // the plan below both
    }
    const Point o = planOrigin(d);
    // The outer waist of the first side, Bx from its middle.
    ASSERT_GT(r.Bx, 0);
    expectWaist(d, {o.x + r.L / 2, o.y}, {0, 1}, r.Bx, heightForm);
    EXPECT_EQ(shapes<Circle>(d, Layer::Construction).size(), static_cast<std::size_t>(r.rods));
    if (r.rods != 4) return;
    const Point centre{o.x + r.L / 2, o.y - r.L / 2};
    if (r.Bx2) {
        EXPECT_TRUE(hasVertexAt(
            d, {centre.x + *r.Bx2 / std::sqrt(2.0), centre.y + *r.Bx2 / std::sqrt(2.0)}, kPrinted));
        EXPECT_TRUE(anyTextStarts(d, "Bx2="));
    } else {
        // Marked in red at the centre, said, and no width drawn.
        EXPECT_TRUE(anyTextStarts(d, "对角线上无保护宽度"));
        bool marked = false;
        for (const auto& [c, stroke] : shapes<Circle>(d, Layer::Warn))
            marked = marked || dist(c.c, centre) < kExact;
        EXPECT_TRUE(marked);
        EXPECT_FALSE(anyTextStarts(d, "Bx2="));
        EXPECT_FALSE(hasVertexAt(d, centre, r.L / 4));
    }
}

void checkRods(const Drawing& d, const SingleWire& w, bool) {
    int solid = 0, dashed = 0;
    for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range)) {
        const bool atSupport = stroke == Stroke::Solid;
        const double h = atSupport ? w.H : w.H - w.sag;
        const Point start = std::abs(a.c.x) > 0 && a.c.x > 0 ? onCircle(a.c, a.r, a.startDeg)
                                                             : onCircle(a.c, a.r, a.endDeg);
        EXPECT_NEAR(a.r, w.Hr, kExact);
        EXPECT_NEAR(start.x, 0, 1e-6);
        if (atSupport) {
            EXPECT_NEAR(start.y, w.Hh, kPrinted);
        }
        // The sphere touches the wire: within it, on it when the wire is below Hr.
        EXPECT_LE(dist(a.c, {0, h}), a.r + kExact);
        EXPECT_NEAR(std::abs(a.c.x), std::sqrt(h * (2 * w.Hr - h)), 1e-6);
        const auto at = crossings(a, w.Hx);
        ASSERT_EQ(at.size(), 1u);
        EXPECT_NEAR(std::abs(at[0]), atSupport ? w.Bx2 : w.Bx1, kPrinted);
        ++(atSupport ? solid : dashed);
    }
    EXPECT_EQ(solid, 2);
    EXPECT_EQ(dashed, 2);
    const Point o = planOrigin(d);
    EXPECT_TRUE(hasVertexAt(d, {o.x + w.D / 2, o.y + w.Bx1}, kPrinted));
    EXPECT_TRUE(hasVertexAt(d, {o.x, o.y - w.Bx2}, kPrinted));
}

void checkRods(const Drawing& d, const WirePair& w, bool) {
    const double low = w.H - w.sag;
    bool midSpan = false;
    for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range))
        if (std::abs(a.c.x - w.D2 / 2) < kExact && stroke == Stroke::Dashed) {
            EXPECT_NEAR(a.r, w.Hr, kExact);
            EXPECT_NEAR(dist(a.c, {0, low}), a.r, kExact);
            EXPECT_NEAR(dist(a.c, {w.D2, low}), a.r, kExact);
            EXPECT_NEAR(a.c.y - a.r, w.Ho, kPrinted);
            midSpan = true;
        }
    EXPECT_TRUE(midSpan);
    // Beyond the end of the centre line by Bx1.
    const Point o = planOrigin(d);
    EXPECT_TRUE(hasVertexAt(d, {o.x + w.D1 + w.Bx1, o.y - w.D2 / 2}, kPrinted));
    // The form's fixed note that no width at Hr is worked out is not the drawing's.
    EXPECT_FALSE(anyTextStarts(d, "避雷线在 Hr 高度上的最小保护宽度"));
}

// Rods of different heights: each rod's boundary arcs start at its own tip and cross the
// plane Hx at its own Rx; between them the upper edge through both tips dips to Ho on the
// line D1, and the plan's waist is Bx wide there. Rods that are each a single rod have
// their own boundary on the inner side too, no upper edge, and the form's reason.
void checkRods(const Drawing& d, const UnequalRodPair& r, bool) {
    const struct { double x, H, Rx; } rods[] = {{0, r.H1, r.Rx1}, {r.D, r.H2, r.Rx2}};
    for (const auto& rod : rods) {
        int arcs = 0;
        for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range)) {
            if (std::abs(a.r - r.Hr) > kExact || std::abs(a.c.y - r.Hr) > kExact) continue;
            const Point ends[] = {onCircle(a.c, a.r, a.startDeg), onCircle(a.c, a.r, a.endDeg)};
            if (dist(ends[0], {rod.x, rod.H}) > 1e-6 && dist(ends[1], {rod.x, rod.H}) > 1e-6)
                continue;
            EXPECT_NEAR(std::abs(a.c.x - rod.x), std::sqrt(rod.H * (2 * r.Hr - rod.H)), 1e-6);
            const auto at = crossings(a, r.Hx);
            ASSERT_EQ(at.size(), 1u);
            EXPECT_NEAR(std::abs(at[0] - rod.x), rod.Rx, kPrinted);
            ++arcs;
        }
        EXPECT_EQ(arcs, r.D1 ? 1 : 2) << "rod at " << rod.x;
    }
    int edges = 0;
    for (const auto& [a, stroke] : shapes<Arc>(d, Layer::Range))
        if (std::abs(a.r - r.Hr) > kExact) {
            ASSERT_TRUE(r.D1 && r.Ho);
            EXPECT_NEAR(a.c.x, *r.D1, kPrinted);
            EXPECT_NEAR(a.c.y - a.r, *r.Ho, kPrinted);
            EXPECT_NEAR(dist(a.c, {0, r.H1}), a.r, kExact);
            EXPECT_NEAR(dist(a.c, {r.D, r.H2}), a.r, kPrinted);
            ++edges;
        }
    EXPECT_EQ(edges, r.D1 ? 1 : 0);
    const Point o = planOrigin(d);
    const auto circles = shapes<Circle>(d, Layer::Construction);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_NEAR(circles[0].first.r, r.Rx1, kPrinted);
    EXPECT_NEAR(circles[1].first.r, r.Rx2, kPrinted);
    if (r.Bx && *r.Bx > 0) {
        for (double side : {1.0, -1.0}) expectWaist(d, {o.x + *r.D1, o.y}, {0, side}, *r.Bx, false);
        // Nowhere between the rods is the waist narrower than at the line D1.
        for (const auto& [poly, stroke] : shapes<Polyline>(d, Layer::Construction))
            for (Point q : poly.points) EXPECT_GE(std::abs(q.y - o.y), *r.Bx - kPrinted);
    }
    if (!r.D1) {
        EXPECT_TRUE(anyTextStarts(d, r.single.substr(r.single.find('\n') + 1)));
    }
}

template <class R>
const R& ok(const Outcome<R>& o) {
    if (!std::holds_alternative<R>(o)) throw std::runtime_error(std::get<Refusal>(o).text);
    return std::get<R>(o);
}

struct Case {
    const char* form;
    std::function<Layout()> layout;
};
std::ostream& operator<<(std::ostream& o, const Case& c) {
    return o << c.form;
}

class Drawn : public ::testing::TestWithParam<Case> {};

TEST_P(Drawn, ArcsAndWidthsMeetThePrintedValues) {
    const Layout layout = GetParam().layout();
    const Drawing d = draw(layout, GetParam().form);
    const bool heightForm = std::string_view(GetParam().form).starts_with("frmH_");
    std::visit([&](const auto& l) { checkRods(d, l, heightForm); }, layout);
    // The plan lies wholly below the ground line of the section.
    EXPECT_EQ(d.title, GetParam().form);
    // No label stands on another (by the room the renderers give a text).
    std::vector<const Text*> labels;
    for (const Item& i : d.items)
        if (const auto* t = std::get_if<Text>(&i.shape)) labels.push_back(t);
    for (std::size_t i = 0; i < labels.size(); ++i)
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            EXPECT_FALSE(overlaps(textBox(*labels[i]), textBox(*labels[j])))
                << labels[i]->text << " on " << labels[j]->text;
        }
}

// Two labels put at one place: the second moves clear of the first and a leader joins it
// back when it went further than a line; a label with room stays where it was put.
TEST(PlaceLabels, ClearOfEachOtherAndOfLines) {
    Drawing d;
    d.add(Line{{-50, 0}, {50, 0}}, Layer::Rod);
    d.add(Text{{0, 1}, "被保护面 Hx=5", 1}, Layer::Text);
    d.add(Text{{0, 1}, "滚球半径 Hr=30", 1}, Layer::Text);
    d.add(Text{{0, -0.4}, "地面", 1}, Layer::Text);  // on the ground line
    d.add(Text{{0, 30}, "剖面", 1}, Layer::Text);
    placeLabels(d);
    std::vector<Text> t;
    for (const Item& i : d.items)
        if (const auto* x = std::get_if<Text>(&i.shape)) t.push_back(*x);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].at, (Point{0, 1}));
    EXPECT_EQ(t[3].at, (Point{0, 30}));
    EXPECT_FALSE(overlaps(textBox(t[0]), textBox(t[1])));
    // Off the ground line, but for a tenth of a text's height that may graze it.
    for (const Text& x : t) EXPECT_FALSE(textBox(x).y0 < -0.1 && textBox(x).y1 > 0.1) << x.text;
    // The leaders: thin lines from the moved texts back to their places.
    const auto leaders = shapes<Line>(d, Layer::Text);
    ASSERT_FALSE(leaders.empty());
    for (const auto& [l, stroke] : leaders) EXPECT_EQ(stroke, Stroke::Thin);
}

std::optional<Layout> must(std::optional<Layout> l) {
    if (!l) throw std::runtime_error("no drawing");
    return l;
}

INSTANTIATE_TEST_SUITE_P(
    SixteenForms, Drawn,
    ::testing::Values(
        Case{"frmRx_DLDanZ",
             [] {
                 const RodInput in{30, 20, 5};
                 return Layout{singleRod(in, ok(calcRx_DLDanZ(in)))};
             }},
        Case{"frmRx_JSDanZ 是",
             [] {
                 const RodOnBuildingInput in{true, 30, 40, 15};
                 return Layout{singleRod(in, ok(calcRx_JSDanZ(in)))};
             }},
        Case{"frmRx_JSDanZ 否",
             [] {
                 const RodOnBuildingInput in{false, 30, 25, 10};
                 return Layout{singleRod(in, ok(calcRx_JSDanZ(in)))};
             }},
        Case{"frmRx_DLShuangZ",
             [] {
                 return Layout{
                     rodPair(30, 20, 5, 30, ok(calcRx_DLShuangZ(RodPairInput{30, 20, 5, 30})))};
             }},
        Case{"frmRx_DLShuangZ Bx<0",
             [] {
                 return Layout{
                     rodPair(30, 20, 10, 50, ok(calcRx_DLShuangZ(RodPairInput{30, 20, 10, 50})))};
             }},
        Case{"frmRx_JSShuangZ 是",
             [] {
                 return Layout{
                     rodPair(30, 25, 10, 20,
                             ok(calcRx_JSShuangZ(RodPairOnBuildingInput{true, 30, 25, 10, 20})),
                             true, true)};
             }},
        Case{"frmRx_DLSanZ",
             [] {
                 return Layout{
                     rodTriangle(30, 20, 5, 30, ok(calcRx_DLSanZ(RodFigureInput{30, 20, 5, 30})))};
             }},
        Case{"frmRx_DLSiZ",
             [] {
                 return Layout{
                     rodSquare(45, 30, 10, 40, ok(calcRx_DLSiZ(RodFigureInput{45, 30, 10, 40})))};
             }},
        Case{"frmRx_DLSiZ diagonal uncovered",
             [] {
                 return Layout{
                     rodSquare(30, 20, 2, 42, ok(calcRx_DLSiZ(RodFigureInput{30, 20, 2, 42})))};
             }},
        Case{"frmRxBx_DanX",
             [] {
                 return Layout{
                     singleWire(30, 20, 5, 100, ok(calcRxBx_DanX(WireInput{30, 20, 5, 100})))};
             }},
        Case{"frmRxBx_DanX above Hr",
             [] {
                 return Layout{
                     singleWire(30, 40, 5, 100, ok(calcRxBx_DanX(WireInput{30, 40, 5, 100})))};
             }},
        Case{"frmRxBx_ShuangX",
             [] {
                 return Layout{wirePair(30, 20, 5, 100, 20,
                                        ok(calcRxBx_ShuangX(WirePairInput{30, 20, 5, 100, 20})))};
             }},
        Case{"frmH_DLDanZ",
             [] {
                 return *must(heightLayout(30, 5, ok(calcH_DLDanZ(RodHeightInput{30, 10, 5}))));
             }},
        Case{"frmH_JSDanZ",
             [] {
                 return *must(heightLayout(
                     30, 15, 15, true,
                     *ok(calcH_JSDanZ(RodHeightOnBuildingInput{true, 30, 20, 15, 15}))));
             }},
        Case{"frmH_DLShuangZ",
             [] {
                 return *must(heightLayout(30, 5, 30,
                                           ok(calcH_DLShuangZ(RodPairHeightInput{30, 7, 5, 30}))));
             }},
        Case{"frmH_JSShuangZ",
             [] {
                 return *must(heightLayout(
                     30, 10, 20, 10, true,
                     *ok(calcH_JSShuangZ(RodPairHeightOnBuildingInput{true, 30, 15, 10, 20, 10}))));
             }},
        Case{"frmH_DLSanZ",
             [] {
                 return *must(heightLayoutTriangle(
                     30, 5, 30, ok(calcH_DLSanZ(RodFigureHeightInput{30, 7, 5, 30}))));
             }},
        Case{"frmH_DLSiZ",
             [] {
                 return *must(
                     heightLayout(30, 5, 30, ok(calcH_DLSiZ(RodFigureHeightInput{30, 7, 5, 30}))));
             }},
        Case{"frmRx_BDGShuangZ",
             [] {
                 const UnequalRodsInput in{45, 20, 30, 60, 5};
                 return Layout{unequalRodPair(in, ok(calcRx_BDGShuangZ(in)))};
             }},
        Case{"frmRx_BDGShuangZ taller first, Bx<0",
             [] {
                 const UnequalRodsInput in{45, 30, 20, 60, 9};
                 return Layout{unequalRodPair(in, ok(calcRx_BDGShuangZ(in)))};
             }},
        Case{"frmRx_BDGShuangZ single rods",
             [] {
                 const UnequalRodsInput in{45, 20, 30, 80, 5};
                 return Layout{unequalRodPair(in, ok(calcRx_BDGShuangZ(in)))};
             }},
        Case{"frmRx_BDGShuangZ lower rod near",
             [] {
                 const UnequalRodsInput in{45, 30, 20, 10, 5};
                 return Layout{unequalRodPair(in, ok(calcRx_BDGShuangZ(in)))};
             }},
        Case{"frmH_BDGShuangZ",
             [] {
                 const UnequalRodHeightInput in{45, 20, 60, 5, 5};
                 return Layout{unequalRodPair(in, ok(calcH_BDGShuangZ(in)))};
             }},
        Case{"frmH_DanX",
             [] {
                 return *must(
                     heightLayout(30, 5, 100, ok(calcH_DanX(WireHeightInput{30, 10, 5, 100}))));
             }},
        Case{"frmH_ShuangX", [] {
                 return *must(heightLayout(
                     30, 5, 100, 20, ok(calcH_ShuangX(WirePairHeightInput{30, 15.0, 5, 100, 20}))));
             }}));

// The sheet's scale: the largest of 1, 1.5, 2, 2.5, 3, 4, 5, 6, 8 × 10^k at which the
// drawing and its margin (two text heights each side) fit the room on paper.
TEST(RoundScale, LargestThatFits) {
    struct {
        double w, h;  // the drawing's extent, metres (text height 1: margin 2 m)
        double roomW, roomH;
        int N;
    } cases[] = {
        {100, 0, 170, 200, 800},     // 104 m: 1:600 needs 173 mm, 1:800 130 mm
        {0, 96, 170, 200, 500},      // 100 m tall in exactly 200 mm
        {0, 96.1, 170, 200, 600},    // a little taller: the next step
        {46, 0, 170, 200, 300},      // 50 m in 167 mm
        {5000, 0, 170, 200, 30000},  // 5004 m in 167 mm
        {1, 1, 170, 200, 30},        // 5 m: 1:25 needs 200 mm, 1:30 167 mm
    };
    for (const auto& c : cases) {
        Drawing d;
        d.add(Line{{0, 0}, {c.w, c.h}}, Layer::Rod);
        EXPECT_EQ(roundScale(d, c.roomW, c.roomH), c.N) << c.w << " × " << c.h;
    }
    EXPECT_EQ(roundScale(Drawing{}, 170, 200), 0);
}

}  // namespace
