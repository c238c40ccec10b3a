#pragma once
// A bound on the work of the height searches on one thread, for calculations whose
// inputs come from a file rather than from a person at the form (a record computed again
// as a project is read). Whoever runs such work sets a budget for its duration; every
// step of a search counts against it, and the step after the last one allowed throws
// StepBudgetSpent. Without a budget (a press in the window, the driver's own press) a
// search is bounded only by its own limit.

#include <stdexcept>

namespace tervalen {

// The budget of the work in progress is spent: the calculation stops unfinished.
class StepBudgetSpent : public std::runtime_error {
public:
    explicit StepBudgetSpent(long limit);
    long limit() const { return m_limit; }

private:
    long m_limit;
};

class StepBudget {
public:
    // Allows `steps` search steps on this thread until destroyed; a budget set while
    // another is in force replaces it for that time.
    explicit StepBudget(long steps);
    ~StepBudget();
    StepBudget(const StepBudget&) = delete;
    StepBudget& operator=(const StepBudget&) = delete;

    long limit() const { return m_limit; }
    long used() const { return m_limit - m_left; }

    // Counts one search step against the thread's budget, if one is set.
    static void spendStep() {
        if (StepBudget* b = t_current; b && --b->m_left < 0) b->spent();
    }

private:
    [[noreturn]] void spent();

    long m_limit;
    long m_left;
    StepBudget* m_outer;
    static constinit thread_local StepBudget* t_current;
};

}  // namespace tervalen
