// The pair arithmetic: worked examples from the almanac rules, then sweeps over the whole circle.
#include "almanac/Pair.h"

#include "almanac/Details.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using almanac::computePair;
using almanac::longitudeMinutes;
using almanac::PairResult;

namespace {

constexpr int kCircle = almanac::kMinutesPerCircle;

struct LongitudeCase {
    int sign, degrees, minutes, expected;
};

// Sign number 0 is Aries; "Taurus 24 30" is the worked example used throughout.
constexpr LongitudeCase kLongitudes[] = {
    {0, 0, 0, 0},        // Aries 0 0
    {11, 29, 59, 21599}, // Pisces 29 59
    {1, 24, 30, 3270},   // Taurus 24 30
};

TEST(Longitude, WorkedExamples) {
    for (const auto& c : kLongitudes) {
        SCOPED_TRACE(testing::Message() << c.sign << " " << c.degrees << " " << c.minutes);
        EXPECT_EQ(longitudeMinutes(c.sign, c.degrees, c.minutes), c.expected);
    }
}

TEST(Longitude, EveryPositionMapsOntoItsOwnMinuteInOrder) {
    int expected = 0;
    for (int sign = 0; sign < 12; ++sign)
        for (int degrees = 0; degrees < 30; ++degrees)
            for (int minutes = 0; minutes < 60; ++minutes)
                ASSERT_EQ(longitudeMinutes(sign, degrees, minutes), expected++)
                    << sign << " " << degrees << " " << minutes;
    EXPECT_EQ(expected, kCircle);
}

struct PairCase {
    const char* what;
    int first, second;
    PairResult expected; // E, G, M, S, D, T, N, P, Y, K
};

const PairCase kPairs[] = {
    {"equal longitudes", 5000, 5000, {0, 0, 0, 0, 0, 0, 6, 10000, 12, 0}},
    {"Moon one minute behind: the largest elongation", 1, 0, {21599, 359, 59, 11, 29, 29, 0, 1, 0, 59}},
    {"Moon 12 degrees ahead: second tithi", 0, 720, {720, 12, 0, 0, 12, 1, 0, 720, 0, 2}},
    {"one minute short of 12 degrees", 0, 719, {719, 11, 59, 0, 11, 0, 0, 719, 0, 1}},
    {"Sun Aries 0 0, Moon Taurus 24 30", 0, 3270, {3270, 54, 30, 1, 24, 4, 4, 3270, 4, 9}},
    {"last minute of the first nakshatra", 0, 799, {799, 13, 19, 0, 13, 1, 0, 799, 0, 2}},
    {"first minute of the second nakshatra", 0, 800, {800, 13, 20, 0, 13, 1, 1, 800, 1, 2}},
    {"Moon in the last minute of the circle", 0, 21599, {21599, 359, 59, 11, 29, 29, 26, 21599, 26, 59}},
    {"sum of a whole circle wraps to 0", 10800, 10800, {0, 0, 0, 0, 0, 0, 13, 0, 0, 0}},
    {"sum one minute short of the circle", 10000, 11599, {1599, 26, 39, 0, 26, 2, 14, 21599, 26, 4}},
    {"both in the last minute", 21599, 21599, {0, 0, 0, 0, 0, 0, 26, 21598, 26, 0}},
    {"first body ahead of the second wraps", 3270, 0, {18330, 305, 30, 10, 5, 25, 0, 3270, 4, 50}},
};

TEST(Pair, WorkedExamples) {
    for (const auto& c : kPairs) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(computePair(c.first, c.second), c.expected);
    }
}

static_assert(computePair(0, 3270).tithi == 4, "usable at compile time");

// Everything that must hold for any pair, with a description of the first thing that does not.
std::string violations(int first, int second, const PairResult& r) {
    const auto in = [](int v, int top) {
        return v >= 0 && v <= top;
    };
    if (!in(r.elongation, kCircle - 1) || !in(r.elongationDegrees, 359) || !in(r.elongationMinutes, 59) ||
        !in(r.elongationSign, 11) || !in(r.degreesInSign, 29) || !in(r.tithi, 29) || !in(r.nakshatra, 26) ||
        !in(r.positionSum, kCircle - 1) || !in(r.yoga, 26) || !in(r.karana, 59))
        return "an index outside its table";
    if ((first + r.elongation) % kCircle != second)
        return "the elongation does not lead from the first body to the second";
    if (r.positionSum != first + second && r.positionSum != first + second - kCircle)
        return "the position sum wrapped other than once";
    if ((r.elongationSign * 30 + r.degreesInSign) * 60 + r.elongationMinutes != r.elongation)
        return "signs, degrees and minutes do not add up to the elongation";
    if (r.karana / 2 != r.tithi)
        return "the karana is not one of the two halves of its tithi";
    if (r.nakshatra != computePair(0, second).nakshatra)
        return "the nakshatra depends on the first body";
    if (r.yoga != computePair(r.positionSum, 0).yoga)
        return "the yoga depends on more than the position sum";
    return {};
}

