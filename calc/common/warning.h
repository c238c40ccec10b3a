#pragma once
// A weak point: a place of the protected surface that the rolling sphere still reaches.
// A unit that finds one says so with its results, where it computes the value that shows
// it (a negative width, a lowest point below Hx, a centre the sphere reaches), and every
// reader states it where the user looks: the working panel, the sheet's 结论, the
// drawing in red, the driver's JSON. A record with a weak point never passes a
// requirement.

#include <string>
#include <string_view>
#include <vector>

#include "calc/common/working.h"

namespace tervalen {

// Where the weak point lies, for a drawing to mark it.
enum class Place {
    BetweenRods,   // midway between two rods (the side of a figure)
    Centre,        // the centre of a triangle or square of rods
    MidSpan,       // below a wire at mid-span
    Supports,      // beside a wire at its supports
    BetweenWires,  // midway between two wires at mid-span
    WireEnds,      // midway between two wires at the supports
    UnderWire,     // directly below a wire above the sphere radius
};

struct Warning {
    Place place;
    std::string where;  // "两针之间"
    std::string text;   // "Hx 高度该处无保护（Bx = -3.812954 m < 0）"
    bool operator==(const Warning&) const = default;
};
using Warnings = std::vector<Warning>;

// What every weak point says of the protected surface.
inline constexpr std::string_view kUncovered = "Hx 高度该处无保护";

// "两针之间：Hx 高度该处无保护（Bx = -3.812954 m < 0）".
inline std::string sentence(const Warning& w) {
    return w.where + "：" + w.text;
}

// A width at Hx below zero: nothing between those terminals is protected at that level.
inline Warning negativeWidth(Place place, std::string where, std::string_view symbol,
                             double value) {
    Warning w{
        place,
        {},
        std::string(kUncovered) + "（" + std::string(symbol) + " = " + shown(value) + " m < 0）"};
    w.where = std::move(where);
    return w;
}

// A lowest protection point below Hx.
inline Warning lowestBelowHx(Place place, std::string where, std::string_view symbol, double value,
                             double Hx, std::string_view more = {}) {
    Warning w{place,
              {},
              std::string(kUncovered) + "（" + std::string(symbol) + " = " + shown(value) +
                  " m < Hx = " + shown(Hx) + " m）" + std::string(more)};
    w.where = std::move(where);
    return w;
}

}  // namespace tervalen
