// Names where no reference table is at hand (the charts, the command line, the day's panchanga): the
// tithis, nakshatras, yogas and karanas spelt as the stored tables spell them, the signs by their
// Sanskrit and English names, the lunar months and the varas.
#pragma once

#include <array>
#include <cstddef>
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

// 0 Shukla Pratipada .. 14 Purnima, 15 Krishna Pratipada .. 29 Amavasya, spelt as the stored table
// spells them.
inline constexpr std::array<std::string_view, 30> kTithiNames{
    "Shukla Pratipada",  "Shukla Dwitiya",   "Shukla Tritiya",     "Shukla Chaturthi",    "Shukla Panchami",
    "Shukla Shashthi",   "Shukla Saptami",   "Shukla Ashtami",     "Shukla Navami",       "Shukla Dashami",
    "Shukla Ekadashi",   "Shukla Dwadashi",  "Shukla Trayodashi",  "Shukla Chaturdashi",  "Purnima",
    "Krishna Pratipada", "Krishna Dwitiya",  "Krishna Tritiya",    "Krishna Chaturthi",   "Krishna Panchami",
    "Krishna Shashthi",  "Krishna Saptami",  "Krishna Ashtami",    "Krishna Navami",      "Krishna Dashami",
    "Krishna Ekadashi",  "Krishna Dwadashi", "Krishna Trayodashi", "Krishna Chaturdashi", "Amavasya"};

// 0 Vishkumbha .. 26 Vaidhriti.
inline constexpr std::array<std::string_view, 27> kYogaNames{
    "Vishkumbha", "Priti",  "Ayushman",  "Saubhagya", "Shobhana", "Atiganda", "Sukarma",
    "Dhriti",     "Shula",  "Ganda",     "Vriddhi",   "Dhruva",   "Vyaghata", "Harshana",
    "Vajra",      "Siddhi", "Vyatipata", "Variyan",   "Parigha",  "Shiva",    "Siddha",
    "Sadhya",     "Shubha", "Shukla",    "Brahma",    "Indra",    "Vaidhriti"};

// The karana of half-tithi `index` (0..59) of the lunar month: the fixed Kimstughna first, the seven
// movable ones eight times over, then the fixed Shakuni, Chatushpada and Naga.
constexpr std::string_view karanaName(int index) {
    constexpr std::array<std::string_view, 7> kMovable{"Bava", "Balava", "Kaulava", "Taitila",
                                                       "Gara", "Vanija", "Vishti"};
    if (index == 0)
        return "Kimstughna";
    if (index >= 57)
        return index == 57 ? "Shakuni" : index == 58 ? "Chatushpada" : "Naga";
    return kMovable[static_cast<std::size_t>((index - 1) % 7)];
}

// The lunar months, amanta, 0 Chaitra .. 11 Phalguna: named by the sign the Sun stands in at the new
// moon that begins the month, Chaitra for Pisces, Vaishakha for Aries, and so on.
inline constexpr std::array<std::string_view, 12> kMonthNames{
    "Chaitra", "Vaishakha", "Jyeshtha",     "Ashadha", "Shravana", "Bhadrapada",
    "Ashvin",  "Kartika",   "Margashirsha", "Pausha",  "Magha",    "Phalguna"};

// The weekday of the Hindu day, 0 Sunday .. 6 Saturday: "Ravi (Sunday)".
inline constexpr std::array<std::string_view, 7> kVaraNames{
    "Ravi (Sunday)",   "Soma (Monday)",   "Mangala (Tuesday)", "Budha (Wednesday)",
    "Guru (Thursday)", "Shukra (Friday)", "Shani (Saturday)"};

} // namespace almanac
