#include "files/one_line.h"

#include <cstdio>

namespace tervalen::files {
namespace {

// The length of the UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80             ? 1
                          : (c & 0xE0) == 0xC0 ? 2
                          : (c & 0xF0) == 0xE0 ? 3
                          : (c & 0xF8) == 0xF0 ? 4
                                               : 0;
    if (n == 0 || i + n > text.size() || (n == 2 && c < 0xC2)) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

std::string hex(const char* format, unsigned value) {
    char buf[12];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

}  // namespace

std::string oneLine(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    out.reserve(text.size());
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (maxCharacters != 0 && characters == maxCharacters) {
            out += "…";
            break;
        }
        ++characters;
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = sequenceLength(text, i);
        if (n == 0) {
            out += hex("\\x%02x", c);
            ++i;
            continue;
        }
        if (n == 1) {
            if (c == '\n')
                out += "\\n";
            else if (c == '\r')
                out += "\\r";
            else if (c == '\t')
                out += "\\t";
            else if (c < 0x20 || c == 0x7F)
                out += hex("\\x%02x", c);
            else
                out += static_cast<char>(c);
            ++i;
            continue;
        }
        // C1 controls (U+0080–U+009F) and the line and paragraph separators.
        const auto c1 = static_cast<unsigned char>(text[i + 1]);
        const bool control = (n == 2 && c == 0xC2 && c1 < 0xA0) ||
                             (n == 3 && c == 0xE2 && c1 == 0x80 &&
                              (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
                               static_cast<unsigned char>(text[i + 2]) == 0xA9));
        if (control)
            out += n == 2 ? hex("\\u%04x", c1) : hex("\\u%04x", 0x2000u + (text[i + 2] & 0x3F));
        else
            out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace tervalen::files
