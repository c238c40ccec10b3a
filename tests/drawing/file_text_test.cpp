// The drawing's files as text: a weak point's note in red in the DXF (colour 1, layer
// LP-WARN) and the SVG, none for a covered case; every SVG arc bulging the way the
// drawing's arc does; and numbers with a decimal point in a
// locale whose decimal separator is a comma, reading back as the drawing's numbers.

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale>
#include <numbers>
#include <regex>
#include <sstream>

#include "drawing/dxf.h"
#include "drawing/finite.h"
#include "drawing/from_units.h"
#include "drawing/layouts.h"
#include "drawing/number_text.h"
#include "drawing/svg.h"

using namespace tervalen;
using namespace tervalen::drawing;

namespace {

Drawing triangle(float H, float Hx, float L) {
    const RodFigureInput in{30, H, Hx, L};
    return draw(rodTriangle(30, H, Hx, L, std::get<RxSanZ>(calcRx_DLSanZ(in))), "三针");
}

// A DXF's group codes and values, in order.
std::vector<std::pair<int, std::string>> groups(const std::string& dxf) {
    std::vector<std::pair<int, std::string>> out;
    std::istringstream in(dxf);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value))
        out.push_back({std::stoi(code), value});
    return out;
}

struct Entity {
    std::string type, layer, text;
    int colour = 256;  // by layer
};

// The entities of the blocks (the views) and of the model space.
std::vector<Entity> entities(const std::string& dxf) {
    std::vector<Entity> out;
    bool inEntities = false;
    for (const auto& [code, value] : groups(dxf)) {
        if (code == 2 && (value == "BLOCKS" || value == "ENTITIES")) inEntities = true;
        if (!inEntities) continue;
        if (code == 0) {
            if (value == "ENDSEC") {
                inEntities = false;
                continue;
            }
            out.push_back({value, "", "", 256});
        } else if (!out.empty()) {
            if (code == 8) out.back().layer = value;
            if (code == 62) out.back().colour = std::stoi(value);
            if (code == 1) out.back().text = value;
        }
    }
    return out;
}

TEST(WeakPointFiles, ThreeRodsCentreInRedInTheDxfAndTheSvg) {
    const RodFigureInput in{30, 15, 4.5f, 40};
    const RxSanZ r = std::get<RxSanZ>(calcRx_DLSanZ(in));
    ASSERT_EQ(r.warnings.size(), 1u);
    const std::string note = sentence(r.warnings[0]);
    EXPECT_EQ(note, "三针中心：Hx 高度该处无保护（Hoc = 4.148542 m < Hx = 4.5 m）");
    const Drawing d = triangle(15, 4.5f, 40);

    const auto es = entities(toDxf(d));
    auto red = [](const Entity& e) { return e.colour == 1 && e.layer == "LP-WARN"; };
    EXPECT_TRUE(std::any_of(es.begin(), es.end(), [&](const Entity& e) {
        return e.type == "TEXT" && red(e) && e.text == dxfText(note);
    }));
    EXPECT_TRUE(std::any_of(es.begin(), es.end(),
                            [&](const Entity& e) { return e.type == "CIRCLE" && red(e); }));
    const std::string svg = toSvg(d);
    const std::string inSvg = std::regex_replace(note, std::regex("<"), "&lt;");
    EXPECT_NE(svg.find("fill=\"#d00000\">" + inSvg + "</text>"), std::string::npos);
    EXPECT_NE(svg.find("<circle"), std::string::npos);

    // Covered at the centre (9.494897 m ≥ Hx): nothing red but the layer LP-RANGE.
    const Drawing covered = triangle(15, 5, 30);
    for (const Entity& e : entities(toDxf(covered))) {
        EXPECT_NE(e.colour, 1) << e.type << ' ' << e.text;
        EXPECT_NE(e.layer, "LP-WARN") << e.type << ' ' << e.text;
    }
    const std::string coveredSvg = toSvg(covered);
    // No red text (the protected region's light fill is in the range layer's colour).
    EXPECT_EQ(coveredSvg.find("fill=\"#d00000\">"), std::string::npos);
    EXPECT_NE(coveredSvg.find("<g id=\"LP-WARN\">\n</g>"), std::string::npos);
}

