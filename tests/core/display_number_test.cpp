// The display format of result boxes and the reading of input texts as numbers.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>

#include "forms/display.h"
#include "forms/number.h"

using tervalen::forms::formatResult;
using tervalen::forms::toDouble;
using tervalen::forms::toSingle;

struct DisplayCase {
    float value;
    const char* shown;
};

std::ostream& operator<<(std::ostream& o, const DisplayCase& c) {
    return o << c.shown;
}

class DisplayFormat : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayFormat, ShowsSevenSignificantDigitsAfterTheSign) {
    EXPECT_EQ(formatResult(GetParam().value), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplayFormat,
    ::testing::Values(DisplayCase{100.0f, " 100"}, DisplayCase{2.5f, " 2.5"},
                      DisplayCase{1.0f / 3.0f, " 0.3333333"},
                      DisplayCase{12345678.0f, " 1.234568E+07"},
                      DisplayCase{1234567.0f, " 1234567"}, DisplayCase{1e-08f, " 1E-08"},
                      DisplayCase{-9.131923f, "-9.131923"}, DisplayCase{-0.0f, " 0"},
                      DisplayCase{0.0f, " 0"}, DisplayCase{0.07844704f, " 0.07844704"},
                      DisplayCase{9999999.0f, " 9999999"}, DisplayCase{10000000.0f, " 1E+07"},
                      DisplayCase{0.0001f, " 0.0001"}, DisplayCase{0.00001f, " 1E-05"},
                      DisplayCase{FLT_MAX, " 3.402823E+38"}, DisplayCase{-1.5e-30f, "-1.5E-30"}));

struct ConversionCase {
    const char* text;
    bool isNumber;
    float value;
};

std::ostream& operator<<(std::ostream& o, const ConversionCase& c) {
    return o << '"' << c.text << '"';
}

class TextToNumber : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(TextToNumber, ReadsDecimalTextsOnly) {
    const auto& c = GetParam();
    const auto v = toSingle(c.text);
    ASSERT_EQ(v.has_value(), c.isNumber) << '"' << c.text << '"';
    if (c.isNumber) {
        EXPECT_EQ(*v, c.value) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToNumber,
    ::testing::Values(ConversionCase{"20", true, 20.0f}, ConversionCase{"  5 ", true, 5.0f},
                      ConversionCase{".5", true, 0.5f}, ConversionCase{"5.", true, 5.0f},
                      ConversionCase{"-3.25", true, -3.25f}, ConversionCase{"+7", true, 7.0f},
                      ConversionCase{"56.56854", true, 56.56854f},
                      ConversionCase{"0.1", true, 0.1f}, ConversionCase{"000012", true, 12.0f},
                      ConversionCase{".", false, 0}, ConversionCase{"1.2.3", false, 0},
                      ConversionCase{"", false, 0}, ConversionCase{"   ", false, 0},
                      ConversionCase{"-", false, 0}, ConversionCase{"1e5", false, 0},
                      ConversionCase{"1,5", false, 0}, ConversionCase{"--1", false, 0},
                      ConversionCase{"1 2", false, 0}, ConversionCase{"五", false, 0},
                      ConversionCase{"0x10", false, 0}, ConversionCase{"inf", false, 0},
                      ConversionCase{"nan", false, 0},
                      ConversionCase{"340282366920938463463374607431768211456000", false, 0}));

TEST(TextToNumber, RoundsToTheNearestSingleAndKeepsTinyMagnitudes) {
    // 16777217 lies halfway between two floats; ties go to even.
    EXPECT_EQ(*toSingle("16777217"), 16777216.0f);
    EXPECT_EQ(*toSingle("340282346638528859811704183484516925440"), FLT_MAX);
    // Far below the smallest subnormal: rounds to zero, still a number.
    const std::string tiny = "0." + std::string(60, '0') + "1";
    ASSERT_TRUE(toSingle(tiny).has_value());
    EXPECT_EQ(*toSingle(tiny), 0.0f);
    EXPECT_TRUE(std::signbit(*toSingle("-0")));
}

TEST(TextToNumber, DoublePrecisionKeepsWhatSingleLoses) {
    EXPECT_EQ(*toDouble("0.1"), 0.1);
    EXPECT_NE(static_cast<double>(*toSingle("0.1")), 0.1);
    EXPECT_FALSE(toDouble(".").has_value());
    EXPECT_FALSE(toDouble("1" + std::string(400, '0')).has_value());
    EXPECT_TRUE(toDouble("1" + std::string(300, '0')).has_value());
}
