#include "drawing/layouts.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "drawing/construct.h"
#include "drawing/labels.h"
#include "forms/utf8.h"

namespace tervalen::drawing {

Drawing drawWithText(const Layout& layout, std::string_view title, double th) {
    Drawing d = std::visit(
        [th](const auto& l) {
            using L = std::decay_t<decltype(l)>;
            if constexpr (std::is_same_v<L, SingleRod>) return drawSingleRod(l, th);
            if constexpr (std::is_same_v<L, RodPair>) return drawRodPair(l, th);
            if constexpr (std::is_same_v<L, RodFigure>) return drawRodFigure(l, th);
            if constexpr (std::is_same_v<L, SingleWire>) return drawSingleWire(l, th);
            if constexpr (std::is_same_v<L, WirePair>) return drawWirePair(l, th);
            if constexpr (std::is_same_v<L, UnequalRodPair>) return drawUnequalRodPair(l, th);
        },
        layout);
    d.title = title;
    // Labels of letters and digits only may be as small as digits are allowed to be.
    for (Item& item : d.items)
        if (auto* t = std::get_if<Text>(&item.shape); t && t->height == th) {
            const auto chars = forms::decodeUtf8(t->text);
            if (std::none_of(chars.begin(), chars.end(), wideCharacter))
                t->height = th * kDigitsMm / kTextMm;
        }
    placeLabels(d);
    frame(d, d.title);
    return d;
}

namespace {

// Millimetres the drawing with its margin takes on paper at 1:N.
std::pair<double, double> onPaper(const Drawing& d, int N) {
    const auto b = d.bounds();
    if (!b) return {0, 0};
    return {(b->width() + 2 * d.margin()) * 1000 / N, (b->height() + 2 * d.margin()) * 1000 / N};
}

}  // namespace

Drawing draw(const Layout& layout, std::string_view title, double widthMm, double heightMm) {
    std::vector<int> series;
    for (double k = 10; k < 1e7; k *= 10)
        for (double m : kScaleSteps) series.push_back(static_cast<int>(std::lround(m * k)));
    // Text at `size` times the drafting sizes; the drawing fits when it does on paper.
    auto at = [&](std::size_t i, double size) {
        Drawing d = drawWithText(layout, title, size * kTextMm * series[i] / 1000);
        d.scale = series[i];
        return d;
    };
    auto fits = [&](const Drawing& d) {
        const auto [w, h] = onPaper(d, d.scale);
        return d.bounds() && w <= widthMm && h <= heightMm;
    };
    // A first guess from the drawing at 1:100: the construction takes about its share of
    // the paper there. The labels rearrange from one scale to the next, so the scales
    // around it are tried in turn, the largest first.
    const std::size_t at100 = std::find(series.begin(), series.end(), 100) - series.begin();
    const auto [w, h] = onPaper(at(at100, 1), 100);
    const double need = 100 * std::max(w / widthMm, h / heightMm);
    const std::size_t guess =
        std::upper_bound(series.begin(), series.end(), static_cast<int>(need)) - series.begin();
    const std::size_t first = guess > 2 ? guess - 2 : 0;
    const std::size_t last = std::min(series.size(), guess + 10);
    // Where the room is too small for the drafting sizes at any scale (the sheet's page
    // width for a wide, densely labelled drawing), the text is made smaller step by step.
    for (double size : {1.0, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4})
        for (std::size_t i = first; i < last; ++i)
            if (Drawing d = at(i, size); fits(d)) return d;
    Drawing d = at(std::min(guess, series.size() - 1), 1);
    d.scale = 0;
    return d;
}

}  // namespace tervalen::drawing
