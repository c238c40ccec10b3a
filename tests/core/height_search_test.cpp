// The upward search shared by the height calculators.

#include "calc/height/height_search.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "forms/display.h"

using namespace tervalen;

namespace {

struct Accumulated {
    bool single;  // single- or double-precision accumulator
    float start;
    int steps;
    const char* shown;  // the value after that many steps, as a result box shows it
};

std::ostream& operator<<(std::ostream& o, const Accumulated& c) {
    return o << (c.single ? "single" : "double") << " from " << c.start << ", " << c.steps
             << " steps";
}

class SearchAccumulator : public ::testing::TestWithParam<Accumulated> {};

// Met at exactly the given step: what the trial height holds then is what a form prints.
TEST_P(SearchAccumulator, CarriesTheRoundingOfEveryAddition) {
    const Accumulated& c = GetParam();
    int n = 0;
    const auto met = [&](auto) { return ++n == c.steps; };
    const float found = c.single
                            ? *climb(Climb<float>{c.start, 1e4f, "H"}, met)
                            : static_cast<float>(*climb(Climb<double>{c.start, 1e4, "H"}, met));
    EXPECT_EQ(forms::formatResult(found), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Steps, SearchAccumulator,
                         ::testing::Values(Accumulated{true, 0, 355, " 3.549997"},
                                           Accumulated{true, 0, 1000, " 10.00013"},
                                           Accumulated{true, 0, 1610, " 16.10027"},
                                           Accumulated{true, 0, 2000, " 20.00036"},
                                           Accumulated{true, 0, 2035, " 20.35037"},
                                           Accumulated{true, 0, 3000, " 30.00059"},
                                           Accumulated{true, 0, 6000, " 59.99594"},
                                           Accumulated{true, 3, 1510, " 18.10032"},
                                           Accumulated{false, 0, 1610, " 16.1"},
                                           Accumulated{false, 0, 672, " 6.72"}));

TEST(Search, TriesEveryValueUpToTheBoundThenGivesUp) {
    std::vector<float> tried;
    const auto found = climb(Climb<float>{0.0f, 0.05f, "H"}, [&](float h) {
        tried.push_back(h);
        return false;
    });
    EXPECT_FALSE(found);
    // The bound itself is tried when the accumulator lands on it; nothing above it is.
    ASSERT_EQ(tried.size(), 5u);
    EXPECT_EQ(tried.front(), 0.01f);
    EXPECT_EQ(tried.back(), 0.05f);
}

TEST(Search, ABoundBelowTheFirstTrialTriesNothing) {
    int calls = 0;
    EXPECT_FALSE(climb(Climb<float>{3.0f, 3.0f, "H"}, [&](float) { return ++calls > 0; }));
    EXPECT_EQ(calls, 0);
}

TEST(Search, AFailureInTheRequirementEndsTheSearch) {
    int calls = 0;
    EXPECT_THROW(climb(Climb<double>{0.0, 30.01, "H"},
                       [&](double) -> bool {
                           if (++calls == 3)
                               throw ArithmeticFailure(ArithmeticFailure::Kind::NegativeRoot, "Rx");
                           return false;
                       }),
                 ArithmeticFailure);
    EXPECT_EQ(calls, 3);
}

// A radius of thousands of kilometres must not keep a person waiting, and a
// single-precision trial height stops advancing at 2^18 m.
TEST(Search, GivesUpAsOutOfRangeInsteadOfClimbingForHours) {
    for (const float start : {0.0f, 262144.0f}) {
        try {
            climb(Climb<float>{start, 1e30f, "H"}, [](float) { return false; });
            ADD_FAILURE() << "the search returned from " << start;
        } catch (const ArithmeticFailure& e) {
            EXPECT_EQ(e.kind(), ArithmeticFailure::Kind::Overflow);
            EXPECT_EQ(e.quantity(), "H");
        }
    }
}

// A calculation read from a file runs under a budget of steps: the step after the last
// one allowed stops it with a failure of its own, also when the budget is shared by
// several searches; a budget set inside another applies for its time, then the outer one
// counts on; without one a search is not counted at all.
TEST(SearchBudget, StopsTheSearchAtTheStepAfterTheLastAllowed) {
    const auto never = [](float) { return false; };
    {
        const StepBudget budget(250);
        int tried = 0;
        EXPECT_TRUE(climb(Climb<float>{0.0f, 1.0f, "H"}, [&](float) { return ++tried == 100; }));
        EXPECT_EQ(budget.used(), 100);
        EXPECT_THROW(climb(Climb<float>{0.0f, 1e4f, "H"}, [&](float) { return ++tried < 0; }),
                     StepBudgetSpent);
        EXPECT_EQ(tried, 250);  // 100 in the first search, 150 in the second
        try {
            climb(Climb<float>{0.0f, 1e4f, "H"}, never);
            ADD_FAILURE() << "a spent budget let a search run";
        } catch (const StepBudgetSpent& e) {
            EXPECT_EQ(e.limit(), 250);
            EXPECT_STREQ(e.what(), "高度搜索超过 250 步的上限，未算完");
        }
    }
    {
        const StepBudget outer(1000);
        const auto metAt = [](int steps) {
            return [steps, n = 0](auto) mutable { return ++n == steps; };
        };
        EXPECT_TRUE(climb(Climb<float>{0.0f, 10.0f, "H"}, metAt(101)));
        {
            const StepBudget inner(10);
            EXPECT_THROW(climb(Climb<float>{0.0f, 10.0f, "H"}, never), StepBudgetSpent);
            EXPECT_EQ(inner.used(), 10);
        }
        EXPECT_EQ(outer.used(), 101);
        EXPECT_TRUE(climb(Climb<double>{0.0, 10.0, "H"}, metAt(7)));
        EXPECT_EQ(outer.used(), 108);
    }
    // No budget: a search of 60,000 steps (a 600 m sphere) runs to its end.
    EXPECT_FALSE(climb(Climb<double>{0.0, 600.0, "H"}, [](double) { return false; }));
}

}  // namespace
