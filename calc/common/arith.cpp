#include "calc/common/arith.h"

#include <cfloat>
#include <cmath>

namespace tervalen {

ArithmeticFailure::ArithmeticFailure(Kind kind, std::string_view quantity)
    : std::runtime_error(std::string(quantity)), m_kind(kind), m_quantity(quantity) {}

float single(double x, std::string_view quantity) {
    if (!std::isfinite(x) || std::fabs(x) > static_cast<double>(FLT_MAX)) {
        // Values just above FLT_MAX still round down to it; anything that would
        // round to infinity cannot be stored.
        const float f = static_cast<float>(x);
        if (!std::isfinite(f)) throw ArithmeticFailure(ArithmeticFailure::Kind::Overflow, quantity);
        return f;
    }
    return static_cast<float>(x);
}

double root(double x, std::string_view quantity) {
    if (std::isnan(x) || x < 0)
        throw ArithmeticFailure(ArithmeticFailure::Kind::NegativeRoot, quantity);
    if (std::isinf(x)) throw ArithmeticFailure(ArithmeticFailure::Kind::Overflow, quantity);
    return std::sqrt(x);
}

double ln(double x, std::string_view quantity) {
    if (std::isnan(x) || x <= 0)
        throw ArithmeticFailure(ArithmeticFailure::Kind::LogOfNonPositive, quantity);
    if (std::isinf(x)) throw ArithmeticFailure(ArithmeticFailure::Kind::Overflow, quantity);
    return std::log(x);
}

double quotient(double a, double b, std::string_view quantity) {
    if (b == 0) throw ArithmeticFailure(ArithmeticFailure::Kind::DivisionByZero, quantity);
    const double q = a / b;
    if (!std::isfinite(q)) throw ArithmeticFailure(ArithmeticFailure::Kind::Overflow, quantity);
    return q;
}

}  // namespace tervalen
