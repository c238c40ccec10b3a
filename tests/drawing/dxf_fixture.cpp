// Writes small drawings whose every figure is known to DXF files, for a reader of its own
// (dxf_fixture_roundtrip.py) to check: `dxf_fixture DIR` writes DIR/hatch.dxf, a square of
// 10 m with a square hole of 4 m and a triangle apart, filled on LP-RANGE, and a red
// filled triangle on LP-WARN.

#include <cstdio>
#include <fstream>
#include <string>

#include "drawing/dxf.h"

using namespace tervalen::drawing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dxf_fixture DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    Drawing d;
    d.title = "hatch";
    d.textHeight = 0.5;
    d.add(Hatch{{{{0, 0}, {10, 0}, {10, 10}, {0, 10}},
                 {{3, 3}, {7, 3}, {7, 7}, {3, 7}},
                 {{20, 0}, {30, 0}, {25, 5}}}},
          Layer::Range);
    d.add(Hatch{{{{0, -10}, {6, -10}, {0, -4}}}}, Layer::Warn, Stroke::Solid, true);
    d.endPart(Part::Kind::Plan);
    std::ofstream out(dir + "/hatch.dxf", std::ios::binary);
    out << toDxf(d);
    return out ? 0 : 1;
}
