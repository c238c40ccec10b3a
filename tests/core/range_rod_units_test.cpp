// Two, three and four equal-height rods: the units' worked values, checks and limits, as
// the forms would print them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/range/rx_sanz_siz.h"
#include "calc/range/rx_shuangz.h"
#include "forms/display.h"

using namespace tervalen;
using tervalen::forms::formatResult;

namespace {

const char* const M1 = "避雷针太高！\n避雷针高度 H 不应大于滚球半径 Hr ！";
const char* const M2 = "被保护面过高！\n被保护面高度 Hx 不应大于避雷针高度 H ！";
const char* const M3 = "避雷针之间距离太大！\n不能按双支等高避雷针方法计算！";
const char* const M4 = "避雷针之间距离太大！\n不能按等高三支避雷针方法计算！";
const char* const M5 = "避雷针之间距离太大！\n不能按等高四支避雷针方法计算！";

// What a form shows for a unit's outcome: its result texts in print order ("" for a box
// left empty), or the refusal's text.
using Texts = std::vector<std::string>;

std::string shown(const Outcome<TwoRods>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    const TwoRods& t = std::get<TwoRods>(o);
    return formatResult(t.Rx) + "|" + formatResult(t.Ho) + "|" + formatResult(t.Bx);
}

// Three rods print what a side prints.
std::string shown(const Outcome<RxSanZ>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    return shown(Outcome<TwoRods>(static_cast<const TwoRods&>(std::get<RxSanZ>(o))));
}

std::string shown(const Outcome<RxSiZ>& o) {
    if (const auto* r = std::get_if<Refusal>(&o)) return r->text;
    const RxSiZ& s = std::get<RxSiZ>(o);
    return shown(s.side) + "|" + formatResult(s.Ho2) + "|" + (s.Bx2 ? formatResult(*s.Bx2) : "");
}

std::string joined(const Texts& texts) {
    std::string s;
    for (const auto& t : texts) s += (s.empty() ? "" : "|") + t;
    return s;
}

struct RodCase {
    std::string label;
    std::function<std::string()> run;
    std::string expected;  // results joined by "|", or the refusal text
};

std::ostream& operator<<(std::ostream& o, const RodCase& c) {
    return o << c.label;
}

std::string inputs(float Hr, float H, float Hx, float D, const char* spacing) {
    return "Hr" + formatResult(Hr) + " H" + formatResult(H) + " Hx" + formatResult(Hx) + " " +
           spacing + formatResult(D);
}

RodCase dl(float Hr, float H, float Hx, float D, Texts out) {
    return {inputs(Hr, H, Hx, D, "D"),
            [=] {
                return shown(calcRx_DLShuangZ({Hr, H, Hx, D}));
            },
            joined(out)};
}
RodCase js(bool yes, float Hr, float H, float Hx, float D, Texts out) {
    return {std::string(yes ? "是 " : "否 ") + inputs(Hr, H, Hx, D, "D"),
            [=] {
                return shown(calcRx_JSShuangZ({yes, Hr, H, Hx, D}));
            },
            joined(out)};
}
RodCase sanZ(float Hr, float H, float Hx, float L, Texts out) {
    return {inputs(Hr, H, Hx, L, "L"),
            [=] {
                return shown(calcRx_DLSanZ({Hr, H, Hx, L}));
            },
            joined(out)};
}
RodCase siZ(float Hr, float H, float Hx, float L, Texts out) {
    return {inputs(Hr, H, Hx, L, "L"),
            [=] {
                return shown(calcRx_DLSiZ({Hr, H, Hx, L}));
            },
            joined(out)};
}

class RodUnits : public ::testing::TestWithParam<RodCase> {};

TEST_P(RodUnits, PrintWorkedValuesOrRefuse) {
    EXPECT_EQ(GetParam().run(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DLShuangZ, RodUnits,
    ::testing::Values(dl(30, 20, 5, 30, {" 11.70115", " 11.97224", " 7.396033"}),
                      dl(30, 30, 0, 40, {" 30", " 10", " 22.36068"}),  // H equal to Hr passes
                      dl(30, 20, 10, 50, {" 5.923592", " 3.074176", "-9.131923"}),
                      dl(30, 20, 20, 30, {" 0", " 11.97224", "-4.305114"}),  // Hx equal to H
                      // The limit 2·reach(20) = 56.56854 in single precision.
                      dl(30, 20, 0, 56.56854f, {" 28.28427", " 1.80508E-06", " 0.01040696"}),
                      dl(30, 20, 0, 56.56855f, {M3}), dl(30, 20, 5, 57, {M3}),
                      dl(30, 30.5f, 0, 10, {M1}), dl(30, 20, 21, 10, {M2}),
                      dl(30, 31, 40, 100, {M1}),  // the checks in order: M1, M2, M3
                      dl(30, 20, 21, 100, {M2})));

INSTANTIATE_TEST_SUITE_P(
    JSShuangZ, RodUnits,
    ::testing::Values(js(true, 30, 40, 15, 30, {" 29.5804", " 14.18861", " 25.4951"}),
                      js(false, 30, 40, 15, 30, {M1}),
                      js(true, 30, 25, 10, 20, {" 25.98076", " 11.97224", " 23.97916"}),
                      js(false, 30, 20, 5, 30, {" 11.70115", " 11.97224", " 7.396033"}),
                      js(true, 30, 45, 15, 40, {" 30", " 10", " 22.36068"}),  // h equal to Hr
                      js(true, 30, 50, 15, 10, {M1}),                         // h = 35
                      js(true, 30, 10, 12, 10, {M2}),  // a negative h passes the first check
                      js(true, 30, 40, 15, 60, {M3})));

INSTANTIATE_TEST_SUITE_P(DLSanZ, RodUnits,
                         ::testing::Values(sanZ(30, 20, 5, 30,
                                                {" 11.70115", " 11.97224", " 7.396033"}),
                                           sanZ(30, 20, 5, 57, {M4}), sanZ(30, 31, 0, 10, {M1}),
                                           sanZ(30, 20, 21, 10, {M2})));

INSTANTIATE_TEST_SUITE_P(
    DLSiZ, RodUnits,
    ::testing::Values(
        siZ(30, 20, 5, 30, {" 11.70115", " 11.97224", " 7.396033", " 6.547921", " 2.125163"}),
        siZ(45, 30, 10, 40, {" 14.14214", " 20", " 9.132302", " 12.98438", " 3.338505"}),
        siZ(30, 30, 0, 40, {" 30", " 10", " 22.36068", " 1.715729", " 10"}),
        // The diagonal limit √2·reach(20) = 40: the diagonal's lowest point just above the ground.
        siZ(30, 20, 5, 40, {" 11.70115", " 7.63932", " 3.416876", " 6.814176E-09", "-16.58249"}),
        // Past it the lowest point lies below the ground: no width on the diagonal.
        siZ(30, 20, 5, 45, {" 11.70115", " 5.377855", " 0.5560123", "-3.35416", ""}),
        siZ(30, 20, 5, 57, {M5}), siZ(30, 31, 0, 10, {M1}), siZ(30, 20, 21, 10, {M2})));

// D exactly at the rounded limit is refused, the next smaller single passes; the same
// limit holds for a side of the triangle and of the square, and for rods on a roof.
TEST(RodSpacingLimit, EqualToTwiceTheRoundedReachIsRefused) {
    const float limit = static_cast<float>(2 * std::sqrt(20.0 * 40.0));
    const float below = std::nextafter(limit, 0.0f);
    EXPECT_EQ(std::get<TwoRods>(calcRx_DLShuangZ({30, 20, 5, below})).limit, limit);
    EXPECT_EQ(shown(calcRx_DLShuangZ({30, 20, 5, limit})), M3);
    EXPECT_EQ(shown(calcRx_DLSanZ({30, 20, 5, limit})), M4);
    EXPECT_EQ(shown(calcRx_DLSiZ({30, 20, 5, limit})), M5);
    EXPECT_EQ(shown(calcRx_JSShuangZ({true, 30, 25, 5, limit})), M3);  // h = 20 above the roof
    EXPECT_TRUE(std::holds_alternative<RxSanZ>(calcRx_DLSanZ({30, 20, 5, below})));
    EXPECT_TRUE(std::holds_alternative<RxSiZ>(calcRx_DLSiZ({30, 20, 5, below})));
    EXPECT_TRUE(std::holds_alternative<TwoRods>(calcRx_JSShuangZ({true, 30, 25, 5, below})));
}

// A side of the triangle or the square is exactly a pair of rods that far apart.
TEST(RodFigures, SideIsAPairOfRods) {
    for (float L : {5.0f, 17.3f, 33.33f, 50.0f}) {
        const auto pair = shown(calcRx_DLShuangZ({45, 28.5f, 7.25f, L}));
        EXPECT_EQ(shown(calcRx_DLSanZ({45, 28.5f, 7.25f, L})), pair) << L;
        EXPECT_EQ(shown(std::get<RxSiZ>(calcRx_DLSiZ({45, 28.5f, 7.25f, L})).side), pair) << L;
    }
}

TEST(RodFigures, KeepTheQuantitiesTheyWorkWith) {
    const auto roof = std::get<TwoRods>(calcRx_JSShuangZ({true, 30, 40, 15, 30}));
    EXPECT_EQ(roof.h, 25.0);
    EXPECT_EQ(roof.reachHx, 0.0);  // the roof is the ground
    EXPECT_DOUBLE_EQ(roof.reachH, std::sqrt(25.0 * 35.0));
    const auto square = std::get<RxSiZ>(calcRx_DLSiZ({30, 20, 5, 30}));
    EXPECT_EQ(square.Dg, static_cast<float>(std::sqrt(1800.0)));
    EXPECT_DOUBLE_EQ(square.side.reachHx, std::sqrt(275.0));
}

}  // namespace
