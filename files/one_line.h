#pragma once
// Text quoted into a message of one line (a file's names and labels, a command line's
// arguments): control characters shown escaped, so that the message stays one line and
// nothing it quotes can move the cursor, colour a terminal or forge a line of its own.

#include <cstddef>
#include <string>
#include <string_view>

namespace tervalen::files {

// The text with every control character (C0, DEL, C1, U+2028, U+2029) written as an
// escape ("\n", "\r", "\t", "\x1b", "\u2028"), bytes that are not UTF-8 as "\xNN", and,
// past `maxCharacters` characters, cut with "…" (0: never cut).
std::string oneLine(std::string_view text, std::size_t maxCharacters = 0);

}  // namespace tervalen::files
