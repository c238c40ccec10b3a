// The fuzzer's judge of result boxes: it must take every text the display format
// produces and nothing else, or the fuzzer reports faults that are not there (or misses them).

#include "fuzz/display_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <ostream>
#include <string>

#include "forms/display.h"

namespace {

using tervalen::forms::formatResult;
using tervalen::fuzz::isDisplayText;

TEST(DisplayText, TakesWhatTheDisplayFormatPrints) {
    for (float x :
         {0.0f, -0.0f, 1.0f / 3, 100.0f, 2.5f, 12345678.0f, 1234567.0f, -9.131923f, FLT_MAX,
          -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, -FLT_TRUE_MIN, 1e-5f, 9999999.5f, 8.6e9f, 0.0001234567f})
        EXPECT_TRUE(isDisplayText(formatResult(x))) << formatResult(x);
    // Every float in a stretch of each binade where 7 digits barely tell neighbours apart.
    for (float start : {8.0f, 8.59e9f, 1.0e-30f}) {
        float x = start;
        for (int i = 0; i < 20000; ++i, x = std::nextafter(x, INFINITY))
            ASSERT_TRUE(isDisplayText(formatResult(x))) << formatResult(x);
    }
}

struct Bad {
    std::string text;
};
std::ostream& operator<<(std::ostream& os, const Bad& b) {
    return os << '"' << b.text << '"';
}

class DisplayTextRefuses : public ::testing::TestWithParam<Bad> {};

TEST_P(DisplayTextRefuses, AnythingElse) {
    EXPECT_FALSE(isDisplayText(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DisplayTextRefuses,
    ::testing::Values(Bad{""}, Bad{" "}, Bad{"1"}, Bad{"+1"}, Bad{" -1"}, Bad{"-0"}, Bad{" nan"},
                      Bad{" inf"}, Bad{"-inf"}, Bad{" 1.5000"}, Bad{" 2."}, Bad{" .5"},
                      Bad{" 11.701152"}, Bad{" 12345678"}, Bad{" 1.234568e+07"},
                      Bad{" 1.234568E+7"}, Bad{" 1.234568E07"}, Bad{" 3.402824E+38"}, Bad{" 1E+39"},
                      Bad{" 1,5"}, Bad{"  1"}, Bad{" 1 "}, Bad{" 0x10"}, Bad{" 0.1000000"}));

}  // namespace
