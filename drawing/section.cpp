#include "drawing/section.h"

#include <algorithm>
#include <cmath>

#include "calc/common/rolling_sphere.h"
#include "drawing/construct.h"

namespace tervalen::drawing {

double sphereBase(const Footing& f, float Hx) {
    return f.planeIsGround ? Hx : 0.0;
}

double planeReach(const Footing& f, float Hr, float Hx) {
    return f.planeIsGround ? 0.0 : reach(Hx, Hr, "Rx");
}

void rowSection(Drawing& d, const RowSection& s) {
    const double th = d.textHeight;
    const double base = sphereBase(s.footing, s.Hx);
    const double h = s.H - base;
    const double first = s.xs.front(), last = s.xs.back();

    const double r0 = boundaryArc(d, first, base, h, s.Hr, -1);
    boundaryArc(d, last, base, h, s.Hr, +1);
    const double Rx = r0 - planeReach(s.footing, s.Hr, s.Hx);
    const double xl = first - std::max(r0, Rx), xr = last + std::max(r0, Rx);
    const double m = std::max(0.08 * (xr - xl), 3 * th);

    // Ground, building, rods.
    d.add(Line{{xl - m, 0}, {xr + m, 0}}, Layer::Rod);
    label(d, {xr + m, th * 0.3}, "地面", th, Align::Right);
    const double foot = s.footing.roof.value_or(0.0f);
    if (s.footing.roof) {
        const double wb = std::max(Rx, 2 * th);
        d.add(Polyline{{{first - wb, 0}, {first - wb, foot}, {last + wb, foot}, {last + wb, 0}}},
              Layer::Rod);
        label(d, {first - wb + th * 0.5, foot - th * 1.5},
              s.footing.planeIsGround ? "建筑物（与大地连通的等电位体）" : "建筑物", th);
    }
    for (double x : s.xs) d.add(Line{{x, foot}, {x, s.H}}, Layer::Rod);
    label(d, {first + th * 0.4, s.H + th * 0.3}, "接闪杆（避雷针）", th);

    // The line at Hr above what the sphere rolls on, and the plane Hx.
    d.add(Line{{xl - m, base + s.Hr}, {xr + m, base + s.Hr}}, Layer::Aux, Stroke::Thin);
    label(d, {xr + m, base + s.Hr + th * 0.3}, "滚球半径 Hr=" + num(s.Hr), th, Align::Right);
    d.add(Line{{xl - m, s.Hx}, {xr + m, s.Hx}}, Layer::Hx, Stroke::Dashed);
    label(d, {xl - m, s.Hx + th * 0.3}, "被保护面 Hx=" + num(s.Hx), th);
    for (double x : {first - Rx, last + Rx}) cross(d, {x, s.Hx}, th * 0.8, Layer::Hx);

    // Between two rods: the upper edge where the sphere rests on both tips, or, where it
    // passes between them down to the base, each rod's own boundary on its inner side.
    if (s.xs.size() == 2) {
        const double mid = (first + last) / 2;
        if (last - first < 2 * r0) {
            const double ho = upperEdge(d, first, last, base, h, s.Hr);
            vDim(d, mid, base, base + ho, s.HoName + "=" + num(s.Ho.value_or(ho)), th);
            if (base + ho < s.Hx) {
                // Where the upper edge meets the plane Hx: between these two it is uncovered.
                const double R = s.Hr - ho, dy = s.Hx - (base + s.Hr);
                const double dx = std::sqrt(std::max(0.0, R * R - dy * dy));
                for (double x : {mid - dx, mid + dx}) cross(d, {x, s.Hx}, th * 0.8, Layer::Hx);
                uncoveredStretch(d, mid - dx, mid + dx, s.Hx);
            }
        } else {
            boundaryArc(d, first, base, h, s.Hr, +1);
            boundaryArc(d, last, base, h, s.Hr, -1);
            for (double x : {first + Rx, last - Rx}) cross(d, {x, s.Hx}, th * 0.8, Layer::Hx);
            uncoveredStretch(d, first + std::max(Rx, 0.0), last - std::max(Rx, 0.0), s.Hx);
            const float ho = s.Ho.value_or(static_cast<float>(lowest(h, last - first, s.Hr, "Ho")));
            // Stated over the plane between the ranges, where nothing else is drawn.
            label(d, {mid, std::max<double>(s.Hx, base) + th * 0.8},
                  s.HoName + "=" + num(ho) + "（低于地面）", th, Align::Centre);
        }
    }

    // Dimensions.
    vDim(d, xl - m * 0.5, 0, s.H, "H=" + num(s.H), th);
    if (s.Hx > 0) vDim(d, xl - m * 0.5 - 5 * th, 0, s.Hx, "Hx=" + num(s.Hx), th);
    vDim(d, xr + m * 0.5 + 1.5 * th, base, base + s.Hr, "Hr=" + num(s.Hr), th);
    // Under the plane Hx where there is room above the ground, else over it.
    const double rxAt = s.Hx - base >= 3.2 * th ? s.Hx - th * 1.6 : s.Hx + th * 1.6;
    hDim(d, last, last + s.Rx, rxAt, "Rx=" + num(s.Rx), th);
    // Along the ground, from the last rod's foot to where its boundary touches it.
    if (!s.footing.planeIsGround) hDim(d, last, last + r0, base, "r0=" + num(r0), th);
    label(d, {xl - m, base + s.Hr + th * 2.5}, s.heading, th * kHeadingPerText);
    d.endPart(Part::Kind::Section, 0);
}

}  // namespace tervalen::drawing
