#include "calc/earthing/dz_electrodes.h"

namespace tervalen {

std::optional<float> equivalentDiameter(std::string_view steelType, float s) {
    if (steelType == "圆钢" || steelType == "钢管") return s;
    if (steelType == "扁钢") return single(s / 2.0, "D");
    if (steelType == "等边角钢") return single(0.84 * s, "D");
    return std::nullopt;
}

namespace {

// D from the steel type, and the step that says how.
float diameter(Recorder& rec, const std::string& type, float s) {
    const float D = equivalentDiameter(type, s).value_or(0.0f);
    if (type == "扁钢")
        rec.step("D", "{b}/2", {{"b", s}}, D, "m");
    else if (type == "等边角钢")
        rec.step("D", "0.84×{b}", {{"b", s}}, D, "m");
    else if (type == "圆钢" || type == "钢管")
        rec.value("D", D, "m", type + "：D = d");
    else
        rec.value("D", D, "m", "钢材类型不是圆钢、钢管、扁钢或等边角钢：D = 0");
    return D;
}

const char* const kLayouts[] = {"直线形",   "L 形",     "三叉星形", "十字形",
                                "六叉星形", "八叉星形", "正方形"};

}  // namespace

Outcome<DzChuiZhi> calcDZ_ChuiZhi(const VerticalElectrodesInput& in) {
    const float rho = in.rho, L1 = in.L1, N = in.N;
    Recorder rec;
    const float D = diameter(rec, in.steelType, in.s);
    const double spread = quotient(rho, L1 * kTwoPi, "R");
    const double logTerm = ln(quotient(4.0 * L1, D, "R"), "R");
    const float R = single(spread * logTerm, "R");
    rec.step("R", "{ρ}/({L1}×{2π})×ln(4×{L1}/{D})",
             {{"ρ", rho}, {"L1", L1}, {"2π", kTwoPi}, {"D", D}}, R, "Ω");
    // The electrodes screen each other, so the group is worse than N in parallel.
    const float Rn = single(quotient(R, N, "Rn") / kUtilisation, "Rn");
    rec.step("Rn", "{R}/{N}/{η}", {{"R", R}, {"N", N}, {"η", kUtilisation}}, Rn, "Ω");
    return DzChuiZhi{R, Rn, spread, logTerm, D, rec.take()};
}

Outcome<DzShuiPing> calcDZ_ShuiPing(const HorizontalElectrodeInput& in) {
    const float rho = in.rho, L1 = in.L1, H = in.H;
    Recorder rec;
    const bool chosen = in.layout >= 0 && in.layout < static_cast<int>(kShapeCoefficients.size());
    const float A = chosen ? kShapeCoefficients[in.layout] : 0.0f;
    rec.value("A", A, "",
              chosen ? std::string("形状：") + kLayouts[in.layout] : "未选形状：按直线形");
    const float D = diameter(rec, in.steelType, in.s);
    const double spread = quotient(rho, L1 * kTwoPi, "R");
    const double L1sq = static_cast<double>(L1) * L1;
    const double logTerm = ln(quotient(L1sq, static_cast<double>(D) * H, "R"), "R");
    const float R = single(spread * (A + logTerm), "R");
    rec.step("R", "{ρ}/({L1}×{2π})×({A}+ln({L1}²/({D}×{H})))",
             {{"ρ", rho}, {"L1", L1}, {"2π", kTwoPi}, {"A", A}, {"D", D}, {"H", H}}, R, "Ω");
    return DzShuiPing{R, spread, logTerm, A, D, rec.take()};
}

}  // namespace tervalen