// An SVG path "M x1 y1 A rx ry rot large sweep x2 y2" read back: its centre and the point
// halfway along it as SVG's rules make them, in the drawing's coordinates (y up).
struct SvgArc {
    Point from, to, middle;
};

std::vector<SvgArc> svgArcs(const std::string& svg) {
    const std::string num = R"((-?[0-9.]+(?:e[-+]?[0-9]+)?))";
    const std::regex path("M " + num + ' ' + num + " A " + num + ' ' + num + " 0 ([01]) ([01]) " +
                          num + ' ' + num);
    std::vector<SvgArc> out;
    for (std::sregex_iterator m(svg.begin(), svg.end(), path), end; m != end; ++m) {
        auto v = [&](int i) { return std::stod((*m)[i].str()); };
        const double x1 = v(1), y1 = v(2), r = v(3), x2 = v(7), y2 = v(8);
        const bool large = (*m)[5] == "1", sweep = (*m)[6] == "1";
        // The centre on the perpendicular bisector of the chord, on the side the flags ask
        // for (y down, as SVG has it).
        const double mx = (x1 + x2) / 2, my = (y1 + y2) / 2, dx = x2 - x1, dy = y2 - y1;
        const double chord = std::hypot(dx, dy);
        const double off = std::sqrt(std::max(0.0, r * r - chord * chord / 4));
        const double sign = large != sweep ? 1 : -1;
        const double cx = mx - sign * off * dy / chord, cy = my + sign * off * dx / chord;
        const double a1 = std::atan2(y1 - cy, x1 - cx);
        double span = std::atan2(y2 - cy, x2 - cx) - a1;
        // Sweep 1: the angle grows (clockwise on the page).
        if (sweep && span < 0) span += 2 * std::numbers::pi;
        if (!sweep && span > 0) span -= 2 * std::numbers::pi;
        const double am = a1 + span / 2;
        out.push_back({{x1, -y1}, {x2, -y2}, {cx + r * std::cos(am), -(cy + r * std::sin(am))}});
    }
    return out;
}

// Every arc of the drawing is in the SVG once, from its start to its end through its own
// middle: a wrong sweep flag puts the middle on the far side of the chord.
TEST(SvgFile, ArcsBulgeAsTheDrawingsDo) {
    const RodPairInput pair{30, 20, 5, 30};
    const WirePairInput wires{30, 10, 2, 100, 43};
    const Drawing drawings[] = {
        triangle(15, 4.5f, 40),
        draw(rodPair(30, 20, 5, 30, std::get<RxShuangZ>(calcRx_DLShuangZ(pair))), "双针"),
        draw(wirePair(30, 10, 2, 100, 43, std::get<RxBxShuangX>(calcRxBx_ShuangX(wires))), "双线"),
    };
    for (const Drawing& d : drawings) {
        SCOPED_TRACE(d.title);
        const std::vector<SvgArc> svg = svgArcs(toSvg(d));
        std::size_t arcs = 0;
        for (const Item& i : d.items) {
            const auto* a = std::get_if<Arc>(&i.shape);
            if (!a) continue;
            ++arcs;
            const Point from = onCircle(a->c, a->r, a->startDeg),
                        to = onCircle(a->c, a->r, a->endDeg);
            const Point middle = onCircle(
                a->c, a->r, a->startDeg + std::fmod(a->endDeg - a->startDeg + 720, 360) / 2);
            const double tol = 1e-4 * (1 + a->r);
            auto near = [&](Point p, Point q) { return std::hypot(p.x - q.x, p.y - q.y) < tol; };
            const auto found = std::find_if(svg.begin(), svg.end(), [&](const SvgArc& s) {
                return near(s.from, from) && near(s.to, to);
            });
            ASSERT_NE(found, svg.end()) << "arc at " << a->c.x << ',' << a->c.y;
            EXPECT_TRUE(near(found->middle, middle))
                << "arc at " << a->c.x << ',' << a->c.y << " bulges through " << found->middle.x
                << ',' << found->middle.y << ", not " << middle.x << ',' << middle.y;
        }
        EXPECT_EQ(svg.size(), arcs);
        EXPECT_GE(arcs, 3u);
    }
}

