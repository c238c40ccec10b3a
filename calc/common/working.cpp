#include "calc/common/working.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tervalen {

std::string shown(double value) {
    if (value == 0) value = 0;  // negative zero is shown as zero
    std::array<char, 48> buf{};
    // to_chars with the general format and a precision is printf's %.7g, without the locale.
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 7);
    std::string digits(buf.data(), res.ptr);
    for (char& c : digits)
        if (c == 'e') c = 'E';
    return digits;
}

std::string shownUp(double value) {
    std::string text = shown(value);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    // Up by one unit of the seventh significant digit, from the shown value.
    if (back < value)
        text = shown(back + std::pow(10.0, std::floor(std::log10(std::abs(value))) - 6));
    return text;
}

namespace {

// Calls `name` for each "{name}" of the pattern and `text` for everything between.
template <class Text, class Name>
void walk(std::string_view pattern, Text&& text, Name&& name) {
    while (!pattern.empty()) {
        const auto open = pattern.find('{');
        if (open == std::string_view::npos) break;
        const auto close = pattern.find('}', open);
        if (close == std::string_view::npos) throw std::logic_error("unclosed { in a formula");
        text(pattern.substr(0, open));
        name(pattern.substr(open + 1, close - open - 1));
        pattern.remove_prefix(close + 1);
    }
    text(pattern);
}

}  // namespace

std::string formulaOf(std::string_view pattern) {
    std::string out;
    walk(
        pattern, [&](std::string_view t) { out += t; }, [&](std::string_view n) { out += n; });
    return out;
}

std::string substitute(std::string_view pattern, std::initializer_list<Operand> operands) {
    std::string out;
    walk(
        pattern, [&](std::string_view t) { out += t; },
        [&](std::string_view n) {
            for (const auto& [name, value] : operands)
                if (name == n) {
                    const std::string v = shown(value);
                    out += v.starts_with('-') ? "(" + v + ")" : v;
                    return;
                }
            throw std::logic_error("a formula names an operand it is not given: " + std::string(n));
        });
    return out;
}

void Recorder::step(std::string symbol, std::string_view pattern,
                    std::initializer_list<Operand> operands, double value, std::string unit) {
    m_working.push_back({std::move(symbol),
                         formulaOf(pattern),
                         substitute(pattern, operands),
                         shown(value),
                         std::move(unit),
                         {}});
}

void Recorder::value(std::string symbol, double value, std::string unit, std::string note) {
    m_working.push_back(
        {std::move(symbol), {}, {}, shown(value), std::move(unit), std::move(note)});
}

void Recorder::note(std::string text) {
    m_working.push_back({{}, {}, {}, {}, {}, std::move(text)});
}

void Recorder::check(std::string_view lhs, double l, std::string_view relation,
                     std::string_view rhs, double r, std::string_view consequence) {
    std::string text =
        std::string(lhs) + " = " + shown(l) + " " + std::string(relation) + " " + std::string(rhs);
    // A bound that is a number ("≥ 0", "≤ 100") is not repeated.
    if (rhs != shown(r)) text += " = " + shown(r);
    if (!consequence.empty()) text += "：" + std::string(consequence);
    note(std::move(text));
}

void Recorder::search(std::string_view name, double start, double found,
                      std::string_view requirement) {
    const std::string n(name);
    note("自 " + n + " = " + shown(start) + " 起以 0.01 m 为步长向上试算，至 " + n + " = " +
         shown(found) + " 时满足 " + std::string(requirement));
}

void Recorder::append(const Working& steps) {
    m_working.insert(m_working.end(), steps.begin(), steps.end());
}

std::string reachOf(std::string_view h) {
    const std::string s(h);
    return "√(" + s + "×(2×{Hr}−" + s + "))";
}

}  // namespace tervalen
