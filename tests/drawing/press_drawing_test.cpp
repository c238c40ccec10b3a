// The drawing of a press beside what its form printed: every "X=v" on it is the result box
// of X (or, for an input, the input; for the few values no box shows, their formula), every
// range circle is the value it stands for, nothing of a section lies under its ground, and
// every weak point the unit found is marked in red at its place with its sentence. One
// worked press of each of the sixteen forms and the weak and borderline cases beside them.

#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <regex>
#include <set>
#include <sstream>

#include "drawing/construct.h"
#include "drawing/from_record.h"
#include "drawing/layouts.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/display.h"
#include "forms/form.h"
#include "forms/utf8.h"
#include "worked_presses.h"

using namespace tervalen;
using namespace tervalen::drawing;

namespace {

struct Press {
    std::string name;
    std::string form;
    std::vector<forms::Action> actions;
};
std::ostream& operator<<(std::ostream& o, const Press& p) {
    return o << p.name;
}

// A press in the driver's words: "frmRx_DLSanZ CmbHr=30 CmbH=15 …" (no --press: CmdRun).
Press driver(std::string name, const std::string& words) {
    std::istringstream in(words);
    std::string form, w;
    in >> form;
    std::vector<std::string> args;
    while (in >> w) args.push_back(w);
    auto actions = forms::parseActions(args, *forms::findForm(form));
    actions.push_back(forms::Action::press("CmdRun"));
    return {std::move(name), std::move(form), std::move(actions)};
}

std::vector<Press> presses() {
    std::vector<Press> out;
    // A worked press of every form that has a drawing, where it draws (two wires above the
    // sphere radius have no range worked out).
    for (const auto& w : forms::testing::workedPresses()) {
        if (!hasDrawing(w.form)) continue;
        forms::Form f(*forms::findForm(w.form));
        f.setSink([](const forms::Message&) {});
        forms::applyAll(f, w.actions);
        if (f.lastPress() && drawingOf(*f.lastPress(), ""))
            out.push_back({w.name, w.form, w.actions});
    }
    const std::pair<const char*, const char*> more[] = {
        // A height form's printed width, not the width worked again from its height.
        {"frmH_DLShuangZ_PrintedBx", "frmH_DLShuangZ CmbBxo=5 CmbHx=5 CmbD=30"},
        {"frmH_JSShuangZ_PrintedBx",
         "frmH_JSShuangZ --pick CmbYesNo=是 CmbBxo=5 CmbHx=15 CmbD=20 CmbG=15"},
        {"frmH_DLSanZ_PrintedBx", "frmH_DLSanZ CmbBxo=3 CmbHx=0 CmbL=40"},
        {"frmH_JSDanZ_NoOnARoof", "frmH_JSDanZ --pick CmbYesNo=否 CmbRxo=5 CmbHx=10 CmbG=5"},
        // Four rods: the diagonal's ranges apart (Ho2 < 0), and joined below Hx.
        {"frmRx_DLSiZ_Ho2BelowGround", "frmRx_DLSiZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=50"},
        {"frmRx_DLSiZ_Ho2BelowHx", "frmRx_DLSiZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=30"},
        {"frmRx_DLSiZ_Hx0", "frmRx_DLSiZ CmbHr=30 CmbH=20 CmbHx=0 CmbL=45"},
        {"frmH_DLSiZ_CentreOpen", "frmH_DLSiZ CmbHr=45 CmbBxo=2 CmbHx=10 CmbL=40"},
        {"frmH_DLSiZ_Bx2Negative", "frmH_DLSiZ CmbBxo=5 CmbHx=5 CmbL=30"},
        // Three rods: the centre reached, and covered.
        {"frmRx_DLSanZ_CentreOpen", "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=4.5 CmbL=40"},
        {"frmRx_DLSanZ_CentreCovered", "frmRx_DLSanZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=30"},
        {"frmRx_DLSanZ_BxNegative", "frmRx_DLSanZ CmbH=20 CmbHx=10 CmbL=50"},
        // Two rods apart on the plane; two wires open between them and at the ends.
        {"frmRx_DLShuangZ_BxNegative", "frmRx_DLShuangZ CmbHr=30 CmbH=15 CmbHx=8 CmbD=40"},
        // Rods of different heights: apart on the plane, and each a single rod.
        {"frmRx_BDGShuangZ_BxNegative",
         "frmRx_BDGShuangZ CmbHr=45 CmbH1=30 CmbH2=20 CmbD=60 CmbHx=9"},
        {"frmRx_BDGShuangZ_SingleRodsOpen",
         "frmRx_BDGShuangZ CmbHr=45 CmbH1=20 CmbH2=30 CmbD=80 CmbHx=5"},
        {"frmRx_JSShuangZ_Yes",
         "frmRx_JSShuangZ --pick CmbYesNo=是 CmbHr=30 CmbH=25 CmbHx=10 CmbD=20"},
        {"frmRxBx_ShuangX_Open", "frmRxBx_ShuangX CmbHr=30 CmbH=10 CmbD1=100 CmbD2=43 CmbHx=2"},
        {"frmRxBx_DanX_AboveHr", "frmRxBx_DanX CmbHr=30 CmbH=40 CmbD=130 CmbHx=5"},
        {"frmRxBx_DanX_Hx0", "frmRxBx_DanX CmbHr=30 CmbH=20 CmbD=100 CmbHx=0"},
    };
    for (const auto& [name, words] : more) out.push_back(driver(name, words));
    return out;
}

struct Pressed {
    std::unique_ptr<forms::Form> form;
    Drawing drawing;
};

Pressed press(const Press& p) {
    Pressed out{std::make_unique<forms::Form>(*forms::findForm(p.form)), {}};
    out.form->setSink([](const forms::Message&) {});
    forms::applyAll(*out.form, p.actions);
    if (!out.form->lastPress()) throw std::runtime_error(p.name + ": no result");
    auto d = drawingOf(*out.form->lastPress(), out.form->def().caption);
    if (!d) throw std::runtime_error(p.name + ": no drawing");
    out.drawing = std::move(*d);
    return out;
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

double number(const std::string& text) {
    const std::string t = trimmed(text);
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        throw std::runtime_error("not a number: " + text);
    return v;
}

double reachOf(double h, double Hr) {
    return std::sqrt(h * (2 * Hr - h));
}

// What the form shows of a symbol: its result box, else its input, else nothing.
struct Shown {
    std::string text;
    bool printed;
};
std::optional<Shown> shownOf(const forms::Form& f, const std::string& symbol) {
    for (const std::string& box :
         {"Pic" + symbol, symbol == "H" ? std::string("PicHj") : std::string()})
        if (!box.empty() && f.has(box) && !f.text(box).empty())
            return Shown{trimmed(f.text(box)), true};
    if (f.has("Cmb" + symbol)) return Shown{trimmed(f.text("Cmb" + symbol)), false};
    return std::nullopt;
}

// The values no box shows, from what the form shows: the reach r0 of the rods or wire
// above what the sphere rolls on, the radius Rx of rods on the plane Hx (the plane that is
// the ground reaches nowhere), the square's diagonal Dg.
std::optional<double> derived(const forms::Form& f, const std::string& symbol) {
    const double Hr = number(f.text("CmbHr")), Hx = number(f.text("CmbHx"));
    const bool planeIsGround = f.has("CmbYesNo") && f.text("CmbYesNo") == "是";
    const double H = number(shownOf(f, "H")->text);
    const double r0 = reachOf(H - (planeIsGround ? Hx : 0), Hr);
    if (symbol == "r0") return r0;
    if (symbol == "Rx") return r0 - (planeIsGround ? 0 : reachOf(Hx, Hr));
    if (symbol == "Dg") return std::sqrt(2.0) * number(f.text("CmbL"));
    return std::nullopt;
}

class PressDrawn : public ::testing::TestWithParam<Press> {};

TEST_P(PressDrawn, EveryLabelIsThePrintedValue) {
    const Pressed p = press(GetParam());
    const std::regex label(R"(([A-Za-z][A-Za-z0-9]*)=(-?[0-9][0-9.]*(E[-+]?[0-9]+)?))");
    int checked = 0;
    for (const Item& i : p.drawing.items) {
        const auto* t = std::get_if<Text>(&i.shape);
        if (!t) continue;
        for (std::sregex_iterator m(t->text.begin(), t->text.end(), label), end; m != end; ++m) {
            const std::string symbol = (*m)[1], value = (*m)[2];
            SCOPED_TRACE(t->text);
            ++checked;
            if (const auto shown = shownOf(*p.form, symbol)) {
                if (shown->printed)
                    EXPECT_EQ(value, shown->text) << symbol << " printed";
                else
                    EXPECT_EQ(number(value), number(shown->text)) << symbol << " typed";
            } else if (const auto v = derived(*p.form, symbol)) {
                EXPECT_NEAR(number(value), *v, 2e-6 * std::max(1.0, std::abs(*v))) << symbol;
            } else {
                ADD_FAILURE() << "a label of " << symbol << ", which the form shows nowhere";
            }
        }
    }
    EXPECT_GE(checked, 8);
}

// The plan: the last part.
const Part& planOf(const Drawing& d) {
    if (d.parts.empty() || d.parts.back().kind != Part::Kind::Plan)
        throw std::runtime_error("no plan");
    return d.parts.back();
}

// The first rod or support of the plan: the highest rod mark at x = 0.
Point planOrigin(const Drawing& d) {
    const Part& plan = planOf(d);
    std::optional<Point> best;
    for (std::size_t k = plan.begin; k < plan.end; ++k)
        if (const auto* c = std::get_if<Circle>(&d.items[k].shape);
            c && d.items[k].layer == Layer::Rod && std::abs(c->c.x) < 1e-9 &&
            (!best || c->c.y > best->y))
            best = c->c;
    if (!best) throw std::runtime_error("no rod in the plan");
    return *best;
}

TEST_P(PressDrawn, EveryRangeCircleIsTheValueItStandsFor) {
    const Pressed p = press(GetParam());
    const std::string& form = p.form->name();
    const bool singleWire = form.find("DanX") != std::string::npos,
               wirePair = form.find("ShuangX") != std::string::npos;
    const Part& plan = planOf(p.drawing);
    const Point o = planOrigin(p.drawing);
    int circles = 0;
    for (std::size_t k = plan.begin; k < plan.end; ++k) {
        const Item& i = p.drawing.items[k];
        const auto* c = std::get_if<Circle>(&i.shape);
        if (!c || i.layer != Layer::Construction) continue;
        ++circles;
        // Around a rod or support: on the plan's first row or a row of its own.
        if (i.stroke == Stroke::Dashed) {
            // From the printed height: as near as its seven digits.
            EXPECT_NEAR(c->r, *derived(*p.form, "r0"), 2e-6 * c->r) << "r0";
        } else if (singleWire) {
            EXPECT_EQ(forms::formatResult(static_cast<float>(c->r)), p.form->text("PicBx2"));
        } else if (wirePair) {
            // One wire's width at its supports, which the form does not print.
            const double Hr = number(p.form->text("CmbHr")),
                         H = number(shownOf(*p.form, "H")->text),
                         Hx = number(p.form->text("CmbHx"));
            EXPECT_NEAR(c->r, reachOf(H, Hr) - reachOf(Hx, Hr), 2e-6 * c->r);
        } else if (p.form->has("PicRx1")) {
            // Rods of different heights: each circle the radius of the rod it stands round.
            const bool first = std::abs(c->c.x - o.x) < 1e-9;
            EXPECT_EQ(forms::formatResult(static_cast<float>(c->r)),
                      p.form->text(first ? "PicRx1" : "PicRx2"));
        } else if (const auto shown = shownOf(*p.form, "Rx"); shown && shown->printed) {
            EXPECT_EQ(trimmed(forms::formatResult(static_cast<float>(c->r))), shown->text);
        } else {
            EXPECT_NEAR(c->r, *derived(*p.form, "Rx"), 2e-6 * c->r);
        }
        EXPECT_LE(c->c.y, o.y + 1e-9);
    }
    EXPECT_GE(circles, 1);
}

// Where an item reaches lowest.
double lowestOf(const Item& i) {
    Drawing one;
    one.items.push_back(i);
    return one.bounds()->y0;
}

TEST_P(PressDrawn, NothingOfASectionLiesUnderItsGround) {
    const Pressed p = press(GetParam());
    const Drawing& d = p.drawing;
    int sections = 0;
    for (const Part& part : d.parts) {
        if (part.kind != Part::Kind::Section) continue;
        ++sections;
        bool groundLine = false;
        for (std::size_t k = part.begin; k < part.end; ++k) {
            const Item& i = d.items[k];
            const double y = lowestOf(i);
            if (const auto* l = std::get_if<Line>(&i.shape);
                l && i.layer == Layer::Rod && l->a.y == part.ground && l->b.y == part.ground)
                groundLine = true;
            // Boundaries, lowest points, the plane's crossings and texts stand on it at most;
            // a tick or mark on the ground line may reach under it by less than half a line.
            if (i.layer == Layer::Range || std::holds_alternative<Text>(i.shape))
                EXPECT_GE(y, part.ground - 1e-9) << k;
            else
                EXPECT_GE(y, part.ground - 0.5 * d.textHeight) << k;
        }
        EXPECT_TRUE(groundLine);
    }
    EXPECT_EQ(sections, p.form->name().find("SiZ") != std::string::npos ? 2 : 1);
    ASSERT_FALSE(d.parts.empty());
    EXPECT_EQ(d.parts.back().kind, Part::Kind::Plan);
}

// Where each place is in the plan, from its first rod or support.
std::vector<Point> placesOf(const forms::Form& f, Place place, Point o) {
    auto in = [&](const char* box) { return number(f.text(box)); };
    const std::string& form = f.name();
    std::vector<Point> at;
    if (form.find("SanZ") != std::string::npos || form.find("SiZ") != std::string::npos) {
        const double L = in("CmbL");
        const bool square = form.find("SiZ") != std::string::npos;
        const std::vector<Point> rods =
            square ? std::vector<Point>{{0, 0}, {L, 0}, {L, -L}, {0, -L}}
                   : std::vector<Point>{{0, 0}, {L, 0}, {L / 2, -L * std::sqrt(3.0) / 2}};
        if (place == Place::Centre)
            at.push_back(square ? Point{L / 2, -L / 2} : Point{L / 2, -L / (2 * std::sqrt(3.0))});
        if (place == Place::BetweenRods)
            for (std::size_t i = 0; i < rods.size(); ++i) {
                const Point a = rods[i], b = rods[(i + 1) % rods.size()];
                at.push_back({(a.x + b.x) / 2, (a.y + b.y) / 2});
            }
    } else if (form.find("BDG") != std::string::npos) {
        // Rods of different heights: on the line D1, or, for single rods, midway across
        // the open stretch between their circles.
        if (place == Place::BetweenRods)
            at.push_back({f.text("PicD1").empty() ? (in("PicRx1") + in("CmbD") - in("PicRx2")) / 2
                                                  : in("PicD1"),
                          0});
    } else if (form.find("ShuangZ") != std::string::npos) {
        if (place == Place::BetweenRods) at.push_back({in("CmbD") / 2, 0});
    } else if (form.find("DanX") != std::string::npos) {
        const double D = in("CmbD");
        if (place == Place::MidSpan) at.push_back({D / 2, 0});
        if (place == Place::Supports) at = {{0, 0}, {D, 0}};
    } else if (form.find("ShuangX") != std::string::npos) {
        const double D1 = in("CmbD1"), D2 = in("CmbD2");
        if (place == Place::BetweenWires) at.push_back({D1 / 2, -D2 / 2});
        if (place == Place::WireEnds) at = {{0, -D2 / 2}, {D1, -D2 / 2}};
    }
    for (Point& p : at) p = {p.x + o.x, p.y + o.y};
    return at;
}

TEST_P(PressDrawn, EveryWeakPointIsMarkedInRedAtItsPlace) {
    const Pressed p = press(GetParam());
    const Warnings& warnings = p.form->lastPress()->warnings();
    const Drawing& d = p.drawing;
    std::vector<Point> marks;
    std::vector<std::string> notes;
    for (const Item& i : d.items) {
        if (!isWarning(i)) continue;
        EXPECT_EQ(i.layer, Layer::Warn);
        if (const auto* c = std::get_if<Circle>(&i.shape)) marks.push_back(c->c);
        if (const auto* t = std::get_if<Text>(&i.shape)) notes.push_back(t->text);
    }
    if (warnings.empty()) {
        EXPECT_TRUE(marks.empty() && notes.empty()) << (notes.empty() ? "" : notes[0]);
        return;
    }
    const Point o = planOrigin(d);
    // A place found from printed values (rods of different heights: D1, Rx1, Rx2) is as
    // near as their seven digits.
    const double tol = p.form->name().find("BDG") != std::string::npos ? 1e-4 : 1e-6;
    for (const Warning& w : warnings) {
        SCOPED_TRACE(sentence(w));
        EXPECT_NE(std::find(notes.begin(), notes.end(), sentence(w)), notes.end());
        const auto at = placesOf(*p.form, w.place, o);
        EXPECT_FALSE(at.empty());
        for (Point q : at)
            EXPECT_TRUE(
                std::any_of(marks.begin(), marks.end(),
                            [&](Point m) { return std::hypot(m.x - q.x, m.y - q.y) < tol; }))
                << "no mark at " << q.x - o.x << ',' << q.y - o.y;
    }
    EXPECT_NE(std::find(notes.begin(), notes.end(), std::string(kUncovered)), notes.end());
}

// Whether the segment runs through the inside of the box (touching its edge does not).
bool through(Point a, Point b, const Box& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    for (auto [p, q] : {std::pair{-dx, a.x - box.x0}, std::pair{dx, box.x1 - a.x},
                        std::pair{-dy, a.y - box.y0}, std::pair{dy, box.y1 - a.y}}) {
        if (p == 0) {
            if (q <= 0) return false;
        } else if (p < 0) {
            t0 = std::max(t0, q / p);
        } else {
            t1 = std::min(t1, q / p);
        }
    }
    return t0 < t1;
}

// The leaders of moved labels: the thin lines after the last part, before the scale bar.
TEST_P(PressDrawn, LeadersRunClearOfEveryLabelAndReachTheirPoints) {
    const Pressed p = press(GetParam());
    const Drawing& d = p.drawing;
    std::vector<Box> boxes;
    for (const Item& i : d.items)
        if (const auto* t = std::get_if<Text>(&i.shape)) {
            const Box b = textBox(*t);
            const double in = 0.05 * t->height;  // a leader may end on its text's edge
            boxes.push_back({b.x0 + in, b.y0 + in, b.x1 - in, b.y1 - in});
        }
    for (std::size_t k = d.parts.back().end; k < d.items.size(); ++k) {
        const auto* l = std::get_if<Line>(&d.items[k].shape);
        if (!l || d.items[k].stroke != Stroke::Thin) continue;
        SCOPED_TRACE(std::to_string(l->a.x) + ',' + std::to_string(l->a.y));
        // A leader shorter than a text line is a stray tick beside a label.
        EXPECT_GE(std::hypot(l->b.x - l->a.x, l->b.y - l->a.y), 0.7 * d.textHeight);
        for (const Box& b : boxes) EXPECT_FALSE(through(l->a, l->b, b));
    }
}

// The sphere centres marked in a section (the crosses of its construction) lie on its line
// at Hr, which says what they are; none floats unlabelled above it.
TEST_P(PressDrawn, SphereCentresLieOnTheLineAtHr) {
    const Pressed p = press(GetParam());
    const Drawing& d = p.drawing;
    for (const Part& part : d.parts) {
        if (part.kind != Part::Kind::Section) continue;
        std::vector<double> levels;
        std::vector<Point> centres;
        for (std::size_t k = part.begin; k < part.end; ++k) {
            const auto* l = std::get_if<Line>(&d.items[k].shape);
            if (!l || d.items[k].layer != Layer::Aux) continue;
            if (l->a.y == l->b.y)
                levels.push_back(l->a.y);
            else
                centres.push_back({(l->a.x + l->b.x) / 2, (l->a.y + l->b.y) / 2});
        }
        ASSERT_FALSE(levels.empty());
        for (Point c : centres)
            EXPECT_TRUE(std::any_of(levels.begin(), levels.end(),
                                    [&](double y) { return std::abs(y - c.y) < 1e-9; }))
                << "a centre at " << c.x << ',' << c.y - part.ground;
    }
}

// On paper at its stated scale every text with characters is at least 3.5 mm high and
// every other (letters, digits, signs) at least 2.5 mm, and the drawing takes no more than
// the A3 sheet's room for it: at the next larger scale of the series (with its text as
// large on paper) it would not fit.
TEST_P(PressDrawn, TextIsLegibleOnPaperAtTheStatedScale) {
    const Pressed p = press(GetParam());
    const Drawing& d = p.drawing;
    ASSERT_GT(d.scale, 0);
    for (const Item& i : d.items) {
        const auto* t = std::get_if<Text>(&i.shape);
        if (!t) continue;
        const auto chars = forms::decodeUtf8(t->text);
        const bool characters = std::any_of(chars.begin(), chars.end(), wideCharacter);
        EXPECT_GE(t->height * 1000 / d.scale, (characters ? 3.5 : 2.5) - 1e-9) << t->text;
    }
    auto paper = [](const Drawing& x, int N) {
        const Box b = *x.bounds();
        return std::pair{(b.width() + 2 * x.margin()) * 1000 / N,
                         (b.height() + 2 * x.margin()) * 1000 / N};
    };
    const double room = kA3RoomHeightMm;
    const auto [w, h] = paper(d, d.scale);
    EXPECT_LE(w, kA3RoomWidthMm);
    EXPECT_LE(h, room);
    // The next larger scale: the step of the series below N.
    std::vector<int> series;
    for (int k = 10; k < 10'000'000; k *= 10)
        for (double m : kScaleSteps) series.push_back(static_cast<int>(std::lround(m * k)));
    const auto at = std::find(series.begin(), series.end(), d.scale);
    ASSERT_NE(at, series.end());
    if (at == series.begin()) return;
    const int larger = *(at - 1);
    const auto layout = layoutOf(*p.form->lastPress());
    const Drawing big = drawWithText(*layout, d.title, kTextMm * larger / 1000);
    const auto [bw, bh] = paper(big, larger);
    EXPECT_TRUE(bw > kA3RoomWidthMm || bh > room) << "fits at 1:" << larger;
}

INSTANTIATE_TEST_SUITE_P(Presses, PressDrawn, ::testing::ValuesIn(presses()),
                         [](const ::testing::TestParamInfo<Press>& info) {
                             return info.param.name;
                         });

TEST(PressDrawing, TheTableHasEveryFormWithADrawing) {
    std::set<std::string> forms, drawn;
    for (const Press& p : presses()) forms.insert(p.form);
    for (const std::string& f : forms) EXPECT_TRUE(hasDrawing(f)) << f;
    for (const forms::FormDef* def : forms::allForms())
        if (def->drawn) drawn.insert(def->name);
    EXPECT_EQ(forms, drawn);
    EXPECT_GE(drawn.size(), 18u);  // the range and height forms at least
}

// The cases the rules are pinned by, with the values they must show.
TEST(PressDrawing, HeightFormsShowTheirPrintedWidths) {
    const std::pair<const char*, const char*> cases[] = {
        {"frmH_DLShuangZ CmbBxo=5 CmbHx=5 CmbD=30", "Bx=5.006593"},
        {"frmH_JSShuangZ --pick CmbYesNo=是 CmbBxo=5 CmbHx=15 CmbD=20 CmbG=15", "Bx=5.002359"},
        {"frmH_DLSanZ CmbBxo=3 CmbHx=0 CmbL=40", "Bx=3.094253"},
        {"frmRx_DLSiZ CmbHr=45 CmbH=30 CmbHx=10 CmbL=40", "Bx2=3.338505"},
    };
    for (const auto& [words, text] : cases) {
        SCOPED_TRACE(words);
        const Pressed p = press(driver(words, words));
        EXPECT_TRUE(std::any_of(p.drawing.items.begin(), p.drawing.items.end(), [&](const Item& i) {
            const auto* t = std::get_if<Text>(&i.shape);
            return t && t->text == text;
        }));
    }
}

// Four rods whose diagonal the sphere passes through to the ground: the diagonal's section
// has each rod's own arcs, both above its ground, the lowest point stated (not dimensioned)
// and the stretch of Hx between the ranges in red.
TEST(PressDrawing, DiagonalApartDrawsEachRodsOwnRange) {
    const Pressed p = press(driver("", "frmRx_DLSiZ CmbHr=30 CmbH=15 CmbHx=5 CmbL=50"));
    const Drawing& d = p.drawing;
    ASSERT_EQ(d.parts.size(), 3u);
    const Part& b = d.parts[1];
    std::vector<Arc> arcs;
    std::optional<Line> red;
    bool stated = false;
    for (std::size_t k = b.begin; k < b.end; ++k) {
        const Item& i = d.items[k];
        if (const auto* a = std::get_if<Arc>(&i.shape); a && i.layer == Layer::Range)
            arcs.push_back(*a);
        if (const auto* l = std::get_if<Line>(&i.shape); l && i.warning) red = *l;
        if (const auto* t = std::get_if<Text>(&i.shape))
            stated = stated || t->text == "Ho2=-8.405728（低于地面）";
    }
    ASSERT_EQ(arcs.size(), 4u);
    const double r0 = reachOf(15, 30), Rx = r0 - reachOf(5, 30), Dg = 50 * std::sqrt(2.0);
    for (const Arc& a : arcs) {
        EXPECT_DOUBLE_EQ(a.r, 30);
        EXPECT_NEAR(onCircle(a.c, a.r, 270).y, b.ground, 1e-9);  // touches its ground
    }
    EXPECT_TRUE(stated);
    ASSERT_TRUE(red);
    // From where the first rod's range leaves the plane Hx to where the second's meets it,
    // as in the plan: Rx from each rod.
    EXPECT_NEAR(red->a.y - b.ground, 5, 1e-9);
    EXPECT_NEAR(std::abs(red->b.x - red->a.x), Dg - 2 * Rx, 1e-6);
}

}  // namespace
