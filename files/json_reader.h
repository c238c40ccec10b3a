#pragma once
// An object of a JSON document a file format reads (a project, a site), named for the
// messages ("第 2 根接闪杆", "第 3 条计算记录"): each value read as the kind it must be,
// or the file refused with one line in Chinese that names the place and the key. `Error`
// is the format's own exception (thrown with that line).

#include <cmath>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "files/json_document.h"

namespace tervalen::files {

template <class Error>
class JsonReader {
public:
    using Json = nlohmann::json;

    [[noreturn]] static void fail(const std::string& what) { throw Error(what); }

    JsonReader(const Json& j, std::string where) : m_json(j), m_where(std::move(where)) {
        if (!m_json.is_object()) fail(m_where + "应为对象");
    }
    // One that may have only the keys listed (a key the program does not know is refused
    // rather than dropped at the next save).
    JsonReader(const Json& j, std::string where, std::initializer_list<const char*> keys)
        : JsonReader(j, std::move(where)) {
        for (const auto& [k, value] : m_json.items()) {
            bool known = false;
            for (const char* allowed : keys) known = known || k == allowed;
            if (!known) fail(m_where + "有本程序不认识的键 " + inQuotes(k));
        }
    }

    const std::string& where() const { return m_where; }
    // "第 2 根接闪杆的 “tip”": a key of this object in a message.
    std::string named(const char* k) const { return m_where + "的 " + inQuotes(k); }
    bool has(const char* k) const { return m_json.contains(k); }
    const Json& at(const char* k) const {
        const auto it = m_json.find(k);
        if (it == m_json.end()) fail(m_where + "缺少 " + inQuotes(k));
        return *it;
    }

    std::string text(const char* k) const {
        const Json& j = at(k);
        if (!j.is_string()) fail(named(k) + " 应为文本");
        return j.get<std::string>();
    }
    std::string text(const char* k, const std::string& absent) const {
        return has(k) ? text(k) : absent;
    }
    double number(const char* k) const {
        const Json& j = at(k);
        if (!j.is_number()) fail(named(k) + " 应为数");
        const double v = j.get<double>();
        if (!std::isfinite(v)) fail(named(k) + " 应为有限的数");
        return v;
    }
    double number(const char* k, double absent) const { return has(k) ? number(k) : absent; }
    bool flag(const char* k, bool absent) const {
        if (!has(k)) return absent;
        const Json& j = at(k);
        if (!j.is_boolean()) fail(named(k) + " 应为 true 或 false");
        return j.get<bool>();
    }
    const Json& array(const char* k) const {
        const Json& j = at(k);
        if (!j.is_array()) fail(named(k) + " 应为数组");
        return j;
    }
    // An array that may be left out when empty.
    const Json& list(const char* k) const {
        static const Json kEmpty = Json::array();
        return has(k) ? array(k) : kEmpty;
    }
    const Json& object(const char* k) const {
        const Json& j = at(k);
        if (!j.is_object()) fail(named(k) + " 应为对象");
        return j;
    }

private:
    const Json& m_json;
    std::string m_where;
};

}  // namespace tervalen::files
