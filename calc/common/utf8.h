#pragma once
// UTF-8 written from code points: one encoder for the forms' typing and the texts read
// from files in other encodings.

#include <string>

namespace tervalen {

// Appends the code point's UTF-8 bytes (1 to 4). The caller passes a valid code point
// (at most U+10FFFF, not a surrogate).
void appendCodePoint(std::string& text, char32_t code);

}  // namespace tervalen
