// The plan's protected outline, built from the closed formulas, proved against the exact
// rolling sphere for a few presses of each arrangement: the hatched region lies within
// the sphere's region at Hx (never protected where a sphere reaches the plane), equals it
// within 0.01 m where the formulas and the sphere agree, and what the formulas claim
// that the sphere reaches is hatched in red. The engine is asked here only; a press draws
// its outline without it.

#include <geos_c.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "calc/sphere/engine.h"
#include "drawing/from_record.h"
#include "drawing/layouts.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"

using namespace tervalen;
using namespace tervalen::drawing;

namespace {

constexpr double kSqrt3 = 1.7320508075688772;

// The site a layout stands for, in the plan's own coordinates (the first rod at the origin,
// as the plan draws it): rods on the ground or on the roof, a roof taken as the ground as a
// flat building at Hx reaching well beyond the rods, wires hanging as parabolas with their
// sag on masts as high as they are.
sphere::Site siteOf(const Layout& layout) {
    sphere::Site s;
    const auto rods = [&](const std::vector<Point>& at, double base, double tip) {
        for (Point p : at) s.rods.push_back({p.x, p.y, std::min(base, tip), tip});
    };
    const auto roof = [&](const Footing& f, double Hx) {
        if (!f.planeIsGround) return;
        const double m = 3 * s.hr + 1, x1 = s.rods.back().x;
        s.buildings.push_back({"屋面", {{-m, -m}, {x1 + m, -m}, {x1 + m, m}, {-m, m}}, 0, Hx});
    };
    const auto wire = [&](double y, double D, double H, double sag) {
        s.wires.push_back({{0, y, H}, {D, y, H}, sag});
        rods({{0, y}, {D, y}}, 0, H);
    };
    std::visit(
        [&](const auto& l) {
            using L = std::decay_t<decltype(l)>;
            s.hr = l.Hr;
            if constexpr (std::is_same_v<L, SingleRod>) {
                rods({{0, 0}}, l.footing.roof.value_or(0.0f), l.H);
                roof(l.footing, l.Hx);
            } else if constexpr (std::is_same_v<L, RodPair>) {
                rods({{0, 0}, {l.D, 0}}, l.footing.roof.value_or(0.0f), l.H);
                roof(l.footing, l.Hx);
            } else if constexpr (std::is_same_v<L, RodFigure>) {
                if (l.rods == 4)
                    rods({{0, 0}, {l.L, 0}, {l.L, -l.L}, {0, -l.L}}, 0, l.H);
                else
                    rods({{0, 0}, {l.L, 0}, {l.L / 2, -l.L * kSqrt3 / 2}}, 0, l.H);
            } else if constexpr (std::is_same_v<L, UnequalRodPair>) {
                rods({{0, 0}}, 0, l.H1);
                rods({{l.D, 0}}, 0, l.H2);
            } else if constexpr (std::is_same_v<L, SingleWire>) {
                wire(0, l.D, l.H, l.sag);
            } else if constexpr (std::is_same_v<L, WirePair>) {
                wire(0, l.D1, l.H, l.sag);
                wire(-static_cast<double>(l.D2), l.D1, l.H, l.sag);
            }
        },
        layout);
    return s;
}

// The level the region is looked at: Hx, or where Hx is the ground the sphere rolls on
// (the ground, or a roof taken as the ground), just above it, since there the sphere
// touching the plane is the region's edge.
double levelOf(const Layout& layout) {
    return std::visit(
        [](const auto& l) {
            using L = std::decay_t<decltype(l)>;
            double ground = 0;
            if constexpr (std::is_same_v<L, SingleRod> || std::is_same_v<L, RodPair>)
                if (l.footing.planeIsGround) ground = l.Hx;
            return l.Hx > ground ? static_cast<double>(l.Hx) : ground + 1e-6;
        },
        layout);
}

// Polygons through GEOS, freed with the context.
class Geos {
public:
    Geos() : h(GEOS_init_r()) {}
    ~Geos() {
        for (GEOSGeometry* g : owned) GEOSGeom_destroy_r(h, g);
        GEOS_finish_r(h);
    }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSGeometry* own(GEOSGeometry* g) {
        EXPECT_NE(g, nullptr);
        owned.push_back(g);
        return g;
    }
    // The rings united (each a polygon; holes come out as rings inside others, so the
    // even-odd fill is taken: symmetric difference, as the hatch fills).
    const GEOSGeometry* evenOdd(const std::vector<std::vector<Point>>& rings) {
        GEOSGeometry* all = own(GEOSGeom_createEmptyPolygon_r(h));
        for (const auto& r : rings) {
            if (r.size() < 3) continue;
            GEOSCoordSequence* seq =
                GEOSCoordSeq_create_r(h, static_cast<unsigned>(r.size() + 1), 2);
            for (std::size_t i = 0; i <= r.size(); ++i)
                GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), r[i % r.size()].x,
                                     r[i % r.size()].y);
            GEOSGeometry* p = own(GEOSMakeValid_r(
                h,
                own(GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, seq), nullptr, 0))));
            all = own(GEOSSymDifference_r(h, all, p));
        }
        return all;
    }
    const GEOSGeometry* unite(const std::vector<std::vector<Point>>& rings) {
        GEOSGeometry* all = own(GEOSGeom_createEmptyPolygon_r(h));
        for (const auto& r : rings) all = own(GEOSUnion_r(h, all, evenOdd({r})));
        return all;
    }
    const GEOSGeometry* engineRegion(const std::vector<sphere::Polygon>& polygons) {
        std::vector<std::vector<Point>> rings;
        for (const sphere::Polygon& p : polygons) {
            rings.emplace_back();
            for (auto q : p.outer) rings.back().push_back({q.x, q.y});
            for (const auto& hole : p.holes) {
                rings.emplace_back();
                for (auto q : hole) rings.back().push_back({q.x, q.y});
            }
        }
        return evenOdd(rings);
    }
    const GEOSGeometry* minus(const GEOSGeometry* a, const GEOSGeometry* b) {
        return own(GEOSDifference_r(h, a, b));
    }
    const GEOSGeometry* grown(const GEOSGeometry* a, double by) {
        return own(GEOSBuffer_r(h, a, by, 8));
    }
    double area(const GEOSGeometry* a) {
        double out = 0;
        GEOSArea_r(h, a, &out);
        return out;
    }
    // A point inside each polygon of the geometry.
    std::vector<Point> inside(const GEOSGeometry* a) {
        std::vector<Point> out;
        for (int i = 0; i < GEOSGetNumGeometries_r(h, a); ++i) {
            const GEOSGeometry* part = GEOSGetGeometryN_r(h, a, i);
            if (GEOSisEmpty_r(h, part)) continue;
            GEOSGeometry* c = own(GEOSPointOnSurface_r(h, part));
            Point p;
            GEOSGeomGetX_r(h, c, &p.x);
            GEOSGeomGetY_r(h, c, &p.y);
            out.push_back(p);
        }
        return out;
    }
    bool contains(const GEOSGeometry* a, Point p) {
        GEOSGeometry* q = own(GEOSGeom_createPointFromXY_r(h, p.x, p.y));
        return GEOSContains_r(h, a, q) == 1;
    }
    // Where the part lies, for a failure's message.
    std::string where(const GEOSGeometry* a) {
        if (GEOSisEmpty_r(h, a)) return "nowhere";
        GEOSGeometry* c = own(GEOSGetCentroid_r(h, a));
        double x = 0, y = 0;
        GEOSGeomGetX_r(h, c, &x);
        GEOSGeomGetY_r(h, c, &y);
        std::ostringstream o;
        o << "about (" << x << ", " << y << ")";
        return o.str();
    }

