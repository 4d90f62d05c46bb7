// The entries the selectors offer, and the captions of the body rows.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace almanac {

// Position 0 is the prompt; position k (1..12) is the k-th sign from Aries.
inline constexpr std::array<std::string_view, 13> kSignEntries{
    "Select Sign", "Aries",   "Taurus",      "Gemini",   "Cancer",   "Leo",    "Virgo",
    "Libra",       "Scorpio", "Sagittarius", "Capricon", "Aquarius", "Pisces",
};

inline constexpr std::string_view kNumberPrompt = "----";

// "----", then "0" to "count - 1" in plain decimal: position k holds k - 1.
inline std::vector<std::string> numberEntries(int count) {
    std::vector<std::string> entries{std::string(kNumberPrompt)};
    for (int n = 0; n < count; ++n)
        entries.push_back(std::to_string(n));
    return entries;
}

// Captions of body rows 0..3.
inline constexpr std::array<std::string_view, 4> kBodyCaptions{"Sun", "Moon", "AK", "AmK"};

} // namespace almanac
