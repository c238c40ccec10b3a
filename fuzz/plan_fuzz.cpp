// The DXF plan reader under libFuzzer. Any bytes read as a plan or are refused with a
// DxfError of one line, nothing else; a plan read keeps its promises: every outline of
// three corners or more, finite, counter-clockwise, its area the polygon's and above 0,
// on a layer the plan lists; and a site is made of it, one building per outline. An
// escaping exception, a crash, a sanitizer report, a hang or a broken rule fails the run.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "site/dxf_import.h"

namespace {

using namespace tervalen::site;
using tervalen::sphere::Point2;

[[noreturn]] void broken(const char* rule, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", rule, detail.c_str());
    std::abort();
}

bool sameLayer(std::string a, std::string b) {
    for (std::string* s : {&a, &b})
        for (char& c : *s)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return a == b;
}

void check(const DxfPlan& plan) {
    if (!std::isfinite(plan.metresPerUnit) || !(plan.metresPerUnit > 0))
        broken("scale", std::to_string(plan.metresPerUnit));
    for (const DxfOutline& o : plan.outlines) {
        if (o.vertices.size() < 3) broken("fewer than three corners", o.layer);
        double twice = 0;
        for (std::size_t i = 0, j = o.vertices.size() - 1; i < o.vertices.size(); j = i++) {
            const Point2 &p = o.vertices[i], &q = o.vertices[j];
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) broken("corner not a number", o.layer);
            twice += (q.x - p.x) * (q.y + p.y);
        }
        if (!(twice > 0)) broken("not counter-clockwise", std::to_string(twice));
        if (!(o.area > 0) || std::fabs(twice / 2 - o.area) > 1e-9 * o.area)
            broken("area not the polygon's", std::to_string(o.area));
        for (const auto& v : {o.elevation, o.thickness})
            if (v && !std::isfinite(*v)) broken("height not a number", o.layer);
        bool listed = false;
        for (const std::string& l : plan.layers) listed = listed || sameLayer(l, o.layer);
        if (!listed) broken("layer not listed", o.layer);
    }
    if (siteOf(plan, 45, 10).buildings.size() != plan.outlines.size())
        broken("a building per outline", "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        check(readDxfText(bytes, "fuzz.dxf"));
        // With the first listed layer chosen and a scale for a file without a unit.
        check(readDxfText(bytes, "fuzz.dxf", {"0"}, 0.001));
    } catch (const DxfError& e) {
        const std::string_view what = e.what();
        if (what.empty() || what.find('\n') != std::string_view::npos)
            broken("not one line", e.what());
    }
    return 0;
}
