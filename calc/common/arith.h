#pragma once
// Arithmetic shared by every computation unit: the single-precision store, and the
// steps that can fail (square root, logarithm, division, overflow). A failed step
// throws ArithmeticFailure naming the quantity being computed; the form shows it.

#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace tervalen {

class ArithmeticFailure : public std::runtime_error {
public:
    enum class Kind { NegativeRoot, LogOfNonPositive, DivisionByZero, Overflow };
    ArithmeticFailure(Kind kind, std::string_view quantity);
    Kind kind() const { return m_kind; }
    const std::string& quantity() const { return m_quantity; }

private:
    Kind m_kind;
    std::string m_quantity;
};

// Stores a double-precision value as the single-precision number it is kept as.
// A value outside the single-precision range (or not a number) cannot be stored.
float single(double x, std::string_view quantity = "结果");

// Square root in double precision; a negative argument is a failed step.
double root(double x, std::string_view quantity);
// Natural logarithm in double precision; zero or a negative argument is a failed step.
double ln(double x, std::string_view quantity);
// a / b in double precision; b = 0 is a failed step.
double quotient(double a, double b, std::string_view quantity);

// A calculation refused by one of the form's checks: the exact text of one message.
struct Refusal {
    std::string text;
    bool operator==(const Refusal&) const = default;
};

// Either the unit's results or its refusal.
template <class R>
using Outcome = std::variant<R, Refusal>;

// Two-line message: the short headline, one line feed, the explanation.
inline std::string twoLines(std::string_view headline, std::string_view explanation) {
    std::string s(headline);
    s += '\n';
    s += explanation;
    return s;
}

}  // namespace tervalen
