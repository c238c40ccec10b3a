#pragma once
// The upward search of the height calculators: a trial height climbs from its start in
// steps of 0.01 m until a requirement is met or the trial passes its bound. The
// accumulator is kept in the precision the calculator stores it in, so a single-precision
// search carries the rounding of every addition into the height it prints.

#include <optional>
#include <string_view>
#include <type_traits>

#include "calc/common/arith.h"
#include "calc/common/step_budget.h"

namespace tervalen {

template <class T>
struct Climb {
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>,
                  "the trial height is kept in single or double precision");
    T start;                // the value before the first step
    T bound;                // a trial above it ends the search unmet
    std::string_view name;  // the quantity searched for, as failure messages name it
    double step = 0.01;
    // Past this many steps (some 10 km of climbing, far above any sphere radius a design
    // uses) the search gives up as a value out of range: a typed radius of thousands of
    // kilometres would otherwise keep a person waiting for hours, and a single-precision
    // accumulator stops advancing altogether once 0.01 is below half its spacing (2^18 m).
    long maxSteps = 1'000'000;
};

// The first trial value for which `met(trial)` holds, or nothing when a trial passes the
// bound first. Each step adds `step` in double precision and stores the sum as T; the
// bound is tested before the requirement. `met` may throw (a failed step, an input that
// is first read when it is first compared), which ends the search with that failure.
// Every step counts against the thread's StepBudget, when one is set.
template <class T, class Met>
std::optional<T> climb(const Climb<T>& c, Met&& met) {
    T trial = c.start;
    for (long n = 0; n < c.maxSteps; ++n) {
        StepBudget::spendStep();
        const double next = static_cast<double>(trial) + c.step;
        if constexpr (std::is_same_v<T, float>)
            trial = single(next, c.name);
        else
            trial = next;
        if (trial > c.bound) return std::nullopt;
        if (met(trial)) return trial;
    }
    throw ArithmeticFailure(ArithmeticFailure::Kind::Overflow, c.name);
}

}  // namespace tervalen
