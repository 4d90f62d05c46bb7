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

// The same text but for the case of ASCII letters.
constexpr bool sameAsciiLetters(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

} // namespace almanac