// A filled area with a hole: one SVG path of both rings, filled by the even-odd rule, light
// and without a stroke; it counts in the drawing's extent, and a ring with a point that is
// not a number keeps the drawing from any file.
TEST(HatchShape, SvgPathExtentAndFiniteness) {
    Drawing d;
    d.textHeight = 1;
    d.add(Hatch{{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{3, 3}, {7, 3}, {7, 7}}}}, Layer::Range);
    const std::string svg = toSvg(d);
    const std::regex path(R"re(<path d="([^"]*)" fill="#d00000" fill-opacity="0.18" )re"
                          R"re(fill-rule="evenodd" stroke="none"/>)re");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(svg, m, path)) << svg;
    EXPECT_EQ(m[1].str(), "M 0 0 L 10 0 L 10 -10 L 0 -10 Z M 3 -3 L 7 -3 L 7 -7 Z");
    const auto b = d.bounds();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->x0, 0);
    EXPECT_EQ(b->y1, 10);
    EXPECT_TRUE(allFinite(d));
    d.add(Hatch{{{{0, 0}, {std::nan(""), 1}, {2, 2}}}}, Layer::Warn);
    EXPECT_FALSE(allFinite(d));
}

TEST(NumberText, AsPrintfInTheCLocale) {
    for (double v : {0.0, 0.5, -8.405728, 1e-13, 123456789.123, 1.5e20})
        for (int digits : {6, 12}) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*g", digits, v);
            EXPECT_EQ(numberText(v, digits), buf) << v;
        }
    EXPECT_EQ(numberText(-1e-13, 12, 1e-12), "0");
    EXPECT_EQ(numberText(-0.0, 12, 1e-12), "0");
}

// The whole test program in a locale with a decimal comma, as a Qt program is once it has
// set the user's locale; the C library's and C++'s both, and back to "C" after.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (!std::setlocale(LC_ALL, name)) continue;
            try {
                std::locale::global(std::locale(name));
            } catch (const std::runtime_error&) {
            }
            return;
        }
        GTEST_SKIP() << "no locale with a decimal comma is installed (scripts/deps.sh makes one)";
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

TEST_F(CommaLocale, FilesKeepTheDecimalPoint) {
    // The files written in the "C" locale, for comparison.
    std::string locale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    const Drawing d = triangle(15, 4.5f, 40);
    const std::string dxfC = toDxf(d), svgC = toSvg(d);
    std::setlocale(LC_ALL, locale.c_str());
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5") << "the locale " << locale << " has no decimal comma";

    const std::string dxf = toDxf(d), svg = toSvg(d);
    EXPECT_EQ(dxf, dxfC);
    EXPECT_EQ(svg, svgC);

    // Every real of the DXF reads back whole; the first arc as the drawing has it.
    std::vector<double> arc;
    bool inArc = false;
    int reals = 0;
    for (const auto& [code, value] : groups(dxf)) {
        if (code == 0) inArc = value == "ARC" && arc.empty();
        const bool real = (code >= 10 && code <= 59) || (code >= 140 && code <= 149);
        if (!real) continue;
        double v = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
        EXPECT_TRUE(ec == std::errc() && end == value.data() + value.size())
            << code << ": " << value;
        ++reals;
        if (inArc && (code == 10 || code == 20 || code == 40 || code == 50 || code == 51))
            arc.push_back(v);
    }
    EXPECT_GT(reals, 500);
    const auto first = std::find_if(d.items.begin(), d.items.end(), [](const Item& i) {
        return std::holds_alternative<Arc>(i.shape);
    });
    ASSERT_NE(first, d.items.end());
    const Arc& a = std::get<Arc>(first->shape);
    ASSERT_EQ(arc.size(), 5u);
    const double want[] = {a.c.x, a.c.y, a.r, a.startDeg, a.endDeg};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(arc[i], want[i], 1e-9 * (1 + std::abs(want[i])));

    // The SVG's attributes: numbers with a point, none with a comma.
    const std::regex attribute(R"re(="(-?[0-9][^"]*)")re");
    int numbers = 0;
    for (std::sregex_iterator m(svg.begin(), svg.end(), attribute), end; m != end; ++m) {
        EXPECT_EQ((*m)[1].str().find(','), std::string::npos) << (*m)[1];
        ++numbers;
    }
    EXPECT_GT(numbers, 100);
}

}  // namespace
