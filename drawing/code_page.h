#pragma once
// Text in the DXF file's code page (ANSI_936, GBK), for the names a reader takes as they
// are written (a layer's name): nothing when a character has no GBK form.

#include <optional>
#include <string>
#include <string_view>

namespace tervalen::drawing {

std::optional<std::string> gbkText(std::string_view utf8);

}  // namespace tervalen::drawing
