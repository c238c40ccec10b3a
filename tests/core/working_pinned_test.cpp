// The working as a reader sees it, pinned whole for a few worked examples; the evaluator
// the catalog test relies on, shown to tell a wrong value from a right one; and the
// presses that leave no working or replace it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expression_eval.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"

namespace tervalen::forms {
namespace {

// One line a step: a note alone, or "symbol = formula = substituted = value unit（note）".
std::vector<std::string> lines(const Working& working) {
    std::vector<std::string> out;
    for (const Step& s : working) {
        if (s.symbol.empty()) {
            out.push_back(s.note);
            continue;
        }
        std::string line = s.symbol + " = ";
        if (!s.formula.empty()) line += s.formula + " = " + s.substituted + " = ";
        line += s.value;
        if (!s.unit.empty()) line += ' ' + s.unit;
        if (!s.note.empty()) line += "（" + s.note + "）";
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> workingOf(const char* form, std::vector<Action> actions) {
    Form f(*findForm(form));
    f.setSink([](const Message&) {});
    applyAll(f, actions);
    return f.lastPress() ? lines(f.lastPress()->working()) : std::vector<std::string>{};
}

TEST(PinnedWorking, TwoRodsCheckEachLimitBeforeTheLowestPoint) {
    EXPECT_EQ(workingOf("frmRx_DLShuangZ", {Action::set("CmbH", "20"), Action::set("CmbHx", "5"),
                                            Action::set("CmbD", "30"), Action::press("CmdRun")}),
              (std::vector<std::string>{
                  "H = 20 ≤ Hr = 30",
                  "Hx = 5 ≤ H = 20",
                  "Rx = √(H×(2×Hr−H))−√(Hx×(2×Hr−Hx)) = √(20×(2×30−20))−√(5×(2×30−5)) = "
                  "11.70115 m",
                  "Dmax = 2×√(H×(2×Hr−H)) = 2×√(20×(2×30−20)) = 56.56854 m",
                  "D = 30 < Dmax = 56.56854",
                  "Ho = Hr−√((Hr−H)²+(D/2)²) = 30−√((30−20)²+(30/2)²) = 11.97224 m",
                  "Bx = √(Ho×(2×Hr−Ho))−√(Hx×(2×Hr−Hx)) = "
                  "√(11.97224×(2×30−11.97224))−√(5×(2×30−5)) = 7.396033 m",
                  "按滚球几何精确校核：两针连线中点 S = 11.97224 m ≥ Hx = 5 m，该处在 Hx "
                  "高度受保护；Ho、Bx、Rx 与公式相符",
              }));
}

TEST(PinnedWorking, TheHeightSearchSaysWhatItDidThenChecksForward) {
    EXPECT_EQ(workingOf("frmH_DLDanZ", {Action::set("CmbRxo", "10"), Action::set("CmbHx", "5"),
                                        Action::press("CmdRun")}),
              (std::vector<std::string>{
                  "Hx = 5 ≤ Hr = 30",
                  "Rxo = 10 ≤ Hr = 30",
                  "自 H = 0 起以 0.01 m 为步长向上试算，至 H = 16.10027 时满足 Rx ≥ Rxo = 10",
                  "H = 16.10027 m（所需针高）",
                  "Rx = √(H×(2×Hr−H))−√(Hx×(2×Hr−Hx)) = "
                  "√(16.10027×(2×30−16.10027))−√(5×(2×30−5)) = 10.00254 m",
                  "按滚球几何精确校核：距针 Rx 处 S = 5 m，即 Hx = 5 m，为保护范围的边缘；Rx "
                  "与公式相符",
              }));
}

TEST(PinnedWorking, TheImpulseConversionNamesItsBandAndInterpolation) {
    EXPECT_EQ(workingOf("frmDZ_GC", {Action::set("CmbR", "10"), Action::set("Cmbρ", "510"),
                                     Action::set("CmbL", "5"), Action::press("CmdRun")}),
              (std::vector<std::string>{
                  "Le = 2×√(ρ) = 2×√(510) = 45.16636 m",
                  "ρ = 510 Ω·m 在 500～550 Ω·m 档：500～1000 Ω·m 间 10 档中的第 1 档，"
                  "ρ = 1000 线的倾角按档均分",
                  "θ = θ1000×k/n = 0.8960554×1/10 = 0.08960554 rad",
                  "tanθ = 0.08984613（该档直线的斜率）",
                  "x = L/Le = 5/45.16636 = 0.1107019",
                  "x = 0.1107019 ≤ x0 = 0.2：直线起点左侧的平直段",
                  "A = 1+f×tanθ = 1+0.8×0.08984613 = 1.071877",
                  "Ri = R/A = 10/1.071877 = 9.32943 Ω",
              }));
}

TEST(PinnedWorking, TheImpulseButtonNamesTheStoredResistanceItConverts) {
    const auto w =
        workingOf("frmDZ_ChuiZhi", {Action::set("CmbGg", "0.05"), Action::set("Cmbρ", "300"),
                                    Action::set("CmbL1", "2.5"), Action::set("CmbN", "4"),
                                    Action::press("CmdRun_GP"), Action::set("CmbL2", "10"),
                                    Action::press("CmdRun_CJ")});
    ASSERT_FALSE(w.empty());
    // The group's resistance is Rn (R is one electrode's, shown beside it in the results).
    EXPECT_EQ(w.front(), "Rn = 34.84011 Ω（上次“求工频电阻”所得的工频接地电阻）");
    EXPECT_EQ(w.back(), "Ri = Rn/A = 34.84011/1.224326 = 28.45657 Ω");
}

TEST(PinnedWorking, StrikesPerYear) {
    EXPECT_EQ(workingOf("frmLJCS", {Action::set("CmbTd", "40"), Action::set("CmbL", "50"),
                                    Action::set("CmbW", "20"), Action::set("CmbH", "30"),
                                    Action::press("CmdRun")}),
              (std::vector<std::string>{
                  "H = 30 < 100",
                  "Ae = (L×W+2×(L+W)×√(H×(200−H))+π×H×(200−H))×10^(−6) = "
                  "(50×20+2×(50+20)×√(30×(200−30))+3.141593×30×(200−30))×10^(−6) = 0.02702012 km²",
                  "Ng = 0.024×Td^1.3 = 0.024×40^1.3 = 2.903282 次/(km²·a)",
                  "N = K×Ng×Ae = 1×2.903282×0.02702012 = 0.07844704 次/a",
              }));
}

// The evaluator takes a wrong formula or a wrong value for what it is.
TEST(ExpressionEvaluator, TellsAWrongValueFromTheShownOne) {
    using tervalen::testing::evaluatesTo;
    EXPECT_TRUE(evaluatesTo("√(20×(2×30−20))−√(5×(2×30−5))", "11.70115"));
    EXPECT_FALSE(evaluatesTo("√(20×(2×30−20))−√(5×(2×30−5))", "11.70125"));
    EXPECT_FALSE(evaluatesTo("√(20×(2×30−20))+√(5×(2×30−5))", "11.70115"));
    EXPECT_TRUE(evaluatesTo("(50×20+3.141593×100²)×10^(−6)", "0.03241593"));
    EXPECT_TRUE(evaluatesTo("1+(1−5/45.16636)×0.08984613", "1.079901"));
    EXPECT_TRUE(evaluatesTo("ln(4×2.5/0.042)", "5.472671"));
    EXPECT_TRUE(evaluatesTo("2×π", "6.283185"));
    EXPECT_TRUE(evaluatesTo("3−(-2.5)", "5.5"));
    EXPECT_TRUE(evaluatesTo("1.234568E+07/2", "6172840"));
    // An operand shown to 7 digits allows for its rounding, no more.
    EXPECT_TRUE(evaluatesTo("0.3333333×3", "0.9999999"));
    EXPECT_TRUE(evaluatesTo("0.3333333×3", "1"));
    EXPECT_FALSE(evaluatesTo("0.3333333×3", "1.000001"));
    for (const char* malformed : {"2×", "√(4", "2 + 2", "1.2.3", "1E5", "tan(1)"})
        EXPECT_THROW(tervalen::testing::Evaluator(malformed).evaluate(), std::invalid_argument)
            << malformed;
}

// A refusal, a failed step and a blank stop each drop the working of the press before;
// a second press replaces it.
TEST(PinnedWorking, OnlyTheLastSuccessfulPressHasAWorking) {
    Form f(*findForm("frmRx_DLDanZ"));
    f.setSink([](const Message&) {});
    const auto press = [&](std::string H) {
        applyAll(f, std::vector{Action::set("CmbHx", "5"), Action::set("CmbH", std::move(H)),
                                Action::press("CmdRun")});
        return f.lastPress() ? lines(f.lastPress()->working()) : std::vector<std::string>{};
    };
    // The radius, then the check of it with the exact sphere.
    const auto radius = [&](std::string H) {
        const auto w = press(std::move(H));
        return w.size() < 2 ? std::string() : w[w.size() - 2];
    };
    ASSERT_EQ(radius("20"),
              "Rx = √(H×(2×Hr−H))−√(Hx×(2×Hr−Hx)) = √(20×(2×30−20))−√(5×(2×30−5)) = 11.70115 m");
    EXPECT_EQ(radius("30"),
              "Rx = √(H×(2×Hr−H))−√(Hx×(2×Hr−Hx)) = √(30×(2×30−30))−√(5×(2×30−5)) = 13.41688 m");
    for (const char* stop : {"31", "1..", ""}) {  // a refusal, no number, a blank
        ASSERT_FALSE(press("20").empty());
        EXPECT_TRUE(press(stop).empty()) << stop;
    }
    // A failed step: a leg longer than the hypotenuse leaves no real square root.
    Form zjxb(*findForm("frmZJXB"));
    zjxb.setSink([](const Message&) {});
    applyAll(zjxb, std::vector{Action::set("CmbLa2", "3"), Action::set("CmbLc", "5"),
                               Action::press("CmdRun2")});
    ASSERT_TRUE(zjxb.lastPress());
    applyAll(zjxb, std::vector{Action::set("CmbLa2", "6"), Action::press("CmdRun2")});
    EXPECT_FALSE(zjxb.lastPress()) << "a leg longer than the hypotenuse";
}

}  // namespace
}  // namespace tervalen::forms
