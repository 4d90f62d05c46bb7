#include "cli/Shown.h"

#include "charts/Json.h"

#include <cstddef>

namespace cli {

namespace {

void octal(std::string& out, unsigned char byte) {
    out += '\\';
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

std::string escaped(std::string_view text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            // A character kept as it is, but for the C1 controls U+0080 to U+009F (C2 80 to C2 9F).
            const std::size_t length = charts::utf8Length(text.substr(at));
            const bool control = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
            if (length != 0 && !control) {
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
