#include "drawing/code_page.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <cstdint>
#include <vector>

namespace tervalen::drawing {

#ifdef _WIN32
std::optional<std::string> gbkText(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                      static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    BOOL lost = FALSE;
    const int m =
        WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0, nullptr, &lost);
    if (m <= 0 || lost) return std::nullopt;
    std::string out(static_cast<std::size_t>(m), '\0');
    WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), n, out.data(), m, nullptr, &lost);
    if (lost) return std::nullopt;
    return out;
}
#else
std::optional<std::string> gbkText(std::string_view utf8) {
    const iconv_t cd = iconv_open("GBK", "UTF-8");
    // iconv_open fails with (iconv_t) -1: compared as a number.
    if (reinterpret_cast<std::intptr_t>(cd) == -1) return std::nullopt;
    std::string in(utf8);
    std::vector<char> out(in.size() * 2 + 4);
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size(), room = out.size();
    // A character without a GBK form, or bytes that are not UTF-8, stop the conversion.
    const std::size_t done = iconv(cd, &from, &left, &to, &room);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || left != 0) return std::nullopt;
    return std::string(out.data(), to);
}
#endif

}  // namespace tervalen::drawing
