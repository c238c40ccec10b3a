#pragma once
// The record of a form's last successful press: which computation unit ran, the input it
// ran on and the result it returned, with the result's named intermediates. The
// calculation sheet and the protection-range drawings read this, not the result boxes.
//
// Type-erased with typed access: a form's handlers name the unit and hand over its
// input and result structs as they are; a reader asks for the types it knows
// (`record.result<RxDanZ>()`) and gets nullptr for any other unit. No list of every
// unit has to be kept in step with the units, and the form layer needs no knowledge of
// them. The unit's name ("calcRx_DLDanZ", a constant of its header) says which unit ran.

#include <any>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/common/warning.h"
#include "calc/common/working.h"
#include "forms/action.h"
#include "forms/form_def.h"

namespace tervalen::forms {

class Record {
public:
    template <class Input, class Result>
    Record(std::string_view unit, Input input, Result result)
        : m_unit(unit), m_input(std::move(input)), m_result(std::move(result)) {
        // A unit that records its working hands it over with its results (or with its
        // optional results, when an answer may end it without any).
        const Result& stored = std::any_cast<const Result&>(m_result);
        if constexpr (requires { stored.working; })
            m_working = stored.working;
        else if constexpr (requires { stored->working; })
            if (stored) m_working = stored->working;
        // Likewise the weak points it found.
        if constexpr (requires { stored.warnings; })
            m_warnings = stored.warnings;
        else if constexpr (requires { stored->warnings; })
            if (stored) m_warnings = stored->warnings;
    }

    const std::string& unit() const { return m_unit; }
    // The unit's steps in the order it computed them (empty for a unit that records none).
    const Working& working() const { return m_working; }
    // The places of the protected surface the sphere still reaches, as the unit found them.
    const Warnings& warnings() const { return m_warnings; }
    // The button pressed, and the actions that reproduce the press on a freshly opened
    // form: the values a form keeps from an earlier press come first (the press that
    // stored them, with its inputs), then the inputs, list choices and options as they
    // stood, then the press itself.
    const std::string& button() const { return m_button; }
    const std::vector<Action>& actions() const { return m_actions; }
    // The form's settings as they stood at the press (FormDef::settings): set on the fresh
    // form before the actions run.
    const Settings& settings() const { return m_settings; }
    void setPress(const std::string& button, std::vector<Action> actions, Settings settings = {}) {
        m_button = button;
        m_actions = std::move(actions);
        m_settings = std::move(settings);
    }
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
    Working m_working;
    Warnings m_warnings;
    std::string m_button;
    std::vector<Action> m_actions;
    Settings m_settings;
};

}  // namespace tervalen::forms
