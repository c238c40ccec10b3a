#pragma once
// The working of a press as rich text, for the panel beside its form.

#include <QString>
#include <string>

#include "forms/record.h"

namespace tervalen::view {

// Each step in the order computed: the formula in symbols, the numbers put in, the value
// with its unit; a check or a search as its sentence.
QString workingHtml(const forms::Record& record);
// A refusal's or failed step's message, its lines kept.
QString messageHtml(const std::string& text);

}  // namespace tervalen::view
