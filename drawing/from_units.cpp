#include "drawing/from_units.h"

namespace tervalen::drawing {
namespace {

template <class R>
const R* accepted(const Outcome<R>& o) {
    return std::get_if<R>(&o);
}
// A temporary outcome would be gone before its result is read.
template <class R>
const R* accepted(const Outcome<R>&& o) = delete;

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
    return {Hr, H, Hx, D, f, r.Rx, r.Ho, r.Bx};
}

RodFigure rodTriangle(float Hr, float H, float Hx, float L, const RxSanZ& r) {
    return {3, Hr, H, Hx, L, r.Rx, r.Ho, r.Bx, std::nullopt, std::nullopt};
}

RodFigure rodSquare(float Hr, float H, float Hx, float L, const RxSiZ& r) {
    return {4, Hr, H, Hx, L, r.side.Rx, r.side.Ho, r.side.Bx, r.Ho2, r.Bx2};
}

SingleWire singleWire(float Hr, float H, float Hx, float D, const RxBxDanX& r) {
    return {Hr, H, Hx, D, static_cast<float>(r.sag), r.Hh, r.Bx1, r.Bx2};
}

WirePair wirePair(float Hr, float H, float Hx, float D1, float D2, const RxBxShuangX& r) {
    // Wires within the sphere radius are all this form works out: no width at Hr.
    return {Hr, H, Hx, D1, D2, static_cast<float>(r.sag), r.Ho, r.Bx1, true};
}

std::optional<Layout> heightLayout(float Hr, float Hx, const HDLDanZ& r) {
    const RodInput in{Hr, r.H, Hx};
    const auto outcome = calcRx_DLDanZ(in);
    if (const auto* range = accepted(outcome)) return singleRod(in, *range);
    return std::nullopt;
}

std::optional<Layout> heightLayout(float Hr, float Hx, float G, bool planeIsGround,
                                   const HJSDanZ& r) {
    const Outcome<RxDanZ> o =
        planeIsGround ? calcRx_JSDanZ({true, Hr, r.tip, Hx}) : calcRx_DLDanZ({Hr, r.tip, Hx});
    const auto* range = accepted(o);
    if (!range) return std::nullopt;
    Footing f;
    if (G > 0) f.roof = G;
    f.planeIsGround = planeIsGround;
    return SingleRod{Hr, r.tip, Hx, f, range->Rx};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D, const HDLShuangZ& r) {
    const auto outcome = calcRx_DLShuangZ(RodPairInput{Hr, r.H, Hx, D});
    if (const auto* range = accepted(outcome)) return rodPair(Hr, r.H, Hx, D, *range);
    return std::nullopt;
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D, float G, bool planeIsGround,
                                   const HJSShuangZ& r) {
    const auto outcome = calcRx_JSShuangZ(RodPairOnBuildingInput{planeIsGround, Hr, r.tip, Hx, D});
    const auto* range = accepted(outcome);
    if (!range) return std::nullopt;
    RodPair p = rodPair(Hr, r.tip, Hx, D, *range);
    if (G > 0) p.footing.roof = G;
    p.footing.planeIsGround = planeIsGround;
    return p;
}

std::optional<Layout> heightLayoutTriangle(float Hr, float Hx, float L, const HDLSanZ& r) {
    const auto outcome = calcRx_DLSanZ(RodFigureInput{Hr, r.H, Hx, L});
    if (const auto* range = accepted(outcome)) return rodTriangle(Hr, r.H, Hx, L, *range);
    return std::nullopt;
}

std::optional<Layout> heightLayout(float Hr, float Hx, float L, const HDLSiZ& r) {
    const auto outcome = calcRx_DLSiZ(RodFigureInput{Hr, r.search.H, Hx, L});
    if (const auto* range = accepted(outcome)) return rodSquare(Hr, r.search.H, Hx, L, *range);
    return std::nullopt;
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D, const HDanX& r) {
    // The height form also works spans beyond 150 m, without a sag.
    const float Hh = r.H <= Hr ? r.H : single(2.0 * Hr - r.H, "Hh");
    return SingleWire{Hr, r.H, Hx, D, r.Hc, Hh, r.Bx1, r.Bx2};
}

std::optional<Layout> heightLayout(float Hr, float Hx, float D1, float D2, const HShuangX& r) {
    // Wires above the sphere radius have no range worked out: nothing to draw.
    if (!r.withinSphere) return std::nullopt;
    return WirePair{Hr, r.H, Hx, D1, D2, static_cast<float>(r.Hc.value_or(0)), r.Ho, r.Bx1, false};
}

}  // namespace tervalen::drawing
