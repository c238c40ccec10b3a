#include "drawing/layouts.h"

#include "drawing/construct.h"
#include "drawing/labels.h"

namespace tervalen::drawing {

Drawing draw(const Layout& layout, std::string_view title) {
    Drawing d = std::visit(
        [](const auto& l) {
            using L = std::decay_t<decltype(l)>;
            if constexpr (std::is_same_v<L, SingleRod>) return drawSingleRod(l);
            if constexpr (std::is_same_v<L, RodPair>) return drawRodPair(l);
            if constexpr (std::is_same_v<L, RodFigure>) return drawRodFigure(l);
            if constexpr (std::is_same_v<L, SingleWire>) return drawSingleWire(l);
            if constexpr (std::is_same_v<L, WirePair>) return drawWirePair(l);
            if constexpr (std::is_same_v<L, UnequalRodPair>) return drawUnequalRodPair(l);
        },
        layout);
    d.title = title;
    placeLabels(d);
    frame(d, d.title);
    return d;
}

}  // namespace tervalen::drawing
