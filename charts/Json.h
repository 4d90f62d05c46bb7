// The little JSON the program reads and writes, by hand: no library for so little.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace charts {

// True when `text` is UTF-8 throughout: no stray or missing continuation byte, no overlong form, no
// surrogate, nothing past U+10FFFF.
bool isUtf8(std::string_view text);
// The length of the UTF-8 character `text` begins with, by the same rules; 0 when it begins with none.
std::size_t utf8Length(std::string_view text);

// Text as it is exchanged: as it is when it is UTF-8 and does not begin with a backslash; otherwise a
// backslash, then the text with each backslash doubled and each byte outside a UTF-8 character written
// \xHH, so that a name an older file kept in other bytes goes out as UTF-8 and comes back the same.
std::string exchangedText(std::string_view text);
// The text exchangedText() wrote; none for anything exchangedText() would not have written.
std::optional<std::string> textOfExchanged(std::string_view written);

// `text` as a quoted JSON string: quote, backslash and control characters escaped, other UTF-8 as is.
// Text that is not UTF-8 is written as exchangedText() gives it.
std::string jsonString(std::string_view text);

// What a JSON reader could not take, and on which line.
class JsonError : public std::runtime_error {
public:
    JsonError(int line, const std::string& what)
        : std::runtime_error(what)
        , m_line(line) {}
    int line() const { return m_line; }

private:
    int m_line;
};

// Reads JSON (RFC 8259) from a stream a token at a time, counting lines: enough for arrays of flat
// objects. Strings are UTF-8 and at most kMaxString bytes; numbers follow the RFC's grammar.
class JsonReader {
public:
    static constexpr std::size_t kMaxString = std::size_t{1} << 20;

    // A value inside an object: null, a whole number, or text.
    using Scalar = std::variant<std::monostate, std::int64_t, std::string>;

    explicit JsonReader(std::istream& in)
        : m_in(in) {}

    int line() const { return m_line; }
    // Skips white space; true (and takes it) when the next character is `c`.
    bool take(char c);
    // As take(), but anything else is an error.
    void expect(char c);
    // True once only white space is left.
    bool atEnd();
    std::string readString();
    Scalar readScalar();
    [[noreturn]] void fail(const std::string& what) const;

private:
    int peek();
    int get();
    void skipSpace();

    std::istream& m_in;
    int m_line = 1;
};

} // namespace charts
