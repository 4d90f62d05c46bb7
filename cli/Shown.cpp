#include "cli/Shown.h"

#include <cstddef>

namespace cli {

namespace {

void octal(std::string& out, unsigned char byte) {
    out += '\\';
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

// The length of the valid UTF-8 sequence of two to four bytes at the start of `text`, or 0. Overlong
// forms, surrogates and code points past U+10FFFF are not valid.
std::size_t sequenceLength(std::string_view text, char32_t& code) {
    const auto byte = [&](std::size_t at) {
        return static_cast<unsigned char>(text[at]);
    };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length)
        return 0;
    code = lead & (0x7F >> length);
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

std::string escaped(std::string_view text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            char32_t code = 0;
            const std::size_t length = sequenceLength(text.substr(at), code);
            if (length != 0 && code >= 0xA0) {
                out.append(text.substr(at, length));
                at += length;
                continue;
            }
            for (std::size_t byte = 0; byte < (length == 0 ? 1 : length); ++byte)
                octal(out, static_cast<unsigned char>(text[at + byte]));
            at += length == 0 ? 1 : length;
            continue;
        }
        ++at;
        constexpr std::string_view kNamed = "abtnvfr"; // the controls 7 to 13
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n' && keepLineBreaks)
            out += '\n';
        else if (c >= 7 && c <= 13)
            out.append({'\\', kNamed[c - 7]});
        else if (c < 0x20 || c == 0x7F)
            octal(out, c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

} // namespace

std::string shown(std::string_view text, bool terminal) {
    return terminal ? escaped(text, false) : std::string(text);
}

std::string shownMessage(std::string_view text, bool terminal) {
    return terminal ? escaped(text, true) : std::string(text);
}

} // namespace cli
