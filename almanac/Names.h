// Names for what the reference tables do not hold: the nakshatras as the charts and the command line
// name them (spelt as the stored table spells them), the signs by their Sanskrit names, and the varas.
#pragma once

#include <array>
#include <string_view>

namespace almanac {

// 0 Ashwini .. 26 Revati.
inline constexpr std::array<std::string_view, 27> kNakshatraNames{"Ashwini",
                                                                  "Bharani",
                                                                  "Krittika",
                                                                  "Rohini",
                                                                  "Mrigashira",
                                                                  "Ardra",
                                                                  "Punarvasu",
                                                                  "Pushya",
                                                                  "Ashlesha",
                                                                  "Magha",
                                                                  "Purva Phalguni",
                                                                  "Uttara Phalguni",
                                                                  "Hasta",
                                                                  "Chitra",
                                                                  "Swati",
                                                                  "Vishakha",
                                                                  "Anuradha",
                                                                  "Jyeshtha",
                                                                  "Mula",
                                                                  "Purva Ashadha",
                                                                  "Uttara Ashadha",
                                                                  "Shravana",
                                                                  "Dhanishtha",
                                                                  "Shatabhisha",
                                                                  "Purva Bhadrapada",
                                                                  "Uttara Bhadrapada",
                                                                  "Revati"};

// 0 Mesha (Aries) .. 11 Meena (Pisces).
inline constexpr std::array<std::string_view, 12> kRasiNames{"Mesha", "Vrishabha", "Mithuna", "Karka",
                                                             "Simha", "Kanya",     "Tula",    "Vrishchika",
                                                             "Dhanu", "Makara",    "Kumbha",  "Meena"};

// The signs' English names as a person writes them, 0 Aries .. 11 Pisces. (The selectors keep their own
// entries, "Capricon" among them.)
inline constexpr std::array<std::string_view, 12> kSignNames{
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

// The weekday of the Hindu day, 0 Sunday .. 6 Saturday: "Ravi (Sunday)".
inline constexpr std::array<std::string_view, 7> kVaraNames{
    "Ravi (Sunday)",   "Soma (Monday)",   "Mangala (Tuesday)", "Budha (Wednesday)",
    "Guru (Thursday)", "Shukra (Friday)", "Shani (Saturday)"};

} // namespace almanac
