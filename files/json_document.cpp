#include "files/json_document.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_set>
#include <vector>

#include "files/one_line.h"

namespace tervalen::files {
namespace {

using Json = nlohmann::json;

[[noreturn]] void fail(const std::string& what) {
    throw JsonDocumentError(what);
}

// Refuses a key that an object has twice: the JSON library would keep the last one, and a
// file with `"records": [...]` and then `"records": []` would lose its records at the next
// save.
class DuplicateKeys {
public:
    bool operator()(int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
                m_keys.emplace_back(std::in_place);
                break;
            case Json::parse_event_t::array_start:
                m_keys.emplace_back(std::nullopt);
                break;
            case Json::parse_event_t::object_end:
            case Json::parse_event_t::array_end:
                if (!m_keys.empty()) m_keys.pop_back();
                break;
            case Json::parse_event_t::key:
                if (!m_keys.empty() && m_keys.back() &&
                    !m_keys.back()->insert(parsed.get_ref<const std::string&>()).second)
                    fail("同一对象中的键 " + inQuotes(parsed.get_ref<const std::string&>()) +
                         " 出现了不止一次");
                break;
            case Json::parse_event_t::value:
                break;
        }
        return true;
    }

private:
    std::vector<std::optional<std::unordered_set<std::string>>> m_keys;
};

}  // namespace

std::string placeOf(std::string_view text, std::size_t byte) {
    byte = std::min(byte, text.size());
    int line = 1, column = 1;
    for (std::size_t i = 0; i < byte; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
}

std::string inQuotes(std::string_view text, std::size_t max) {
    return "“" + oneLine(text, max) + "”";
}

Json jsonDocument(std::string_view text) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) fail("文件是空的");
    // The JSON library takes a NUL byte for the end of the text: whatever follows one
    // would be ignored. A JSON text never holds one.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        fail("不是有效的 JSON，" + placeOf(text, nul) + "有误（空字符）");
    try {
        DuplicateKeys duplicates;
        return Json::parse(text, std::ref(duplicates));
    } catch (const Json::out_of_range&) {
        // A number too large for a double ("1e400"): the library's message quotes all of it.
        fail("不是有效的 JSON，其中有超出范围的数字");
    } catch (const Json::parse_error& e) {
        // e.byte counts from 1 and points at the character that could not be read; past
        // the end when the text stops in the middle.
        const std::size_t at = e.byte > 0 ? e.byte - 1 : 0;
        if (at >= text.size()) fail("文件不完整，在" + placeOf(text, text.size()) + "处中断");
        fail("不是有效的 JSON，" + placeOf(text, at) + "有误");
    }
}

}  // namespace tervalen::files
