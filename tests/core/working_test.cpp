// The working recorder: one pattern gives the formula in symbols and the substituted
// expression, numbers put in exactly as a result box shows them.

#include "calc/common/working.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "forms/display.h"

namespace tervalen {
namespace {

TEST(Working, OnePatternGivesTheFormulaAndTheNumbers) {
    const char* pattern = "√({H}×(2×{Hr}−{H})) − √({Hx}×(2×{Hr}−{Hx}))";
    EXPECT_EQ(formulaOf(pattern), "√(H×(2×Hr−H)) − √(Hx×(2×Hr−Hx))");
    EXPECT_EQ(substitute(pattern, {{"H", 20}, {"Hr", 30}, {"Hx", 5}}),
              "√(20×(2×30−20)) − √(5×(2×30−5))");
    // A negative operand keeps its sign inside parentheses; long values show 7 digits.
    EXPECT_EQ(substitute("{a}−{b}", {{"a", 1.0 / 3}, {"b", -2.5}}), "0.3333333−(-2.5)");
}

TEST(Working, AnOperandThePatternNamesButLacksIsAProgrammingError) {
    EXPECT_THROW(substitute("{H}+{Hx}", {{"H", 1}}), std::logic_error);
    EXPECT_THROW(formulaOf("{H"), std::logic_error);
}

TEST(Working, ValuesAreShownAsTheResultBoxShowsThem) {
    for (float v : {0.0f, -0.0f, 100.0f, 2.5f, 1.0f / 3, 12345678.0f, -9.131923f, 1e-12f}) {
        const std::string box = forms::formatResult(v);
        EXPECT_EQ(box.front() == ' ' ? box.substr(1) : box, shown(v)) << v;
    }
}

TEST(Working, TheRecorderKeepsTheOrderOfComputation) {
    Recorder r;
    r.note("H = 20 ≤ Hr = 30");
    r.step("Rx", "{a}+{b}", {{"a", 1}, {"b", 2}}, 3, "m");
    r.value("D", 0.05, "m", "扁钢的等效直径");
    const Working w = r.take();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0], (Step{"", "", "", "", "", "H = 20 ≤ Hr = 30"}));
    EXPECT_EQ(w[1], (Step{"Rx", "a+b", "1+2", "3", "m", ""}));
    EXPECT_EQ(w[2], (Step{"D", "", "", "0.05", "m", "扁钢的等效直径"}));
}

}  // namespace
}  // namespace tervalen
