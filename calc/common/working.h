#pragma once
// The working of a calculation, written by the unit at the lines that compute it, so that
// the formula shown and the formula computed live in one place: for each step the formula
// in symbols, the same formula with the numbers put in, and the value with its unit;
// checks that passed and searches are steps with a note only.
//
// A formula is written once, as a pattern whose operands are named in braces:
//     "√({H}×(2×{Hr}−{H}))"
// gives the formula "√(H×(2×Hr−H))" and, with H = 20 and Hr = 30, the substituted
// expression "√(20×(2×30−20))". Numbers are put in as shown: 7 significant digits.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tervalen {

struct Step {
    std::string symbol;       // "Rx"
    std::string formula;      // in symbols; empty for a check or a search
    std::string substituted;  // the formula with the numbers put in; empty likewise
    std::string value;        // as shown, without a leading space
    std::string unit;         // "m", "Ω", "次/a"…; may be empty
    std::string note;         // a check that passed, what a search did, a chart band…
    bool operator==(const Step&) const = default;
};
using Working = std::vector<Step>;

// A value as a result box shows it (C's %.7G, "E" for the exponent), without the
// leading space; negative zero shows as "0". A float passes through double unchanged,
// so shown(float) is exactly the result box's text.
std::string shown(double value);
// The same, rounded up in its last shown digit where showing it would round it down: a
// height a design must reach is never stated lower than it is.
std::string shownUp(double value);

// The rolling-sphere reach of a height as a pattern: reachOf("{H}") is
// "√({H}×(2×{Hr}−{H}))", the operations reach() performs.
std::string reachOf(std::string_view h);

// One named operand of a pattern and the value put in for it.
using Operand = std::pair<std::string_view, double>;

// The formula of a pattern, in symbols ("{H}" → "H").
std::string formulaOf(std::string_view pattern);
// The pattern with the operands' shown values put in; a negative value is put in
// parentheses. An operand the pattern names but the list lacks is a programming error
// (std::logic_error).
std::string substitute(std::string_view pattern, std::initializer_list<Operand> operands);

// Collects a unit's steps in the order it computes them.
class Recorder {
public:
    // A computed step: `symbol` = pattern, worked with the operands, giving `value`.
    void step(std::string symbol, std::string_view pattern, std::initializer_list<Operand> operands,
              double value, std::string unit);
    // A value stated without a formula (an input derived from a choice, a table value).
    void value(std::string symbol, double value, std::string unit, std::string note = {});
    // A check that passed, or what a search did: a note only.
    void note(std::string text);
    // A comparison that held, with the values compared: "H = 20 ≤ Hr = 30".
    void check(std::string_view lhs, double l, std::string_view relation, std::string_view rhs,
               double r, std::string_view consequence = {});
    // An upward search in 0.01 m steps that met its requirement: "自 H = 0 起以 0.01 m 为步长
    // 向上试算，至 H = 16.10027 时满足 Rx ≥ Rxo = 10".
    void search(std::string_view name, double start, double found, std::string_view requirement);
    // The steps of another unit this one builds on, in their order.
    void append(const Working& steps);

    const Working& working() const { return m_working; }
    Working take() { return std::move(m_working); }

private:
    Working m_working;
};

}  // namespace tervalen
