#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tervalen::forms {

// Code points of a UTF-8 text; a malformed byte counts as one code point of its own value.
std::vector<char32_t> decodeUtf8(std::string_view text);
void appendCodePoint(std::string& text, char32_t code);
void popLastCodePoint(std::string& text);

}  // namespace tervalen::forms