void sweep(int firstStep, int secondStep) {
    long checked = 0;
    for (int first = 0; first < kCircle; first += firstStep) {
        for (int second = 0; second < kCircle; second += secondStep) {
            const std::string problem = violations(first, second, computePair(first, second));
            ASSERT_TRUE(problem.empty()) << problem << " for " << first << ", " << second;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10'000'000 / (firstStep * secondStep));
}

TEST(PairSweep, EveryFirstLongitudeAgainstSpacedSeconds) {
    sweep(1, 37);
}
TEST(PairSweep, SpacedFirstLongitudesAgainstEverySecond) {
    sweep(37, 1);
}

TEST(PairSweep, ElongationDependsOnlyOnTheDifference) {
    for (int shift = 1; shift < kCircle; shift += 541) {
        for (int first = 0; first < kCircle; first += 7) {
            for (int gap = 0; gap < kCircle; gap += 433) {
                const int second = (first + gap) % kCircle;
                const PairResult a = computePair(first, second);
                const PairResult b = computePair((first + shift) % kCircle, (second + shift) % kCircle);
                const auto fromDifference = [](const PairResult& r) {
                    return std::array{r.elongation, r.tithi, r.karana, r.elongationSign, r.degreesInSign};
                };
                ASSERT_EQ(fromDifference(a), fromDifference(b))
                    << first << ", " << second << " shifted by " << shift;
            }
        }
    }
}

// Walking the Moon once round from the Sun, each tithi, karana, elongation sign and nakshatra covers an
// equal arc, in order and without gaps.
TEST(PairSweep, EachDivisionCoversItsExactArcInOrder) {
    std::array<int, 30> tithi{};
    std::array<int, 60> karana{};
    std::array<int, 12> sign{};
    std::array<int, 27> nakshatra{};
    std::array<int, 27> yoga{};
    PairResult previous = computePair(0, 0);
    for (int second = 0; second < kCircle; ++second) {
        const PairResult r = computePair(0, second);
        ASSERT_GE(r.tithi, previous.tithi) << second;
        ASSERT_GE(r.karana, previous.karana) << second;
        ASSERT_GE(r.nakshatra, previous.nakshatra) << second;
        ++tithi[static_cast<std::size_t>(r.tithi)];
        ++karana[static_cast<std::size_t>(r.karana)];
        ++sign[static_cast<std::size_t>(r.elongationSign)];
        ++nakshatra[static_cast<std::size_t>(r.nakshatra)];
        ++yoga[static_cast<std::size_t>(r.yoga)];
        previous = r;
    }
    for (int n : tithi)
        EXPECT_EQ(n, 12 * 60);
    for (int n : karana)
        EXPECT_EQ(n, 6 * 60);
    for (int n : sign)
        EXPECT_EQ(n, 30 * 60);
    for (int n : nakshatra)
        EXPECT_EQ(n, 800);
    for (int n : yoga)
        EXPECT_EQ(n, 800);
}

struct DetailsCase {
    const char* what;
    int first, second;
    almanac::Paksha paksha;
    int tithiInPaksha;
    almanac::Progress tithi, yoga, karana, nakshatra;
    int pada;
};

using almanac::Paksha;
using almanac::Progress;

const DetailsCase kDetails[] = {
    {"first minute of the first tithi",
     0,
     0,
     Paksha::Shukla,
     1,
     {0, true},
     {0, true},
     {0, true},
     {0, true},
     1},
    {"last minute of the first tithi and of its second karana",
     0,
     719,
     Paksha::Shukla,
     1,
     {99, true},
     {89, false},
     {99, true},
     {89, false},
     4},
    {"halfway through Purnima, the last tithi of the bright half",
     0,
     14 * 720 + 360,
     Paksha::Shukla,
     15,
     {50, false},
     {5, false},
     {0, true},
     {5, false},
     1},
    {"first minute of the dark half",
     100,
     100 + 15 * 720,
     Paksha::Krishna,
     1,
     {0, true},
     {75, false},
     {0, true},
     {62, false},
     3},
    {"the last minute of Amavasya",
     1,
     0,
     Paksha::Krishna,
     15,
     {99, true},
     {0, false},
     {99, true},
     {0, true},
     1},
    {"last minute of a pada and of a nakshatra",
     0,
     799,
     Paksha::Shukla,
     2,
     {10, false},
     {99, true},
     {21, false},
     {99, true},
     4},
    {"first minute of the second pada",
     0,
     200,
     Paksha::Shukla,
     1,
     {27, false},
     {25, false},
     {55, false},
     {25, false},
     2},
};

TEST(Details, PakshaPadaAndHowFarIntoEachSpan) {
    for (const DetailsCase& c : kDetails) {
        SCOPED_TRACE(c.what);
        const almanac::PairDetails d = almanac::pairDetails(computePair(c.first, c.second), c.second);
        EXPECT_EQ(d.paksha, c.paksha);
        EXPECT_EQ(d.tithiInPaksha, c.tithiInPaksha);
        EXPECT_EQ(d.tithi, c.tithi);
        EXPECT_EQ(d.yoga, c.yoga);
        EXPECT_EQ(d.karana, c.karana);
        EXPECT_EQ(d.nakshatra, c.nakshatra);
        EXPECT_EQ(d.pada, c.pada);
    }
    EXPECT_EQ(almanac::vimshottariLord(0), "Ketu");
    EXPECT_EQ(almanac::vimshottariLord(26), "Mercury") << "Revati, the ninth lord the third time round";
}

} // namespace
