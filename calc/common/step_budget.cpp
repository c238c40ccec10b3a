#include "calc/common/step_budget.h"

#include <string>

namespace tervalen {

constinit thread_local StepBudget* StepBudget::t_current = nullptr;

StepBudgetSpent::StepBudgetSpent(long limit)
    : std::runtime_error("高度搜索超过 " + std::to_string(limit) + " 步的上限，未算完"),
      m_limit(limit) {}

StepBudget::StepBudget(long steps) : m_limit(steps), m_left(steps), m_outer(t_current) {
    t_current = this;
}

StepBudget::~StepBudget() {
    t_current = m_outer;
}

void StepBudget::spent() {
    m_left = 0;  // a search that catches the failure and climbs again fails at once
    throw StepBudgetSpent(m_limit);
}

}  // namespace tervalen
