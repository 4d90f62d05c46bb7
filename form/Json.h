// The little JSON the program reads and writes, by hand: no library for so little.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace form {

// `text` as a quoted JSON string: quote, backslash and control characters escaped, other UTF-8 as is.
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

// Reads JSON from a stream a token at a time, counting lines: enough for arrays of flat objects.
class JsonReader {
public:
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

} // namespace form