private:
    GEOSContextHandle_t h;
    std::vector<GEOSGeometry*> owned;
};

struct OutlineCase {
    const char* name;
    const char* words;  // the press in the driver's words
    // The formulas' claim is the sphere's region (within 0.01 m), not only within it.
    bool formulasExact;
    // The unit finds the sphere reaching a place the formulas claim: something red.
    bool red;
    // Where a formula is exact (a printed radius or width): points of the outline and the
    // outward direction there; the sphere's boundary crosses within 0.01 m of each.
    std::vector<std::pair<Point, Point>> agreeAt = {};
};
std::ostream& operator<<(std::ostream& o, const OutlineCase& c) {
    return o << c.name;
}

const OutlineCase kCases[] = {
    {"SingleRod", "frmRx_DLDanZ CmbH=20 CmbHx=5", true, false},
    {"RodOnRoofAsGround", "frmRx_JSDanZ CmbYesNo=是 CmbH=40 CmbHx=15", true, false},
    // The waist between two tips is narrower than the sphere's away from its middle (the
    // formulas on the safe side there); they agree at its middle (Bx) and at Rx.
    {"RodPair",
     "frmRx_DLShuangZ CmbH=20 CmbHx=5 CmbD=30",
     false,
     false,
     {{{15, 7.396033}, {0, 1}}, {{15, -7.396033}, {0, -1}}, {{-11.70115, 0}, {-1, 0}}}},
    {"ThreeRodsCentreOpen", "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=4.5 CmbL=40", false, true},
    {"FourRods", "frmRx_DLSiZ CmbHr=30 CmbH=20 CmbHx=5 CmbL=30", false, false},
    {"UnequalRods",
     "frmRx_BDGShuangZ CmbHr=45 CmbH1=30 CmbH2=20 CmbD=40 CmbHx=5",
     false,
     false,
     {{{-21.81088, 0}, {-1, 0}}}},
    // The strip of a hanging wire, worked cross-section by cross-section, is a little
    // narrower than the sphere's where the wire slopes: the formulas on the safe side.
    {"SingleWireHeight", "frmH_DanX CmbBx1o=5 CmbHx=5 CmbD=100", false, false},
    {"SingleWire", "frmRxBx_DanX CmbHr=30 CmbH=20 CmbD=100 CmbHx=5", true, false},
    {"TwoWires", "frmRxBx_ShuangX CmbHr=30 CmbH=20 CmbD1=60 CmbD2=20 CmbHx=5", false, false},
};

class PlanOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(PlanOutline, IsTheSpheresRegionAtHx) {
    const OutlineCase& c = GetParam();
    std::istringstream in(c.words);
    std::string formName, w;
    in >> formName;
    std::vector<std::string> args;
    while (in >> w) args.push_back(w);
    const forms::FormDef* def = forms::findForm(formName);
    ASSERT_NE(def, nullptr);
    forms::Form form(*def);
    form.setSink([](const forms::Message&) {});
    auto actions = forms::parseActions(args, *def);
    actions.push_back(forms::Action::press("CmdRun"));
    forms::applyAll(form, actions);
    ASSERT_TRUE(form.lastPress());
    const auto layout = layoutOf(*form.lastPress());
    const auto drawing = drawingOf(*form.lastPress(), def->caption);
    ASSERT_TRUE(layout && drawing);

    const auto plan = std::find_if(drawing->parts.begin(), drawing->parts.end(),
                                   [](const Part& p) { return p.kind == Part::Kind::Plan; });
    ASSERT_NE(plan, drawing->parts.end());
    const Point o = plan->origin;
    const auto local = [&](std::vector<Point> ring) {
        for (Point& p : ring) p = {p.x - o.x, p.y - o.y};
        return ring;
    };
    std::vector<std::vector<Point>> covered, red, claimed;
    int hatches = 0;
    for (std::size_t k = plan->begin; k < plan->end; ++k) {
        const Item& i = drawing->items[k];
        if (const auto* h = std::get_if<Hatch>(&i.shape)) {
            auto& into = i.layer == Layer::Warn ? red : covered;
            for (const auto& r : h->rings) into.push_back(local(r));
            hatches += i.layer == Layer::Range;
        }
    }
    for (const ClaimedArea& a : drawing->claimed) claimed.push_back(local(a.ring));
    EXPECT_EQ(hatches, 1) << "one protected region, hatched once";
    EXPECT_EQ(!red.empty(), c.red);

