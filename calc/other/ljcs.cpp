#include "calc/other/ljcs.h"

#include <cmath>
#include <stdexcept>

namespace tervalen {
namespace {

// The value of π the collection area has always been computed with.
constexpr double kPi = 3.1415926;

struct Area {
    double km2;
    double reachOut;
    bool fromHeight;
};

// Equivalent collection area in km² (the lengths are in metres). Below 100 m the
// building collects out to sqrt(H(200 - H)) around it; from 100 m on, out to H.
Area collectionArea(double L, double W, double H) {
    const double perMetre2 = std::pow(10.0, -6);
    if (H < 100) {
        const double reachOut = root(H * (200.0 - H), "Ae");
        return {(L * W + 2.0 * (L + W) * reachOut + kPi * H * (200.0 - H)) * perMetre2, reachOut,
                false};
    }
    return {(L * W + 2.0 * H * (L + W) + kPi * (H * H)) * perMetre2, H, true};
}

}  // namespace

Outcome<LJCS> calcLJCS(const LjcsInput& in) {
    const auto K = in.K;
    const auto Td = in.Td;
    const auto L = in.L;
    const auto W = in.W;
    const auto H = in.H;
    Recorder rec;
    const Area area = collectionArea(L, W, H);
    const float Ae = single(area.km2, "Ae");
    if (area.fromHeight) {
        rec.check("H", H, "≥", "100", 100);
        rec.step("Ae", "({L}×{W}+2×{H}×({L}+{W})+{π}×{H}²)×10^(−6)",
                 {{"L", L}, {"W", W}, {"H", H}, {"π", kPi}}, Ae, "km²");
    } else {
        rec.check("H", H, "<", "100", 100);
        rec.step("Ae", "({L}×{W}+2×({L}+{W})×√({H}×(200−{H}))+{π}×{H}×(200−{H}))×10^(−6)",
                 {{"L", L}, {"W", W}, {"H", H}, {"π", kPi}}, Ae, "km²");
    }
    float Ng = 0;
    if (in.edition == CodeEdition::GB50057_2010) {
        Ng = single(0.1 * static_cast<double>(Td), "Ng");
        rec.step("Ng", "0.1×{Td}", {{"Td", Td}}, Ng, "次/(km²·a)");
    } else {
        // A negative Td has no real power 1.3: the non-finite value cannot be stored.
        Ng = single(0.024 * std::pow(static_cast<double>(Td), 1.3), "Ng");
        rec.step("Ng", "0.024×{Td}^1.3", {{"Td", Td}}, Ng, "次/(km²·a)");
    }
    const float N = single(static_cast<double>(K) * Ng * Ae, "N");
    rec.step("N", "{K}×{Ng}×{Ae}", {{"K", K}, {"Ng", Ng}, {"Ae", Ae}}, N, "次/a");
    return LJCS{N, Ae, Ng, area.reachOut, area.fromHeight, rec.take()};
}

std::string_view editionName(CodeEdition edition) {
    return edition == CodeEdition::GB50057_2010 ? "GB 50057-2010" : "GB 50057-94（2000年版）";
}

std::string cited(CodeEdition edition, std::string_view part) {
    // The older name ends in a full-width parenthesis, which needs no space after it.
    return std::string(editionName(edition)) + (edition == CodeEdition::GB50057_2010 ? " " : "") +
           std::string(part);
}

std::string_view strikesAppendix(CodeEdition edition) {
    return edition == CodeEdition::GB50057_2010 ? "附录A" : "附录一";
}

namespace {

// The thresholds of one use in one edition.
struct Thresholds {
    CodeEdition edition;
    BuildingUse use;
    double lower;
    std::string_view lowerText;
    std::optional<double> upper;
    std::string_view upperText;
    std::string_view secondClause, thirdClause;
};

// clang-format off
constexpr Thresholds kThresholds[] = {
    {CodeEdition::GB50057_2010, BuildingUse::Civil, 0.05, "0.05", 0.25, "0.25",
     "第3.0.3条第10款", "第3.0.4条第3款"},
    {CodeEdition::GB50057_2010, BuildingUse::Industrial, 0.05, "0.05", 0.25, "0.25",
     "第3.0.3条第10款", "第3.0.4条第3款"},
    {CodeEdition::GB50057_2010, BuildingUse::Important, 0.01, "0.01", 0.05, "0.05",
     "第3.0.3条第9款", "第3.0.4条第2款"},
    {CodeEdition::GB50057_94, BuildingUse::Civil, 0.06, "0.06", 0.3, "0.3",
     "第2.0.3条", "第2.0.4条"},
    // This edition sets no second category by N for an ordinary industrial building.
    {CodeEdition::GB50057_94, BuildingUse::Industrial, 0.06, "0.06", std::nullopt, "",
     "", "第2.0.4条"},
    {CodeEdition::GB50057_94, BuildingUse::Important, 0.012, "0.012", 0.06, "0.06",
     "第2.0.3条", "第2.0.4条"},
};
// clang-format on

const Thresholds& thresholds(CodeEdition edition, BuildingUse use) {
    for (const Thresholds& t : kThresholds)
        if (t.edition == edition && t.use == use) return t;
    throw std::logic_error("no category thresholds for this edition and use");
}

}  // namespace

std::string categoryClauses(CodeEdition edition, BuildingUse use) {
    const Thresholds& t = thresholds(edition, use);
    return t.secondClause.empty() ? std::string(t.thirdClause)
                                  : std::string(t.secondClause) + "、" + std::string(t.thirdClause);
}

CategoryByN categoryByN(CodeEdition edition, BuildingUse use, double N) {
    const Thresholds& t = thresholds(edition, use);
    CategoryByN c;
    c.lower = t.lowerText;
    if (t.upper) c.upper = t.upperText;
    if (t.upper && N > *t.upper) {
        c.category = 2;
        c.clause = t.secondClause;
    } else {
        c.category = N >= t.lower ? 3 : 0;
        c.clause = t.thirdClause;
    }
    return c;
}

}  // namespace tervalen
