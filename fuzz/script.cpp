#include "fuzz/script.h"

#include <array>
#include <utility>

namespace tervalen::fuzz {
namespace {

using Verb = forms::Action::Verb;
using Kind = Step::Kind;

struct Word {
    std::string_view word;
    Kind kind;
    Verb verb;  // for Kind::Act
};

// In this order: an unknown word chooses among them by its hash, and the committed corpus
// uses none. New words go at the end.
constexpr std::array<Word, 8> kWords{{
    {"set", Kind::Act, Verb::Set},
    {"type", Kind::Act, Verb::Type},
    {"key", Kind::Key, Verb::Type},
    {"pick", Kind::Act, Verb::Pick},
    {"select", Kind::Act, Verb::Select},
    {"press", Kind::Act, Verb::Press},
    {"reopen", Kind::Reopen, Verb::Press},
    {"choose", Kind::Choose, Verb::Press},
}};

const Word& wordEntry(std::string_view word) {
    for (const Word& w : kWords)
        if (w.word == word) return w;
    return kWords[hashOf(word) % kWords.size()];
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

const char* wordOf(const Step& step) {
    for (const Word& w : kWords)
        if (w.kind == step.kind && (w.kind != Kind::Act || w.verb == step.action.verb))
            return w.word.data();
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
    while (!bytes.empty() && script.steps.size() < kMaxSteps) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (first) {
            script.form = std::string(line);
            first = false;
            continue;
        }
        if (line.empty()) continue;
        const Word& word = wordEntry(takeWord(line));
        Step step{word.kind, {word.verb, std::string(takeWord(line)), unescape(line)}};
        script.steps.push_back(std::move(step));
    }
    return script;
}

}  // namespace tervalen::fuzz
