#include "drawing/from_units.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen::drawing {
namespace {

// The radius of rods found by a height form on the plane Hx, which those forms do not
// print: the rods' reach less the plane's (the plane's is none when it is the ground), as
// the range forms print it.
float outerRadius(float Hr, double h, double reachHx) {
    return single(reach(h, Hr, "Rx") - reachHx, "Rx");
}

}  // namespace

SingleRod singleRod(const RodInput& in, const RxDanZ& r) {
    return {in.Hr, in.H, in.Hx, {}, r.Rx};
}

SingleRod singleRod(const RodOnBuildingInput& in, const RxDanZ& r) {
    return {in.Hr, in.H, in.Hx, {in.Hx, in.yesNo}, r.Rx};
}

RodPair rodPair(float Hr, float H, float Hx, float D, const TwoRods& r, bool onBuilding,
                bool planeIsGround) {
    Footing f;
    if (onBuilding) f = {Hx, planeIsGround};
    return {Hr, H, Hx, D, f, r.Rx, r.Ho, r.Bx, r.warnings};
}

RodFigure rodTriangle(float Hr, float H, float Hx, float L, const RxSanZ& r) {
    return {3, Hr, H, Hx, L, r.Rx, r.Ho, r.Bx, std::nullopt, std::nullopt, r.warnings};
}

RodFigure rodSquare(float Hr, float H, float Hx, float L, const RxSiZ& r) {
    return {4, Hr, H, Hx, L, r.side.Rx, r.side.Ho, r.side.Bx, r.Ho2, r.Bx2, r.warnings};
}

SingleWire singleWire(float Hr, float H, float Hx, float D, const RxBxDanX& r) {
    return {Hr, H, Hx, D, static_cast<float>(r.sag), r.Hh, r.Bx1, r.Bx2, r.warnings};
}

WirePair wirePair(float Hr, float H, float Hx, float D1, float D2, const RxBxShuangX& r) {
    // Wires within the sphere radius are all this form works out: no width at Hr.
    return {Hr, H, Hx, D1, D2, static_cast<float>(r.sag), r.Ho, r.Bx1, true, r.warnings};
}

UnequalRodPair unequalRodPair(const UnequalRodsInput& in, const RxBDGShuangZ& r) {
    UnequalRodPair p{in.Hr, in.H1, in.H2, in.Hx, in.D, r.Rx1, r.Rx2, {}, {}, {}, r.single,
                     r.warnings};
    if (r.waist) {
        p.D1 = r.waist->D1;
        p.Ho = r.waist->Ho;
        p.Bx = r.waist->Bx;
    }
    return p;
}

UnequalRodPair unequalRodPair(const UnequalRodHeightInput& in, const HBDGShuangZ& r) {
    return unequalRodPair({in.Hr, in.H1, r.H2, in.D, in.Hx}, r.range);
}

std::optional<Layout> heightLayout(float Hr, float Hx, const HDLDanZ& r) {
    return SingleRod{Hr, r.H, Hx, {}, r.Rx};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float G, bool planeIsGround,
                                   const HJSDanZ& r) {
    Footing f;
    if (G > 0) f.roof = G;
    f.planeIsGround = planeIsGround;
    return SingleRod{Hr, r.tip, Hx, f, r.Rx};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D, const HDLShuangZ& r) {
    const float Rx = outerRadius(Hr, r.H, reach(Hx, Hr, "Rx"));
    return RodPair{Hr, r.H, Hx, D, {}, Rx, r.Ho, r.Bx, r.warnings};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D, float G, bool planeIsGround,
                                   const HJSShuangZ& r) {
    // "是": the plane Hx is the ground, and the search's heights are above it.
    const double base = planeIsGround ? Hx : 0.0;
    const float Rx = outerRadius(Hr, r.tip - base, planeIsGround ? 0.0 : reach(Hx, Hr, "Rx"));
    Footing f;
    if (G > 0) f.roof = G;
    f.planeIsGround = planeIsGround;
    return RodPair{Hr, r.tip, Hx, D, f, Rx, r.search.Ho, r.search.Bx, r.search.warnings};
}

std::optional<Layout> heightLayoutTriangle(float Hr, float Hx, float L, const HDLSanZ& r) {
    const float Rx = outerRadius(Hr, r.H, reach(Hx, Hr, "Rx"));
    return RodFigure{3, Hr, r.H, Hx, L, Rx, r.Ho, r.Bx, std::nullopt, std::nullopt, r.warnings};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float L, const HDLSiZ& r) {
    const float Rx = outerRadius(Hr, r.search.H, reach(Hx, Hr, "Rx"));
    return RodFigure{4, Hr, r.search.H, Hx, L, Rx, r.Ho1, r.Bx1, r.Ho2, r.Bx2, r.warnings};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D, const HDanX& r) {
    // The height form also works spans beyond 150 m, without a sag; it prints the support
    // height as the highest point Hh.
    return SingleWire{Hr, r.H, Hx, D, r.Hc, r.H, r.Bx1, r.Bx2, r.warnings};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D1, float D2, const HShuangX& r) {
    // Wires above the sphere radius have no range worked out: nothing to draw.
    if (!r.withinSphere) return std::nullopt;
    return WirePair{Hr,   r.H,   Hx,    D1,        D2, static_cast<float>(r.Hc.value_or(0)),
                    r.Ho, r.Bx1, false, r.warnings};
}

}  // namespace tervalen::drawing
