#include "calc/range/rod_pair.h"

#include "calc/common/rolling_sphere.h"
#include "calc/range/rx_danz.h"

namespace tervalen {

float lowestPoint(float Hr, double h, float D, std::string_view quantity) {
    return single(lowest(h, D, Hr, quantity), quantity);
}

std::string lowestOf(std::string_view h, std::string_view D) {
    return "{Hr}−√(({Hr}−" + std::string(h) + ")²+(" + std::string(D) + "/2)²)";
}

float widthAt(float Hr, float Ho, double reachHx, std::string_view quantity) {
    return single(reach(Ho, Hr, quantity) - reachHx, quantity);
}

Outcome<TwoRods> twoRods(bool roofIsGround, const RodPairInput& in, const char* tooFar,
                         TwoRodsNames names) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    const auto D = in.D;
    // The radius at the outer ends is that of one rod, behind the same two checks.
    const Outcome<RxDanZ> outer = rodRadius(roofIsGround, {Hr, H, Hx});
    if (const auto* refusal = std::get_if<Refusal>(&outer)) return *refusal;
    const RxDanZ& rod = std::get<RxDanZ>(outer);

    const double h = roofIsGround ? static_cast<double>(H) - Hx : H;
    // The doubled reach is rounded before it is compared: a spacing equal to it is refused.
    const float limit = single(2.0 * rod.reachH, "间距上限");
    if (!(limit > D)) return Refusal{tooFar};
    const float Ho = lowestPoint(Hr, h, D, "Ho");
    const float Bx = widthAt(Hr, Ho, rod.reachHx, "Bx");

    Recorder rec;
    rec.append(rod.working);
    const std::string s(names.spacing), ho = "Ho" + std::string(names.suffix),
                                        bx = "Bx" + std::string(names.suffix);
    // The rod's height above the plane taken as ground is h on a building, H otherwise.
    const char* hName = roofIsGround ? "h" : "H";
    rec.step(s + "max", "2×" + reachOf(roofIsGround ? "{h}" : "{H}"), {{hName, h}, {"Hr", Hr}},
             limit, "m");
    rec.check(s, D, "<", s + "max", limit);
    const std::string spacing = "{" + s + "}";
    rec.step(ho, lowestOf(roofIsGround ? "{h}" : "{H}", spacing), {{"Hr", Hr}, {hName, h}, {s, D}},
             Ho, "m");
    const std::string width = reachOf("{" + ho + "}");
    if (roofIsGround)
        rec.step(bx, width, {{ho, Ho}, {"Hr", Hr}}, Bx, "m");
    else
        rec.step(bx, width + "−" + reachOf("{Hx}"), {{ho, Ho}, {"Hr", Hr}, {"Hx", Hx}}, Bx, "m");
    Warnings warnings;
    if (Bx < 0)
        warnings.push_back(negativeWidth(Place::BetweenRods, std::string(names.where), bx, Bx));
    return TwoRods{
        rod.Rx, Ho, Bx, h, rod.reachH, rod.reachHx, limit, rec.take(), std::move(warnings), {}};
}

}  // namespace tervalen
