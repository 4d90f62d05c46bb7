// Letters as the program's own words and file formats spell them: ASCII only, whatever the locale.
// Any other byte, such as one of a UTF-8 sequence, is no letter and stays as it is; <cctype> would
// follow the locale and is undefined for the negative chars those bytes are.
#pragma once

#include <algorithm>
#include <string_view>

namespace almanac {

constexpr bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII white space: space, tab, line feed, vertical tab, form feed, carriage return. Dropped from both
// ends of a field alike by the window (whose text boxes drop other Unicode spaces too), the command line
// and an import.
constexpr bool isAsciiBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr std::string_view trimmedAscii(std::string_view text) {
    while (!text.empty() && isAsciiBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isAsciiBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The same text but for the case of ASCII letters.
constexpr bool sameAsciiLetters(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

} // namespace almanac
