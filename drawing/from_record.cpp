#include "drawing/from_record.h"

#include <algorithm>
#include <initializer_list>
#include <type_traits>
#include <variant>

#include "drawing/from_units.h"
#include "forms/catalog.h"

namespace tervalen::drawing {

bool hasDrawing(std::string_view formName) {
    const forms::FormDef* def = forms::findForm(formName);
    return def && def->drawn;
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
            if constexpr (std::is_same_v<L, RodPair> || std::is_same_v<L, SingleWire> ||
                          std::is_same_v<L, UnequalRodPair>)
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

// The layout of whichever unit made the record, told by the types of its input and
// result (each pair belongs to one unit).
std::optional<Layout> anyLayoutOf(const forms::Record& record) {
    if (auto t = typed<RodInput, RxDanZ>(record)) return singleRod(*t.in, *t.r);
    if (auto t = typed<UnequalRodsInput, RxBDGShuangZ>(record)) return unequalRodPair(*t.in, *t.r);
    if (auto t = typed<UnequalRodHeightInput, HBDGShuangZ>(record))
        return unequalRodPair(*t.in, *t.r);
    if (auto t = typed<RodOnBuildingInput, RxDanZ>(record)) return singleRod(*t.in, *t.r);
    if (auto t = typed<RodPairInput, RxShuangZ>(record))
        return rodPair(t.in->Hr, t.in->H, t.in->Hx, t.in->D, *t.r);
    if (auto t = typed<RodPairOnBuildingInput, RxShuangZ>(record))
        return rodPair(t.in->Hr, t.in->H, t.in->Hx, t.in->D, *t.r, true, t.in->yesNo);
    if (auto t = typed<RodFigureInput, RxSanZ>(record))
        return rodTriangle(t.in->Hr, t.in->H, t.in->Hx, t.in->L, *t.r);
    if (auto t = typed<RodFigureInput, RxSiZ>(record))
        return rodSquare(t.in->Hr, t.in->H, t.in->Hx, t.in->L, *t.r);
    if (auto t = typed<WireInput, RxBxDanX>(record))
        return singleWire(t.in->Hr, t.in->H, t.in->Hx, t.in->D, *t.r);
    if (auto t = typed<WirePairInput, RxBxShuangX>(record))
        return wirePair(t.in->Hr, t.in->H, t.in->Hx, t.in->D1, t.in->D2, *t.r);
    if (auto t = typed<RodHeightInput, HDLDanZ>(record))
        return heightLayout(t.in->Hr, t.in->Hx, *t.r);
    // An answer other than 是 or 否 ends the calculation without a height.
    if (auto t = typed<RodHeightOnBuildingInput, std::optional<HJSDanZ>>(record); t && *t.r)
        return heightLayout(t.in->Hr, t.in->Hx, t.in->G, *t.in->planeIsGround, **t.r);
    if (auto t = typed<RodPairHeightInput, HDLShuangZ>(record))
        return heightLayout(t.in->Hr, t.in->Hx, t.in->D, *t.r);
    if (auto t = typed<RodPairHeightOnBuildingInput, std::optional<HJSShuangZ>>(record); t && *t.r)
        return heightLayout(t.in->Hr, t.in->Hx, t.in->D, t.in->G, *t.in->planeIsGround, **t.r);
    if (auto t = typed<RodFigureHeightInput, HDLSanZ>(record))
        return heightLayoutTriangle(t.in->Hr, t.in->Hx, t.in->L, *t.r);
    if (auto t = typed<RodFigureHeightInput, HDLSiZ>(record))
        return heightLayout(t.in->Hr, t.in->Hx, t.in->L, *t.r);
    if (auto t = typed<WireHeightInput, HDanX>(record))
        return heightLayout(t.in->Hr, t.in->Hx, t.in->D, *t.r);
    if (auto t = typed<WirePairHeightInput, HShuangX>(record))
        return heightLayout(t.in->Hr, t.in->Hx, t.in->D1, t.in->D2, *t.r);
    return std::nullopt;
}

}  // namespace

std::optional<Drawing> drawingOf(const forms::Record& record, std::string_view caption) {
    const auto layout = layoutOf(record);
    if (!layout) return std::nullopt;
    return draw(*layout, caption);
}

}  // namespace tervalen::drawing
