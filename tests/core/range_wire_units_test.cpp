// One and two overhead wires: the units' worked values, checks, sag rule and limits, as
// the forms would print them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/range/rxbx_danx.h"
#include "calc/range/rxbx_shuangx.h"
#include "forms/display.h"

using namespace tervalen;
using tervalen::forms::formatResult;

namespace {

const char* const MA = "避雷线太高，无保护范围！\n避雷线高度 H 不应大于或等于2倍滚球半径 Hr ！";
const char* const MA2 = "避雷线太高！\n避雷线高度 H 不应大于滚球半径2倍 Hr ！";
const char* const MB = "被保护面过高！\n被保护面高度 Hx 不应大于避雷线高度 H ！";
const char* const MC = "避雷线之间距离太大！\n不能按双根等高避雷线方法计算！";
const char* const kHigh = "避雷线高度过高，无保护范围！";
const char* const kSpanD = "支柱间距过大！\n避雷线支柱间距 D 不应大于150m！";
const char* const kSpanD1 = "支柱间距过大！\n避雷线支柱间距 D1 不应大于150m！";

// What a form shows for a unit's outcome: its results joined by "|", or the refusal's text.
std::string shown(const Outcome<RxBxDanX>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    const RxBxDanX& w = std::get<RxBxDanX>(o);
    return formatResult(w.Hh) + "|" + formatResult(w.Bx1) + "|" + formatResult(w.Bx2);
}

std::string shown(const Outcome<RxBxShuangX>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    const RxBxShuangX& w = std::get<RxBxShuangX>(o);
    return formatResult(w.Ho) + "|" + formatResult(w.Bx1);
}

struct WireCase {
    std::string label;
    std::function<std::string()> run;
    std::string expected;
};

std::ostream& operator<<(std::ostream& o, const WireCase& c) {
    return o << c.label;
}

std::string joined(std::vector<std::string> texts) {
    std::string s;
    for (const auto& t : texts) s += (s.empty() ? "" : "|") + t;
    return s;
}

WireCase danX(float Hr, float H, float Hx, float D, std::vector<std::string> out) {
    return {"Hr" + formatResult(Hr) + " H" + formatResult(H) + " Hx" + formatResult(Hx) + " D" +
                formatResult(D),
            [=] {
                return shown(calcRxBx_DanX({Hr, H, Hx, D}));
            },
            joined(out)};
}

WireCase shuangX(float Hr, float H, float Hx, float D1, float D2, std::vector<std::string> out) {
    return {"Hr" + formatResult(Hr) + " H" + formatResult(H) + " Hx" + formatResult(Hx) + " D1" +
                formatResult(D1) + " D2" + formatResult(D2),
            [=] {
                return shown(calcRxBx_ShuangX({Hr, H, Hx, D1, D2}));
            },
            joined(out)};
}

class WireUnits : public ::testing::TestWithParam<WireCase> {};

TEST_P(WireUnits, PrintWorkedValuesOrRefuse) {
    EXPECT_EQ(GetParam().run(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DanX, WireUnits,
    ::testing::Values(
        danX(30, 20, 5, 100, {" 20", " 10.91233", " 11.70115"}),
        danX(30, 20, 5, 119.99f, {" 20", " 10.91233", " 11.70115"}),  // sag 2 below 120
        danX(30, 20, 5, 120, {" 20", " 10.45389", " 11.70115"}),      // sag 3 from 120 to 150
        danX(30, 20, 5, 130, {" 20", " 10.45389", " 11.70115"}),
        danX(30, 20, 5, 150, {" 20", " 10.45389", " 11.70115"}),
        danX(30, 40, 5, 100, {" 20", " 12.33054", " 11.70115"}),  // above the sphere radius
        danX(45, 30, 10, 80, {" 30", " 13.38106", " 14.14214"}),
        danX(30, 30, 30, 100, {" 30", "-0.06674091", " 0"}),     // H = Hr and Hx = H pass
        danX(30, 2, 0, 100, {" 2", " 0", " 10.77033"}),          // the lowest point on the ground
        danX(30, 59, 5, 100, {" 1", "-3.506427", "-8.901978"}),  // negative widths are printed
        danX(30, 60, 5, 100, {MA}),                              // H equal to 2·Hr
        danX(30, 20, 25, 100, {MB}),
        // No sag is defined past 150 m: refused after the other checks.
        danX(30, 20, 5, std::nextafter(150.0f, 200.0f), {kSpanD}), danX(30, 20, 5, 1000, {kSpanD}),
        danX(30, 70, 80, 1000, {MA}), danX(30, 20, 25, 1000, {MB})));

INSTANTIATE_TEST_SUITE_P(
    ShuangX, WireUnits,
    ::testing::Values(
        shuangX(30, 20, 5, 100, 20, {" 16.28427", " 9.874389"}),
        shuangX(30, 20, 5, 130, 20, {" 15.28427", " 9.874389"}),
        shuangX(30, 20, 5, 150, 20, {" 15.28427", " 9.874389"}),
        shuangX(30, 30, 0, 100, 40, {" 20.36068", " 22.36068"}),
        shuangX(45, 30, 10, 100, 30, {" 25.42641", " 11.402"}),
        shuangX(30, 3, 0, 100, 25, {"-1.72822", " 3.840573"}),  // Ho below the ground is printed
        shuangX(30, 61, 0, 100, 10, {MA2}),
        shuangX(30, 60, 0, 100, 10, {MC}),  // H equal to 2·Hr passes MA2, its reach is 0
        shuangX(30, 5, 0, 100, 40, {MC}),   // 2·reach(5) = 33.16625
        shuangX(30, 20, 25, 100, 20, {MB}), shuangX(30, 61, 70, 100, 100, {MA2}),
        shuangX(30, 20, 25, 100, 100, {MB}),
        shuangX(30, 50, 0, 100, 50, {MC}),  // the spacing is tested before the height
        shuangX(30, 40, 5, 100, 20, {kHigh}), shuangX(30, 40, 5, 1000, 20, {kHigh}),
        shuangX(30, 20, 5, 151, 20, {kSpanD1}), shuangX(30, 20, 25, 151, 20, {MB})));

TEST(WireLimits, HeightAndSpacingAtTheirBoundaries) {
    // One wire: 2·Hr itself is refused, the single below it computed.
    EXPECT_EQ(shown(calcRxBx_DanX({30, 60, 0, 100})), MA);
    EXPECT_TRUE(
        std::holds_alternative<RxBxDanX>(calcRxBx_DanX({30, std::nextafter(60.0f, 0.0f), 0, 100})));
    // Two wires: 2·Hr passes the height check, the single above it does not.
    EXPECT_EQ(shown(calcRxBx_ShuangX({30, std::nextafter(60.0f, 99.0f), 0, 100, 0})), MA2);
    // D2 at twice the rounded reach is refused, the next smaller single passes.
    const float limit = static_cast<float>(2 * std::sqrt(20.0 * 40.0));
    EXPECT_EQ(shown(calcRxBx_ShuangX({30, 20, 5, 100, limit})), MC);
    const auto below = calcRxBx_ShuangX({30, 20, 5, 100, std::nextafter(limit, 0.0f)});
    ASSERT_TRUE(std::holds_alternative<RxBxShuangX>(below));
    EXPECT_EQ(std::get<RxBxShuangX>(below).limit, limit);
}

TEST(WireLimits, SupportsBelowTheSagAreAFailedRootOfBx1) {
    for (float D : {100.0f, 135.0f}) {
        try {
            calcRxBx_DanX({30, 1.5f, 0, D});
            ADD_FAILURE() << "no failure for D " << D;
        } catch (const ArithmeticFailure& e) {
            EXPECT_EQ(e.kind(), ArithmeticFailure::Kind::NegativeRoot);
            EXPECT_EQ(e.quantity(), "Bx1");
        }
    }
    EXPECT_EQ(std::get<RxBxDanX>(calcRxBx_DanX({30, 3, 0, 135})).Bx1, 0.0f);
}

TEST(WireQuantities, SagAndLowestPointsAreKept) {
    const auto one = std::get<RxBxDanX>(calcRxBx_DanX({30, 20, 5, 130}));
    EXPECT_EQ(one.sag, 3);
    EXPECT_DOUBLE_EQ(one.reachLow, std::sqrt(17.0 * 43.0));
    EXPECT_DOUBLE_EQ(one.reachH, std::sqrt(800.0));
    const auto two = std::get<RxBxShuangX>(calcRxBx_ShuangX({30, 20, 5, 100, 20}));
    EXPECT_EQ(two.sag, 2);
    EXPECT_EQ(two.Hoe, static_cast<float>(30 - std::sqrt(200.0)));
    EXPECT_DOUBLE_EQ(two.reachHx, std::sqrt(275.0));
}

}  // namespace
