// A calculator's printed values weighed against the exact sphere: a value that agrees, one
// the sphere shows to be on the safe side, and one it shows to be too high, which is a
// weak point; and an arrangement the engine cannot take, which is said and judged by
// nothing.

#include "calc/sphere/form_check.h"

#include <gtest/gtest.h>

#include <string>

namespace tervalen {
namespace {

// Two rods Hr 30, H 20, D 30, Hx 5: Ho = 11.97224 m, Bx = 7.396033 m, Rx = 11.70115 m.
SphereRods pair(double Ho, double Bx) {
    return {
        .rods = 2, .Hr = 30, .tip = 20, .Hx = 5, .spacing = 30, .Ho = Ho, .Bx = Bx, .Rx = 11.70115};
}

struct Weighed {
    const char* name;
    SphereRods figure;
    const char* symbol;   // the probe looked at
    Agreement agreement;  // what the sphere says of its value
    const char* warning;  // a part of the weak point's text, or nullptr for none
};

class PrintedValues : public ::testing::TestWithParam<Weighed> {};

TEST_P(PrintedValues, AreWeighedAgainstTheSphere) {
    const Weighed& c = GetParam();
    Recorder rec;
    Warnings warnings;
    const SphereCheck check = checkRodsWithSphere(c.figure, rec, warnings);
    ASSERT_TRUE(check.done) << check.why;
    const SphereProbe* probe = nullptr;
    for (const SphereProbe& p : check.probes)
        if (p.point.symbol == c.symbol) probe = &p;
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->agreement, c.agreement) << "S = " << probe->s;
    if (c.warning) {
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].text.find(c.warning), std::string::npos) << warnings[0].text;
    } else {
        EXPECT_TRUE(warnings.empty()) << warnings.front().text;
    }
    ASSERT_EQ(rec.working().size(), 1u);
    EXPECT_EQ(rec.working()[0].note.rfind(std::string(kSphereCheck), 0), 0u);
    const std::string words = c.agreement == Agreement::FormulaSafer    ? "公式偏于安全"
                              : c.agreement == Agreement::FormulaUnsafe ? "公式偏于不安全"
                                                                        : "与公式相符";
    EXPECT_NE(rec.working()[0].note.find(words), std::string::npos) << rec.working()[0].note;
}

INSTANTIATE_TEST_SUITE_P(
    TwoRods, PrintedValues,
    ::testing::Values(
        Weighed{"HoAsPrinted", pair(11.97224, 7.396033), "Ho", Agreement::Agrees, nullptr},
        Weighed{"HoLow", pair(11.97124, 7.396033), "Ho", Agreement::FormulaSafer, nullptr},
        Weighed{
            "HoHigh", pair(11.97324, 7.396033), "Ho", Agreement::FormulaUnsafe,
            "保护高度不足（滚球几何 S = 11.97224 m 低于公式；公式 Ho = 11.97324 m 偏于不安全）"},
        // Above Hx = 12 m the pair has no width: the midpoint alone.
        Weighed{"HoHighAboveHx",
                {.rods = 2, .Hr = 30, .tip = 20, .Hx = 12, .spacing = 30, .Ho = 12.5},
                "Ho",
                Agreement::FormulaUnsafe,
                "Hx 高度该处无保护（滚球几何 S = 11.97224 m < Hx = 12 m"},
        Weighed{"BxAsPrinted", pair(11.97224, 7.396033), "Bx", Agreement::Agrees, nullptr},
        Weighed{"BxNarrow", pair(11.97224, 7.386033), "Bx", Agreement::FormulaSafer, nullptr},
        Weighed{"BxWide", pair(11.97224, 7.406033), "Bx", Agreement::FormulaUnsafe,
                "Hx 高度该处无保护（滚球几何 S = "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SphereCheck, AnArrangementTheEngineCannotTakeIsSaidAndJudgesNothing) {
    for (const double Hr : {2000.0, 0.0}) {
        Recorder rec;
        Warnings warnings;
        SphereRods rods = pair(11.97224, 7.396033);
        rods.Hr = Hr;
        const SphereCheck check = checkRodsWithSphere(rods, rec, warnings);
        EXPECT_FALSE(check.done);
        EXPECT_TRUE(warnings.empty());
        ASSERT_EQ(rec.working().size(), 1u);
        EXPECT_NE(rec.working()[0].note.find("未校核（滚球半径 Hr = "), std::string::npos)
            << rec.working()[0].note;
    }
}

TEST(SphereCheck, AWidthAgainstTheRodIsNotAskedAbout) {
    // Narrower than 1 cm the point lies against the rod: nothing is asked, and the line
    // says so.
    Recorder rec;
    Warnings warnings;
    const SphereCheck check = checkRodsWithSphere(
        {.rods = 1, .Hr = 30, .tip = 20, .Hx = 19.999, .Rx = 0.005}, rec, warnings);
    EXPECT_TRUE(check.done);
    EXPECT_TRUE(check.probes.empty());
    EXPECT_FALSE(check.weakest);
    EXPECT_NE(rec.working().at(0).note.find("没有可校核的保护宽度"), std::string::npos);
}

TEST(SphereCheck, AKeptAnswerIsGivenOnlyForTheSameArrangement) {
    // The answers are kept by arrangement and point: the midpoint of rods 20 m high, then
    // of rods 21 m high at the same place, then 20 m again, each its own Ho.
    for (const auto& [tip, Ho] : {std::pair{20.0, 11.97224}, {21.0, 12.50714}, {20.0, 11.97224}}) {
        Recorder rec;
        Warnings warnings;
        SphereRods rods = pair(Ho, 7.396033);
        rods.tip = tip;
        const SphereCheck check = checkRodsWithSphere(rods, rec, warnings);
        ASSERT_TRUE(check.done);
        EXPECT_NEAR(check.probes.at(0).s, Ho, 1e-5) << tip;
    }
}

}  // namespace
}  // namespace tervalen
