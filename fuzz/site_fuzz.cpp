// The site file's reader and the rolling-sphere engine under libFuzzer. Any bytes read as
// a site or are refused with a SiteError of one line, nothing else; a site read is written
// and read back to the same text; and on a site the engine is asked about (a small one, so
// that each input runs in milliseconds) every answer is a number: S finite, never below
// the ground nor above the highest object, and the segment's lowest point on the segment.
// An escaping exception, a crash, a sanitizer report or a broken rule fails the run.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calc/sphere/engine.h"
#include "site/site_file.h"

namespace {

using namespace tervalen::sphere;

[[noreturn]] void broken(const char* rule, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", rule, detail.c_str());
    std::abort();
}

// Small enough for the engine to answer a few queries in milliseconds: a few objects
// within a few hundred metres, a radius the program offers.
bool small(const Site& s) {
    std::size_t corners = 0;
    for (const Building& b : s.buildings) corners += b.outline.size();
    const std::size_t objects =
        s.rods.size() + s.conductors.size() + s.wires.size() + s.buildings.size();
    if (objects == 0 || objects > 8 || corners > 24 || s.hr > 120) return false;
    double lo = 1e300, hi = -1e300;
    auto take = [&](double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    for (const Rod& r : s.rods) take(r.x), take(r.y), take(r.tip);
    for (const Conductor& c : s.conductors)
        for (const Point3& p : {c.from, c.to}) take(p.x), take(p.y), take(p.z);
    for (const Wire& w : s.wires)
        for (const Point3& p : {w.from, w.to}) take(p.x), take(p.y), take(p.z);
    for (const Building& b : s.buildings) {
        take(b.roof);
        for (const Point2& p : b.outline) take(p.x), take(p.y);
    }
    return hi - lo <= 400;
}

void checkSurface(const Engine& engine, Point2 p) {
    const Touch t = engine.touch(p);
    const std::string at = std::to_string(p.x) + ", " + std::to_string(p.y);
    if (!std::isfinite(t.s) || !std::isfinite(t.gap) || !std::isfinite(t.centre.z))
        broken("S not a number", at);
    // S is 0 where the sphere reaches the ground, and no sphere rests above the highest
    // object.
    if (t.s < -1e-9 || t.s > engine.highest() + 1e-6)
        broken("S outside [0, highest]", at + ": " + std::to_string(t.s));
    if (t.gap < 0) broken("negative gap", at);
}

void askTheEngine(const Site& site) {
    const Engine engine(site);
    const Box b = engine.bounds();
    const Point2 centre{(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2};
    std::vector<Point2> points{centre, {b.minX, b.minY}, {b.maxX, b.maxY}};
    for (const Rod& r : site.rods) points.push_back({r.x + 0.5, r.y});
    for (const Building& bd : site.buildings) points.push_back(bd.outline.front());
    for (const Point2& p : points) checkSurface(engine, p);
    // Far from everything the sphere reaches the ground.
    const Point2 far{b.maxX + 2 * engine.hr() + 1, b.maxY};
    if (engine.surface(far) != 0) broken("S above 0 far from everything", "");
    const Lowest low = engine.lowestAlong({b.minX, b.minY}, {b.maxX, b.maxY}, 2.0);
    if (!std::isfinite(low.s) || !std::isfinite(low.at.x) || !std::isfinite(low.at.y))
        broken("lowest point not a number", "");
    if (low.at.x < b.minX - 1e-6 || low.at.x > b.maxX + 1e-6)
        broken("lowest point off the segment", "");

    // A region costs thousands of queries: only for a few rods.
    if (!site.wires.empty() || !site.conductors.empty() || !site.buildings.empty() ||
        site.rods.size() > 3)
        return;

    // The region at one level over a small area: areas that are numbers,
    // adding up to the area asked about, the lowest point a number. Boundaries to half a
    // metre: what is fuzzed is that an answer comes, not its last centimetre.
    constexpr double kTolerance = 0.5;
    const double z = engine.highest() / 2;
    const double half = 5;
    const Polygon area{{{centre.x - half, centre.y - half},
                        {centre.x + half, centre.y - half},
                        {centre.x + half, centre.y + half},
                        {centre.x - half, centre.y + half}},
                       {}};
    const LevelRegion l = engine.level(z, {area}, kTolerance);
    if (!std::isfinite(l.protectedArea) || !std::isfinite(l.uncoveredArea) ||
        std::fabs(l.protectedArea + l.uncoveredArea - 4 * half * half) > 1)
        broken("level areas",
               std::to_string(l.protectedArea) + " + " + std::to_string(l.uncoveredArea));
    if (l.worst && !std::isfinite(l.worst->s)) broken("level's lowest point not a number", "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tervalen::site;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Site site;
    try {
        site = parse(text);
    } catch (const SiteError& e) {
        const std::string_view what = e.what();
        if (what.empty() || what.find('\n') != std::string_view::npos)
            broken("not one line", e.what());
        return 0;
    }
    const std::string again = serialize(site);
    try {
        if (serialize(parse(again)) != again) broken("read back differently", again);
    } catch (const SiteError& e) {
        broken("its own text refused", std::string(e.what()) + "\n" + again);
    }
    if (small(site)) askTheEngine(site);
    return 0;
}
