#include "fuzz/script.h"

#include <array>
#include <utility>

namespace tervalen::fuzz {
namespace {

constexpr std::array<std::pair<std::string_view, Verb>, 7> kVerbs{{
    {"set", Verb::Set},
    {"type", Verb::Type},
    {"key", Verb::Key},
    {"pick", Verb::Pick},
    {"select", Verb::Select},
    {"press", Verb::Press},
    {"reopen", Verb::Reopen},
}};

Verb verbOf(std::string_view word) {
    for (const auto& [name, verb] : kVerbs)
        if (name == word) return verb;
    return kVerbs[hashOf(word) % kVerbs.size()].second;
}

// Splits off the text up to the first space; the space itself is dropped.
std::string_view takeWord(std::string_view& line) {
    const auto space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
    return word;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::uint32_t hashOf(std::string_view text) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

const char* verbName(Verb verb) {
    for (const auto& [name, v] : kVerbs)
        if (v == verb) return name.data();
    return "?";
}

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
            case 'r':
                out += '\r';
                break;
            case 'e':
                out += '\x1b';
                break;
            case 'b':
                out += '\b';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case 'x':
                if (i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
                    hexDigit(text[i + 2]) >= 0) {
                    out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
                    i += 2;
                } else {
                    out += 'x';
                }
                break;
            default:
                out += c;
        }
    }
    return out;
}

Script parseScript(std::string_view bytes) {
    Script script;
    bool first = true;
    while (!bytes.empty() && script.actions.size() < kMaxActions) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (first) {
            script.form = std::string(line);
            first = false;
            continue;
        }
        if (line.empty()) continue;
        Action a;
        a.verb = verbOf(takeWord(line));
        a.control = std::string(takeWord(line));
        a.text = unescape(line);
        script.actions.push_back(std::move(a));
    }
    return script;
}

}  // namespace tervalen::fuzz
