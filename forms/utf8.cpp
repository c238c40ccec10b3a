#include "forms/utf8.h"

#include "calc/common/utf8.h"

namespace tervalen::forms {

std::vector<char32_t> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        if (b >= 0xF8 || (b >= 0x80 && b < 0xC0)) extra = 0;
        char32_t code = extra == 0   ? b
                        : extra == 1 ? (b & 0x1F)
                        : extra == 2 ? (b & 0x0F)
                                     : (b & 0x07);
        bool ok = i + extra < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) ok = false;
            code = (code << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(b);
            ++i;
        } else {
            out.push_back(code);
            i += extra + 1;
        }
    }
    return out;
}

void appendCodePoint(std::string& text, char32_t c) {
    tervalen::appendCodePoint(text, c);
}

void popLastCodePoint(std::string& text) {
    if (text.empty()) return;
    std::size_t i = text.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
    text.erase(i);
}

}  // namespace tervalen::forms
