#include "drawing/from_record.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <type_traits>
#include <variant>

#include "drawing/from_units.h"

namespace tervalen::drawing {

bool hasDrawing(std::string_view formName) {
    static constexpr std::array<std::string_view, 16> kForms{
        "frmRx_DLDanZ", "frmRx_JSDanZ", "frmRx_DLShuangZ", "frmRx_JSShuangZ",
        "frmRx_DLSanZ", "frmRx_DLSiZ",  "frmRxBx_DanX",    "frmRxBx_ShuangX",
        "frmH_DLDanZ",  "frmH_JSDanZ",  "frmH_DLShuangZ",  "frmH_JSShuangZ",
        "frmH_DLSanZ",  "frmH_DLSiZ",   "frmH_DanX",       "frmH_ShuangX"};
    return std::find(kForms.begin(), kForms.end(), formName) != kForms.end();
}

namespace {

// The record's input and result when they are of these types.
template <class In, class R>
struct Typed {
    const In* in;
    const R* r;
    explicit operator bool() const { return in && r; }
};
template <class In, class R>
Typed<In, R> typed(const forms::Record& record) {
    return {record.input<In>(), record.result<R>()};
}

// Whether the layout's spacings (between rods, the sides of a figure, a wire's span, the
// distances of two wires) are all above zero: with none, the rods or wires stand on one
// another and no range can be drawn from them.
bool spaced(const Layout& layout) {
    const auto positive = [](std::initializer_list<float> spacings) {
        return std::all_of(spacings.begin(), spacings.end(), [](float s) { return s > 0; });
    };
    return std::visit(
        [&](const auto& l) {
            using L = std::decay_t<decltype(l)>;
            if constexpr (std::is_same_v<L, RodPair> || std::is_same_v<L, SingleWire>)
                return positive({l.D});
            else if constexpr (std::is_same_v<L, RodFigure>)
                return positive({l.L});
            else if constexpr (std::is_same_v<L, WirePair>)
                return positive({l.D1, l.D2});
            else
                return true;
        },
        layout);
}

std::optional<Layout> anyLayoutOf(const forms::Record& record);

}  // namespace

std::optional<Layout> layoutOf(const forms::Record& record) {
    std::optional<Layout> layout = anyLayoutOf(record);
    if (layout && !spaced(*layout)) return std::nullopt;
    // The weak points as the record states them, whatever struct of the unit holds them.
    if (layout) std::visit([&](auto& l) { l.warnings = record.warnings(); }, *layout);
    return layout;
}

namespace {

std::optional<Layout> anyLayoutOf(const forms::Record& record) {
    const std::string& unit = record.unit();
    if (unit == "calcRx_DLDanZ") {
        if (auto t = typed<RodInput, RxDanZ>(record)) return singleRod(*t.in, *t.r);
    } else if (unit == "calcRx_JSDanZ") {
        if (auto t = typed<RodOnBuildingInput, RxDanZ>(record)) return singleRod(*t.in, *t.r);
    } else if (unit == "calcRx_DLShuangZ") {
        if (auto t = typed<RodPairInput, RxShuangZ>(record))
            return rodPair(t.in->Hr, t.in->H, t.in->Hx, t.in->D, *t.r);
    } else if (unit == "calcRx_JSShuangZ") {
        if (auto t = typed<RodPairOnBuildingInput, RxShuangZ>(record))
            return rodPair(t.in->Hr, t.in->H, t.in->Hx, t.in->D, *t.r, true, t.in->yesNo);
    } else if (unit == "calcRx_DLSanZ") {
        if (auto t = typed<RodFigureInput, RxSanZ>(record))
            return rodTriangle(t.in->Hr, t.in->H, t.in->Hx, t.in->L, *t.r);
    } else if (unit == "calcRx_DLSiZ") {
        if (auto t = typed<RodFigureInput, RxSiZ>(record))
            return rodSquare(t.in->Hr, t.in->H, t.in->Hx, t.in->L, *t.r);
    } else if (unit == "calcRxBx_DanX") {
        if (auto t = typed<WireInput, RxBxDanX>(record))
            return singleWire(t.in->Hr, t.in->H, t.in->Hx, t.in->D, *t.r);
    } else if (unit == "calcRxBx_ShuangX") {
        if (auto t = typed<WirePairInput, RxBxShuangX>(record))
            return wirePair(t.in->Hr, t.in->H, t.in->Hx, t.in->D1, t.in->D2, *t.r);
    } else if (unit == "calcH_DLDanZ") {
        if (auto t = typed<RodHeightInput, HDLDanZ>(record))
            return heightLayout(t.in->Hr, t.in->Hx, *t.r);
    } else if (unit == "calcH_JSDanZ") {
        // An answer other than 是 or 否 ends the calculation without a height.
        if (auto t = typed<RodHeightOnBuildingInput, std::optional<HJSDanZ>>(record); t && *t.r)
            return heightLayout(t.in->Hr, t.in->Hx, t.in->G, *t.in->planeIsGround, **t.r);
    } else if (unit == "calcH_DLShuangZ") {
        if (auto t = typed<RodPairHeightInput, HDLShuangZ>(record))
            return heightLayout(t.in->Hr, t.in->Hx, t.in->D, *t.r);
    } else if (unit == "calcH_JSShuangZ") {
        if (auto t = typed<RodPairHeightOnBuildingInput, std::optional<HJSShuangZ>>(record);
            t && *t.r)
            return heightLayout(t.in->Hr, t.in->Hx, t.in->D, t.in->G, *t.in->planeIsGround, **t.r);
    } else if (unit == "calcH_DLSanZ") {
        if (auto t = typed<RodFigureHeightInput, HDLSanZ>(record))
            return heightLayoutTriangle(t.in->Hr, t.in->Hx, t.in->L, *t.r);
    } else if (unit == "calcH_DLSiZ") {
        if (auto t = typed<RodFigureHeightInput, HDLSiZ>(record))
            return heightLayout(t.in->Hr, t.in->Hx, t.in->L, *t.r);
    } else if (unit == "calcH_DanX") {
        if (auto t = typed<WireHeightInput, HDanX>(record))
            return heightLayout(t.in->Hr, t.in->Hx, t.in->D, *t.r);
    } else if (unit == "calcH_ShuangX") {
        if (auto t = typed<WirePairHeightInput, HShuangX>(record))
            return heightLayout(t.in->Hr, t.in->Hx, t.in->D1, t.in->D2, *t.r);
    }
    return std::nullopt;
}

}  // namespace

std::optional<Drawing> drawingOf(const forms::Record& record, std::string_view caption) {
    const auto layout = layoutOf(record);
    if (!layout) return std::nullopt;
    return draw(*layout, caption);
}

}  // namespace tervalen::drawing
