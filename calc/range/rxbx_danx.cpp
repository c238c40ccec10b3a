#include "calc/range/rxbx_danx.h"

#include "calc/common/rolling_sphere.h"

namespace tervalen {

const char* const kWireTooHigh =
    "避雷线太高，无保护范围！\n避雷线高度 H 不应大于或等于2倍滚球半径 Hr ！";
const char* const kWireSurfaceTooHigh = "被保护面过高！\n被保护面高度 Hx 不应大于避雷线高度 H ！";

std::string spanTooLong(std::string_view symbol) {
    return twoLines("支柱间距过大！", "避雷线支柱间距 " + std::string(symbol) + " 不应大于150m！");
}

void recordSag(Recorder& rec, std::string_view span, float D, int sag) {
    const std::string s(span);
    rec.value("Hc", sag, "m",
              s + " = " + shown(D) + (sag == 2 ? " < 120 m" : " 在 120 m 与 150 m 之间") +
                  "：弧垂 Hc = " + std::to_string(sag) + " m");
}

void wireWidthWarnings(float Bx1, float Bx2, Warnings& warnings) {
    if (Bx1 < 0) warnings.push_back(negativeWidth(Place::MidSpan, "档距中央", "Bx1", Bx1));
    if (Bx2 < 0) warnings.push_back(negativeWidth(Place::Supports, "支柱处", "Bx2", Bx2));
}

Outcome<RxBxDanX> calcRxBx_DanX(const WireInput& in) {
    const auto Hr = in.Hr;
    const auto H = in.H;
    const auto Hx = in.Hx;
    const auto D = in.D;
    // A wire at 2·Hr has no reach left, so that height is refused with the higher ones.
    const float twoHr = single(2.0 * Hr, "2Hr");
    if (!(twoHr > H)) return Refusal{kWireTooHigh};
    if (Hx > H) return Refusal{kWireSurfaceTooHigh};
    const auto sag = sagFor(D);
    if (!sag) return Refusal{spanTooLong("D")};

    Recorder rec;
    rec.check("H", H, "<", "2Hr", twoHr);
    rec.check("Hx", Hx, "≤", "H", H);
    recordSag(rec, "D", D, *sag);
    RxBxDanX r{};
    r.sag = *sag;
    // For a wire above the sphere radius the highest protected point is 2·Hr − H.
    if (H <= Hr) {
        r.Hh = H;
        rec.value("Hh", r.Hh, "m", "H = " + shown(H) + " ≤ Hr = " + shown(Hr) + "：Hh = H");
    } else {
        r.Hh = single(2.0 * Hr - H, "Hh");
        rec.step("Hh", "2×{Hr}−{H}", {{"Hr", Hr}, {"H", H}}, r.Hh, "m");
    }
    r.reachHx = reach(Hx, Hr, "Bx1");
    // Supports lower than the sag put the wire's lowest point below the ground: a failed root.
    r.reachLow = reach(static_cast<double>(H) - r.sag, Hr, "Bx1");
    r.Bx1 = single(r.reachLow - r.reachHx, "Bx1");
    rec.step("Bx1", reachOf("({H}−{Hc})") + "−" + reachOf("{Hx}"),
             {{"H", H}, {"Hc", r.sag}, {"Hr", Hr}, {"Hx", Hx}}, r.Bx1, "m");
    r.reachH = reach(H, Hr, "Bx2");
    r.Bx2 = single(r.reachH - r.reachHx, "Bx2");
    rec.step("Bx2", reachOf("{H}") + "−" + reachOf("{Hx}"), {{"H", H}, {"Hr", Hr}, {"Hx", Hx}},
             r.Bx2, "m");
    wireWidthWarnings(r.Bx1, r.Bx2, r.warnings);
    r.sphere = checkWiresWithSphere({.wires = 1,
                                     .Hr = Hr,
                                     .H = H,
                                     .Hx = Hx,
                                     .span = D,
                                     .sag = static_cast<double>(r.sag),
                                     .Bx1 = r.Bx1,
                                     .Bx2 = r.Bx2},
                                    rec, r.warnings);
    r.working = rec.take();
    return r;
}

}  // namespace tervalen
