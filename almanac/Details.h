// What an astrologer reads beside the captions: which half of the month, how far into each tithi,
// yoga, karana and nakshatra, the nakshatra's pada and Vimshottari lord. Whole numbers from the same
// whole arc-minutes as the captions.
#pragma once

#include "almanac/Pair.h"

#include <string_view>

namespace almanac {

inline constexpr int kMinutesPerTithi = kDegreesPerTithi * kMinutesPerDegree;   // 720
inline constexpr int kMinutesPerKarana = kDegreesPerKarana * kMinutesPerDegree; // 360
inline constexpr int kMinutesPerPada = kMinutesPerNakshatra / 4;                // 200
inline constexpr int kTithisPerPaksha = 15;

enum class Paksha { Shukla, Krishna };

// How far a quantity has come through its current span, and whether that is sure: the positions are
// whole arc-minutes, so a value within one arc-minute of either end of its span may lie in the next.
struct Progress {
    int percent = 0; // whole percent, rounded down: 0..99
    bool uncertain = false;

    friend constexpr bool operator==(const Progress&, const Progress&) = default;
};

// `offset`: minutes into a span of `span` minutes, 0..span-1.
constexpr Progress progressThrough(int offset, int span) {
    return {offset * 100 / span, offset == 0 || offset == span - 1};
}

struct PairDetails {
    Paksha paksha = Paksha::Shukla;
    int tithiInPaksha = 1; // 1..15
    Progress tithi;
    Progress yoga;
    Progress karana;
    // The second body's nakshatra: shown for the outer pair only, where the second body is the Moon.
    int pada = 1; // 1..4
    Progress nakshatra;
    bool padaUncertain = false;

    friend constexpr bool operator==(const PairDetails&, const PairDetails&) = default;
};

// second: the second body's longitude in minutes, 0..21599; pair: computePair() of the same positions.
constexpr PairDetails pairDetails(const PairResult& pair, int second) {
    PairDetails d;
    d.paksha = pair.tithi < kTithisPerPaksha ? Paksha::Shukla : Paksha::Krishna;
    d.tithiInPaksha = pair.tithi % kTithisPerPaksha + 1;
    // The tithi and the karana run on whole degrees of elongation, so their spans start on whole degrees.
    d.tithi = progressThrough(pair.elongation - pair.tithi * kMinutesPerTithi, kMinutesPerTithi);
    d.karana = progressThrough(pair.elongation - pair.karana * kMinutesPerKarana, kMinutesPerKarana);
    d.yoga = progressThrough(pair.positionSum % kMinutesPerNakshatra, kMinutesPerNakshatra);
    const int intoNakshatra = second % kMinutesPerNakshatra;
    d.nakshatra = progressThrough(intoNakshatra, kMinutesPerNakshatra);
    d.pada = intoNakshatra / kMinutesPerPada + 1;
    d.padaUncertain = progressThrough(intoNakshatra % kMinutesPerPada, kMinutesPerPada).uncertain;
    return d;
}

constexpr std::string_view pakshaName(Paksha paksha) {
    return paksha == Paksha::Shukla ? "Shukla" : "Krishna";
}

// The Vimshottari lord of nakshatra `nakshatra` (0 Ashwini .. 26 Revati): the nine lords in their
// order, three times round the zodiac.
constexpr std::string_view vimshottariLord(int nakshatra) {
    constexpr std::string_view kLords[] = {"Ketu", "Venus",   "Sun",    "Moon",   "Mars",
                                           "Rahu", "Jupiter", "Saturn", "Mercury"};
    return kLords[nakshatra % 9];
}

} // namespace almanac
