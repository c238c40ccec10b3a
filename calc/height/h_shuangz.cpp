#include "calc/height/h_shuangz.h"

#include "calc/height/h_danz.h"
#include "calc/height/height_checks.h"
#include "calc/range/rx_danz.h"

namespace tervalen {

const char* const kNoTwoRodHeight = "避雷针之间距离太大\n不能按独立等高双针方法计算出针高";

namespace {

Outcome<RodPairHeight> rodPair(float Hr, float Bxo, float Hx, float D, bool planeIsGround) {
    auto found =
        searchRodPair({.Hr = Hr, .Bxo = Bxo, .Hx = Hx, .s = D, .planeIsGround = planeIsGround});
    auto* r = std::get_if<RodPairHeight>(&found);
    if (!r) return found;
    if (!spacingCovered(r->H, Hr, D)) return Refusal{kNoTwoRodHeight};
    noteSpacingCovered(r->H, Hr, D, "D", r->working);
    return found;
}

// The checks, then the steps of the search.
Outcome<RodPairHeight> withChecks(Outcome<RodPairHeight> found, float Hr, float Bxo, float Hx) {
    if (auto* r = std::get_if<RodPairHeight>(&found)) {
        Recorder rec;
        noteSphereChecks(rec, Hr, Hx, "Bxo", Bxo);
        rec.append(r->working);
        r->working = rec.take();
    }
    return found;
}

// The pair the search found, for the check with the exact sphere: the midpoint, and the
// width the search met beside it.
SphereRods pairFigure(float Hr, double tip, float Hx, bool onRoof, float D,
                      const RodPairHeight& r) {
    return {.rods = 2,
            .Hr = Hr,
            .tip = tip,
            .Hx = Hx,
            .onRoof = onRoof,
            .spacing = D,
            .Ho = r.Ho,
            .Bx = r.Bx,
            .widthRequired = true};
}

}  // namespace

Outcome<HDLShuangZ> calcH_DLShuangZ(const RodPairHeightInput& in) {
    const auto Hr = in.Hr;
    const auto Bxo = in.Bxo;
    const auto Hx = in.Hx;
    const auto D = in.D;
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    auto found = withChecks(rodPair(Hr, Bxo, Hx, D, false), Hr, Bxo, Hx);
    if (auto* r = std::get_if<RodPairHeight>(&found)) {
        Recorder rec;
        rec.append(r->working);
        r->sphere = checkRodsWithSphere(pairFigure(Hr, r->H, Hx, false, D, *r), rec, r->warnings);
        r->working = rec.take();
    }
    return found;
}

Outcome<std::optional<HJSShuangZ>> calcH_JSShuangZ(const RodPairHeightOnBuildingInput& in) {
    const auto planeIsGround = in.planeIsGround;
    const auto Hr = in.Hr;
    const auto Bxo = in.Bxo;
    const auto Hx = in.Hx;
    const auto D = in.D;
    const auto G = in.G;
    if (auto refusal = checkAgainstSphere(Hr, Hx, "Bxo", Bxo)) return *refusal;
    if (!planeIsGround) return std::optional<HJSShuangZ>{};
    auto found = withChecks(rodPair(Hr, Bxo, Hx, D, *planeIsGround), Hr, Bxo, Hx);
    if (const auto* refusal = std::get_if<Refusal>(&found)) return *refusal;
    if (G == 0) return Refusal{kUseStandaloneForm};
    HJSShuangZ r{std::get<RodPairHeight>(found), 0, 0, {}, {}, {}};
    r.warnings = r.search.warnings;
    Recorder rec;
    rec.append(r.search.working);
    rec.check("G", G, "≠", "0", 0);
    // For "是" the height found is above the plane Hx; Ho stays measured from the plane.
    if (*planeIsGround) {
        r.tip = single(static_cast<double>(Hx) + r.search.H, "H(针尖)");
        rec.step("Hj", "{Hx}+{H}", {{"Hx", Hx}, {"H", r.search.H}}, r.tip, "m");
    } else {
        r.tip = r.search.H;
        rec.value("Hj", r.tip, "m", "针尖高度 Hj = H");
    }
    r.body = single(static_cast<double>(r.tip) - G, "H(针体)");
    if (r.body < 0) return Refusal{negativeRodBody(r.tip, G)};
    rec.step("Ht", "{Hj}−{G}", {{"Hj", r.tip}, {"G", G}}, r.body, "m");
    SphereRods figure = pairFigure(Hr, r.tip, Hx, *planeIsGround, D, r.search);
    if (!*planeIsGround) figure.model = kRodOnGroundModel;
    r.sphere = checkRodsWithSphere(figure, rec, r.warnings);
    r.working = rec.take();
    return std::optional<HJSShuangZ>{r};
}

}  // namespace tervalen
