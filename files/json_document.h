#pragma once
// A JSON document the user gave (a project, a site), read whole or refused with one line
// that says where it goes wrong: empty, cut short, not JSON (with the line and column), a
// NUL byte, a number too large for a double, a key twice in one object. The keys of the
// file formats themselves are each format's own.

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tervalen::files {

// A document that cannot be read as JSON; what() is one line in Chinese ("不是有效的
// JSON，第 3 行第 7 列有误").
class JsonDocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The document in the text; throws JsonDocumentError. A key that an object has twice is
// refused (which one counts would be a guess, and the next save would lose the other).
nlohmann::json jsonDocument(std::string_view text);

// The line and column (1-based, in characters) of a byte of the text: "第 2 行第 5 列".
std::string placeOf(std::string_view text, std::size_t byte);

// A name or text from a file, quoted in a message: “…”, one line, cut after `max`
// characters.
std::string inQuotes(std::string_view text, std::size_t max = 60);

}  // namespace tervalen::files
