#pragma once
// The record of a form's last successful press: which computation unit ran, the input it
// ran on and the result it returned, with the result's named intermediates. The
// calculation sheet and the protection-range drawings read this, not the result boxes.
//
// Type-erased with typed access: a form's handlers name the unit and hand over its
// input and result structs as they are; a reader asks for the types it knows
// (`record.result<RxDanZ>()`) and gets nullptr for any other unit. No list of every
// unit has to be kept in step with the units, and the form layer needs no knowledge of
// them. The unit's name ("calcRx_DLDanZ") tells a reader which types to ask for.

#include <any>
#include <string>
#include <string_view>

namespace tervalen::forms {

class Record {
public:
    template <class Input, class Result>
    Record(std::string_view unit, Input input, Result result)
        : m_unit(unit), m_input(std::move(input)), m_result(std::move(result)) {}

    const std::string& unit() const { return m_unit; }
    template <class Input>
    const Input* input() const {
        return std::any_cast<Input>(&m_input);
    }
    template <class Result>
    const Result* result() const {
        return std::any_cast<Result>(&m_result);
    }

private:
    std::string m_unit;
    std::any m_input;
    std::any m_result;
};

}  // namespace tervalen::forms