    const sphere::Engine engine(siteOf(*layout));
    const double z = levelOf(*layout);
    // The area looked at: the claim's box widened by the sphere's radius.
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    for (const auto& r : claimed)
        for (Point p : r)
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y),
            y1 = std::max(y1, p.y);
    const double m = 2;
    const std::vector<sphere::Polygon> area{
        {{{x0 - m, y0 - m}, {x1 + m, y0 - m}, {x1 + m, y1 + m}, {x0 - m, y1 + m}}, {}}};
    const sphere::LevelRegion exact = engine.level(z, area, 0.005);

    // The engine's polygons lie within 0.005 m of the boundary, the drawing's within 0.005 m
    // of its own formulas' curves: parts further apart than 0.01 m are real differences.
    constexpr double kTol = 0.01, kCrumb = 1e-4;
    Geos g;
    const GEOSGeometry* sphereRegion = g.engineRegion(exact.protectedRegion);
    const GEOSGeometry* drawn = g.evenOdd(covered);
    // What of the drawing lies further out than that is asked of the sphere itself: a
    // point inside each such crumb must be one no sphere reaches below the level (the
    // engine's polygon there a chord short of its exact boundary).
    const GEOSGeometry* unsafe = g.minus(drawn, g.grown(sphereRegion, kTol));
    // Where the plane is the ground the sphere rolls on, a point is protected where no
    // sphere touches it (S above the plane, however little); the region is looked for a
    // micrometre above it, which puts its edge some millimetres inside.
    const double plane =
        z - static_cast<double>(std::visit([](const auto& l) { return l.Hx; }, *layout));
    const auto covers = [&](Point p) {
        const double S = engine.surface({p.x, p.y});
        return plane > 0 && plane < 1e-5 ? S > z - plane : S >= z;
    };
    for (Point p : g.inside(unsafe))
        EXPECT_TRUE(covers(p)) << "S = " << engine.surface({p.x, p.y})
                               << ": drawn protected where the sphere reaches Hx, at " << p.x
                               << ", " << p.y;
    if (c.formulasExact) {
        const GEOSGeometry* missing = g.minus(sphereRegion, g.grown(drawn, kTol));
        EXPECT_LT(g.area(missing), kCrumb) << "the sphere's region not drawn, " << g.where(missing);
    }
    // Claimed, reached by the sphere, and not in red.
    const GEOSGeometry* reached = g.minus(g.unite(claimed), g.grown(sphereRegion, kTol));
    const GEOSGeometry* unmarked = g.minus(reached, g.grown(g.evenOdd(red), kTol));
    for (Point p : g.inside(unmarked))
        EXPECT_TRUE(covers(p)) << "claimed, reached and not red, at " << p.x << ", " << p.y;
    for (const auto& [p, n] : c.agreeAt) {
        const Point in{p.x - kTol * n.x, p.y - kTol * n.y}, out{p.x + kTol * n.x, p.y + kTol * n.y};
        EXPECT_TRUE(g.contains(drawn, in) && !g.contains(drawn, out))
            << "the outline not at " << p.x << ", " << p.y;
        EXPECT_GE(engine.surface({in.x, in.y}), z) << "at " << p.x << ", " << p.y;
        EXPECT_LT(engine.surface({out.x, out.y}), z) << "at " << p.x << ", " << p.y;
    }
    if (c.red) {
        EXPECT_GT(g.area(reached), 1.0) << "the formulas claim a part the sphere reaches";
    }
}

INSTANTIATE_TEST_SUITE_P(Presses, PlanOutline, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<OutlineCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
