#include "calc/height/height_checks.h"

namespace tervalen {

std::string exceedsSphereRadius(std::string_view symbol) {
    const std::string s(symbol);
    return twoLines("输入的 " + s + " 数值过大！", s + " 的数值不应大于滚球半径 Hr ！");
}

std::optional<Refusal> checkAgainstSphere(float Hr, float Hx, std::string_view requiredSymbol,
                                          float required) {
    if (Hx > Hr) return Refusal{exceedsSphereRadius("Hx")};
    if (required > Hr) return Refusal{exceedsSphereRadius(requiredSymbol)};
    return std::nullopt;
}

void noteSphereChecks(Recorder& rec, float Hr, float Hx, std::string_view requiredSymbol,
                      float required) {
    rec.check("Hx", Hx, "≤", "Hr", Hr);
    rec.check(requiredSymbol, required, "≤", "Hr", Hr);
}

Refusal searchExhausted(std::string_view what) {
    return Refusal{"被保护面高度 Hx 过高 或 所需的" + std::string(what) + " 过大"};
}

}  // namespace tervalen
