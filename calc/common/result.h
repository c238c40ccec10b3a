#pragma once
// What an operation that may fail for a reason the user reads came to: writing or reading a
// file, reading a requirement the user typed. Either its value (nothing, for Result<>) or
// one line that says why not. The one way such a failure travels in the program; a fault
// of the program itself is an exception derived from std::exception instead.
//
//   if (const Result<> done = files::writeAtomically(path, text); !done)
//       complain(done.why());

#include <string>
#include <utility>
#include <variant>

namespace tervalen {

// Why an operation did not do what was asked: one line, for the user.
struct Failure {
    std::string why;
};

template <class T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : m(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m(std::in_place_index<1>, Failure{std::move(failure.why)}) {}

    bool ok() const { return m.index() == 0; }
    explicit operator bool() const { return ok(); }
    // The value; only when ok() (std::bad_variant_access otherwise).
    const T& value() const& { return std::get<0>(m); }
    T& value() & { return std::get<0>(m); }
    T&& value() && { return std::get<0>(std::move(m)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    // Why not; empty when ok().
    const std::string& why() const {
        static const std::string none;
        return ok() ? none : std::get<1>(m).why;
    }

private:
    std::variant<T, Failure> m;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;  // done
    Result(Failure failure) : m_why(std::move(failure.why)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& why() const { return m_why; }  // empty when ok()

private:
    std::string m_why;
    bool m_failed = false;
};

}  // namespace tervalen
