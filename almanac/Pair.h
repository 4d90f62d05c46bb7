// The almanac arithmetic of one pair of bodies: whole numbers only, no tables, no side effects.
//
// Every position is a longitude in minutes of arc counted from 0 degrees Aries (sidereal), so a whole
// circle is 21600. The indices returned are 0-based rows of the reference tables (tithi, rashi,
// nakshatra, yoga, karana) in their traditional order.
#pragma once

namespace almanac {

inline constexpr int kMinutesPerDegree = 60;
inline constexpr int kDegreesPerSign = 30;
inline constexpr int kSignsPerCircle = 12;
inline constexpr int kMinutesPerCircle = 360 * kMinutesPerDegree; // 21600
inline constexpr int kDegreesPerTithi = 12;
inline constexpr int kDegreesPerKarana = 6;
inline constexpr int kMinutesPerNakshatra = 800; // 13 degrees 20 minutes, also one yoga step

inline constexpr int kTithiCount = 30;
inline constexpr int kNakshatraCount = 27;
inline constexpr int kYogaCount = 27;
inline constexpr int kKaranaCount = 60;

// Longitude in minutes, 0..21599, from sign (0 Aries..11 Pisces), degrees (0..29) and minutes (0..59).
constexpr int longitudeMinutes(int sign, int degrees, int minutes) {
    return (sign * kDegreesPerSign + degrees) * kMinutesPerDegree + minutes;
}

// What one pair yields. The first body plays the Sun, the second the Moon.
struct PairResult {
    int elongation = 0;        // E: second minus first, minutes 0..21599
    int elongationDegrees = 0; // G: whole degrees of E, 0..359
    int elongationMinutes = 0; // M: minutes left over, 0..59
    int elongationSign = 0;    // S: whole signs of E, 0..11 (a rashi row)
    int degreesInSign = 0;     // D: degrees of E within its sign, 0..29
    int tithi = 0;             // T: 12 degrees of elongation each, 0..29
    int nakshatra = 0;         // N: of the second body alone, 0..26
    int positionSum = 0;       // P: first plus second, minutes 0..21599
    int yoga = 0;              // Y: 800 minutes of P each, 0..26
    int karana = 0;            // K: half a tithi each, 0..59

    friend constexpr bool operator==(const PairResult&, const PairResult&) = default;
};

// first, second: longitudes in minutes, 0..21599.
constexpr PairResult computePair(int first, int second) {
    PairResult r;
    r.elongation = second >= first ? second - first : second - first + kMinutesPerCircle;
    r.elongationDegrees = r.elongation / kMinutesPerDegree;
    r.elongationMinutes = r.elongation % kMinutesPerDegree;
    r.elongationSign = r.elongationDegrees / kDegreesPerSign;
    r.degreesInSign = r.elongationDegrees % kDegreesPerSign;
    // Tithi, sign and karana all come from whole degrees, so the leftover minutes never move them.
    r.tithi = r.elongationDegrees / kDegreesPerTithi;
    r.karana = r.elongationDegrees / kDegreesPerKarana;
    r.nakshatra = second / kMinutesPerNakshatra;
    r.positionSum = first + second;
    if (r.positionSum >= kMinutesPerCircle)
        r.positionSum -= kMinutesPerCircle;
    r.yoga = r.positionSum / kMinutesPerNakshatra;
    return r;
}

} // namespace almanac
