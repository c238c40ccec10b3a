#pragma once
// A small evaluator for the substituted expressions of a working, in interval arithmetic:
// every number is taken as shown, to 7 significant digits, so it stands for any value
// within half a unit of its last digit. The result is the range the exact expression can
// take over those values; a step's value must fall in it.
//
// Grammar: numbers (digits, one ".", optional E+nn / E-nn), + − - × / ^ ², √(…), ln(…),
// π, parentheses, a leading minus.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tervalen::testing {

struct Range {
    double lo, hi;
    bool contains(const Range& r) const { return r.lo <= hi && lo <= r.hi; }  // they overlap
};

// The range a shown number stands for: ±half a unit of its 7th significant digit (an
// exact 0 stands for itself).
inline Range shownRange(double v) {
    if (v == 0) return {0, 0};
    const double half = 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 6);
    return {v - half, v + half};
}

class Evaluator {
public:
    explicit Evaluator(std::string_view text) : m_s(text) {}

    Range evaluate() {
        const Range r = sum();
        if (m_i != m_s.size()) fail("unexpected text");
        return r;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw std::invalid_argument(why + " at " + std::to_string(m_i) + " in " + std::string(m_s));
    }
    bool take(std::string_view token) {
        if (m_s.substr(m_i, token.size()) != token) return false;
        m_i += token.size();
        return true;
    }
    void expect(std::string_view token) {
        if (!take(token)) fail("expected " + std::string(token));
    }

    Range sum() {
        Range r = product();
        for (;;) {
            if (take("+")) {
                const Range b = product();
                r = {r.lo + b.lo, r.hi + b.hi};
            } else if (take("−") || take("-")) {
                const Range b = product();
                r = {r.lo - b.hi, r.hi - b.lo};
            } else {
                return r;
            }
        }
    }
    static Range corners(double a, double b, double c, double d) {
        return {std::min({a, b, c, d}), std::max({a, b, c, d})};
    }
    Range product() {
        Range r = unary();
        for (;;) {
            if (take("×")) {
                const Range b = unary();
                r = corners(r.lo * b.lo, r.lo * b.hi, r.hi * b.lo, r.hi * b.hi);
            } else if (take("/")) {
                const Range b = unary();
                if (b.lo <= 0 && b.hi >= 0) fail("division by a range holding 0");
                r = corners(r.lo / b.lo, r.lo / b.hi, r.hi / b.lo, r.hi / b.hi);
            } else {
                return r;
            }
        }
    }
    Range unary() {
        if (take("−") || take("-")) {
            const Range r = unary();
            return {-r.hi, -r.lo};
        }
        return power();
    }
    Range power() {
        Range base = postfix();
        if (!take("^")) return base;
        const Range e = unary();
        if (base.lo <= 0) fail("power of a range not above 0");
        return corners(std::pow(base.lo, e.lo), std::pow(base.lo, e.hi), std::pow(base.hi, e.lo),
                       std::pow(base.hi, e.hi));
    }
    Range postfix() {
        Range r = primary();
        while (take("²")) {
            const double a = r.lo * r.lo, b = r.hi * r.hi;
            r = (r.lo <= 0 && r.hi >= 0) ? Range{0, std::max(a, b)}
                                         : Range{std::min(a, b), std::max(a, b)};
        }
        return r;
    }
    Range primary() {
        if (take("π")) return {std::numbers::pi, std::numbers::pi};
        if (take("√(")) {
            const Range r = sum();
            expect(")");
            if (r.hi < 0) fail("square root of a negative range");
            return {std::sqrt(std::max(r.lo, 0.0)), std::sqrt(r.hi)};
        }
        if (take("ln(")) {
            const Range r = sum();
            expect(")");
            if (r.hi <= 0) fail("logarithm of a range not above 0");
            return {r.lo > 0 ? std::log(r.lo) : -HUGE_VAL, std::log(r.hi)};
        }
        if (take("(")) {
            const Range r = sum();
            expect(")");
            return r;
        }
        return number();
    }
    Range number() {
        const std::size_t start = m_i;
        bool digits = false, point = false;
        while (m_i < m_s.size()) {
            const char c = m_s[m_i];
            if (c >= '0' && c <= '9') {
                digits = true;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                break;
            }
            ++m_i;
        }
        if (!digits) fail("expected a number");
        if (m_i < m_s.size() && m_s[m_i] == 'E') {
            ++m_i;
            if (!take("+") && !take("-")) fail("expected the exponent's sign");
            const std::size_t e = m_i;
            while (m_i < m_s.size() && m_s[m_i] >= '0' && m_s[m_i] <= '9') ++m_i;
            if (m_i - e < 2) fail("expected two exponent digits");
        }
        return shownRange(std::stod(std::string(m_s.substr(start, m_i - start))));
    }

    std::string_view m_s;
    std::size_t m_i = 0;
};

// Whether the shown value `value` is what `substituted` gives: the value's own range
// (widened by one single-precision rounding of the stored result) meets the expression's.
inline bool evaluatesTo(std::string_view substituted, std::string_view value) {
    const Range expr = Evaluator(substituted).evaluate();
    const double v = std::stod(std::string(value));
    Range shown = shownRange(v);
    const double stored = std::fabs(v) * 1.2e-7;  // a float store rounds by < 2^-23 relative
    shown = {shown.lo - stored, shown.hi + stored};
    return expr.contains(shown);
}

}  // namespace tervalen::testing
