#include "forms/number.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <type_traits>

namespace tervalen::forms {
namespace {

struct Decimal {
    bool negative = false;
    std::string_view digits;  // digits with at most one '.'
};

std::optional<Decimal> decimalSyntax(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    Decimal d;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        d.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int points = 0, digitCount = 0;
    for (char c : text) {
        if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digitCount;
        else
            return std::nullopt;
    }
    if (points > 1 || digitCount == 0) return std::nullopt;
    d.digits = text;
    return d;
}

// from_chars rounds to nearest; out of range means overflow or underflow.
template <class T>
std::optional<T> convert(const Decimal& d) {
    // from_chars does not take a lone trailing or leading point in every library
    // version, so hand it a canonical "int.frac" form.
    std::string canonical(d.digits);
    if (canonical.front() == '.') canonical.insert(canonical.begin(), '0');
    if (canonical.back() == '.') canonical.push_back('0');
    T value{};
    const char* first = canonical.data();
    const char* last = first + canonical.size();
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range && ptr == last) {
        // Overflow (a non-zero integer part) is not a number; a magnitude that underflows
        // rounds to zero or to a subnormal value, which is still a number.
        for (char c : canonical) {
            if (c == '.') break;
            if (c != '0') return std::nullopt;
        }
        value = 0;
        if constexpr (std::is_same_v<T, float>) {
            double wide{};
            if (std::from_chars(first, last, wide, std::chars_format::fixed).ec == std::errc())
                value = static_cast<float>(wide);
        }
    } else if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return d.negative ? -value : value;
}

}  // namespace

std::optional<float> toSingle(std::string_view text) {
    const auto d = decimalSyntax(text);
    if (!d) return std::nullopt;
    return convert<float>(*d);
}

std::optional<double> toDouble(std::string_view text) {
    const auto d = decimalSyntax(text);
    if (!d) return std::nullopt;
    return convert<double>(*d);
}

}  // namespace tervalen::forms
