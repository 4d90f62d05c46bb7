#include "charts/Json.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <istream>

namespace charts {

namespace {

int hexDigit(int c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

} // namespace

std::size_t utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t at) {
        return static_cast<unsigned char>(text[at]);
    };
    if (text.empty())
        return 0;
    const unsigned lead = byte(0);
    if (lead < 0x80)
        return 1;
    // The length by the lead byte, and the range of the second byte that rules out overlong forms,
    // surrogates and code points past U+10FFFF.
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t at = 2; at < length; ++at)
        if (byte(at) < 0x80 || byte(at) > 0xBF)
            return 0;
    return length;
}

bool isUtf8(std::string_view text) {
    for (std::size_t length = 0; !text.empty(); text.remove_prefix(length))
        if ((length = utf8Length(text)) == 0)
            return false;
    return true;
}

std::string exchangedText(std::string_view text) {
    if (!text.starts_with('\\') && isUtf8(text))
        return std::string(text);
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string written = "\\";
    while (!text.empty()) {
        const std::size_t length = utf8Length(text);
        const auto byte = static_cast<unsigned char>(text.front());
        if (length == 0)
            written.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
        else if (byte == '\\')
            written += "\\\\";
        else
            written += text.substr(0, length);
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return written;
}

std::optional<std::string> textOfExchanged(std::string_view written) {
    if (!written.starts_with('\\'))
        return std::string(written);
    std::string text;
    for (std::size_t at = 1; at < written.size(); ++at) {
        if (written[at] != '\\') {
            text += written[at];
        } else if (at + 1 < written.size() && written[at + 1] == '\\') {
            text += '\\';
            ++at;
        } else if (at + 3 < written.size() && written[at + 1] == 'x' && hexDigit(written[at + 2]) >= 0 &&
                   hexDigit(written[at + 3]) >= 0) {
            text += static_cast<char>(hexDigit(written[at + 2]) * 16 + hexDigit(written[at + 3]));
            at += 3;
        } else {
            return std::nullopt;
        }
    }
    // Only the form an export writes: each name has one, so no two written texts are the same name.
    if (exchangedText(text) != written)
        return std::nullopt;
    return text;
}

std::string jsonString(std::string_view given) {
    const std::string exchanged = isUtf8(given) ? std::string() : exchangedText(given);
    const std::string_view text = exchanged.empty() ? given : std::string_view(exchanged);
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

// -? (0 | [1-9][0-9]*) (.[0-9]+)? ([eE][+-]?[0-9]+)?
bool isNumber(std::string_view token) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t first = at;
        while (at < token.size() && token[at] >= '0' && token[at] <= '9')
            ++at;
        return at > first;
    };
    const auto skip = [&](std::string_view any) {
        const bool found = at < token.size() && any.find(token[at]) != std::string_view::npos;
        at += found;
        return found;
    };
    skip("-");
    if (!skip("0") && !digits())
        return false;
    if (skip(".") && !digits())
        return false;
    if (skip("eE")) {
        skip("+-");
        if (!digits())
            return false;
    }
    return at == token.size();
}

constexpr std::size_t kMaxNumber = 40;

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
            const int digit = hexDigit(get());
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
        if (c == '"') {
            if (!isUtf8(text))
                fail("a string holds bytes that are not UTF-8 text");
            return text;
        }
        if (text.size() >= kMaxString)
            fail("a string longer than 1 MiB");
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
            } else if (code >= 0xDC00 && code < 0xE000) {
                fail("half of a surrogate pair");
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
        // All that could belong to a number, then the RFC's grammar on it: "5-3" is no number.
        std::string token;
        for (int d = peek();
             d == '-' || d == '+' || d == '.' || d == 'e' || d == 'E' || (d >= '0' && d <= '9'); d = peek()) {
            if (token.size() == kMaxNumber)
                fail("a number longer than " + std::to_string(kMaxNumber) + " characters");
            token += static_cast<char>(get());
        }
        if (!isNumber(token))
            fail("\"" + token + "\" is not a number");
        // A number with a fraction or an exponent comes as its text, for the column to read as it reads
        // text: a latitude takes 13.0827, a degree refuses 1.0 naming itself.
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (ec != std::errc{} || end != token.data() + token.size())
            return token;
        return value;
    }
    if (c == '[' || c == '{')
        fail("a value here is a string, a number or null, not a list or an object");
    fail("expected a string, a number or null");
}

} // namespace charts
