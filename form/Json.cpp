#include "form/Json.h"

#include <cstdio>
#include <istream>

namespace form {

std::string jsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

int JsonReader::peek() {
    return m_in.peek();
}

int JsonReader::get() {
    const int c = m_in.get();
    if (c == '\n')
        ++m_line;
    return c;
}

void JsonReader::skipSpace() {
    for (int c = peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = peek())
        get();
}

bool JsonReader::take(char c) {
    skipSpace();
    if (peek() != static_cast<unsigned char>(c))
        return false;
    get();
    return true;
}

void JsonReader::expect(char c) {
    if (!take(c))
        fail(std::string("expected '") + c + "'");
}

bool JsonReader::atEnd() {
    skipSpace();
    return peek() == std::char_traits<char>::eof();
}

void JsonReader::fail(const std::string& what) const {
    throw JsonError(m_line, what);
}

std::string JsonReader::readString() {
    expect('"');
    std::string text;
    const auto hex4 = [&] {
        std::uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const int c = get();
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                fail("a \\u escape needs four hexadecimal digits");
            code = code * 16 + static_cast<std::uint32_t>(digit);
        }
        return code;
    };
    for (;;) {
        const int c = get();
        if (c == std::char_traits<char>::eof())
            fail("a string runs to the end of the file");
        if (c == '"')
            return text;
        if (c == '\n' || (c >= 0 && c < 0x20))
            fail("a string holds a control character; write it as an escape");
        if (c != '\\') {
            text += static_cast<char>(c);
            continue;
        }
        switch (const int e = get()) {
        case '"':
        case '\\':
        case '/':
            text += static_cast<char>(e);
            break;
        case 'b':
            text += '\b';
            break;
        case 'f':
            text += '\f';
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'u': {
            std::uint32_t code = hex4();
            if (code >= 0xD800 && code < 0xDC00) { // the first half of a character beyond the BMP
                if (get() != '\\' || get() != 'u')
                    fail("half of a surrogate pair");
                const std::uint32_t low = hex4();
                if (low < 0xDC00 || low >= 0xE000)
                    fail("half of a surrogate pair");
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            appendUtf8(text, code);
            break;
        }
        default:
            fail("an unknown escape in a string");
        }
    }
}

JsonReader::Scalar JsonReader::readScalar() {
    skipSpace();
    const int c = peek();
    if (c == '"')
        return readString();
    if (c == 'n') {
        for (const char letter : std::string_view("null"))
            if (get() != letter)
                fail("expected null");
        return std::monostate{};
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
        std::string digits;
        for (int d = peek(); d == '-' || (d >= '0' && d <= '9'); d = peek())
            digits += static_cast<char>(get());
        if (peek() == '.' || peek() == 'e' || peek() == 'E')
            fail("expected a whole number");
        try {
            return static_cast<std::int64_t>(std::stoll(digits));
        } catch (const std::exception&) {
            fail("\"" + digits + "\" is not a whole number");
        }
    }
    fail("expected a string, a whole number or null");
}

} // namespace form
