// The day's panchanga against the ephemeris walked minute by minute, and the days an almanac is read
// for: a tithi no sunrise sees and one that two sunrises see, the adhika Shravana of 2023, a date the
// clocks passed over at the date line, and the midnight sun.
#include "sky/Panchanga.h"

#include "sky/Crossings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace std::chrono_literals;
using namespace date::literals;

namespace {

class PanchangaTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_ephemeris = std::make_unique<sky::Ephemeris>(); }
    static void TearDownTestSuite() { s_ephemeris.reset(); }
    static sky::Ephemeris& ephemeris() { return *s_ephemeris; }
    static inline std::unique_ptr<sky::Ephemeris> s_ephemeris;
};

struct Place {
    const char* name;
    sky::GeoPoint at;
    const char* zone;
};

const Place kUjjain{"Ujjain", {23.1793, 75.7849}, "Asia/Kolkata"};
const Place kApia{"Apia", {-13.8333, -171.7667}, "Pacific/Apia"};
const Place kTromso{"Tromsø", {69.6496, 18.9560}, "Europe/Oslo"};

sky::DayPanchanga dayAt(sky::Ephemeris& ephemeris, const Place& place, date::year_month_day day) {
    return sky::panchanga(ephemeris, day, sky::Zone::parse(place.zone), place.at);
}

TEST_F(PanchangaTest, EndsAreWhereAMinuteByMinuteWalkSeesTheSpansChange) {
    struct Division {
        const char* name;
        sky::Quantity quantity;
        double each;
        std::vector<sky::PanchangaSpan> sky::DayPanchanga::*spans;
    };
    const Division divisions[] = {
        {"tithi", sky::Quantity::Elongation, 12, &sky::DayPanchanga::tithis},
        {"nakshatra", sky::Quantity::MoonLongitude, 40.0 / 3, &sky::DayPanchanga::nakshatras},
        {"yoga", sky::Quantity::Sum, 40.0 / 3, &sky::DayPanchanga::yogas},
        {"karana", sky::Quantity::Elongation, 6, &sky::DayPanchanga::karanas},
    };
    // A day of three tithis, and a day reckoned from midnight.
    for (const auto& [place, day] :
         {std::pair{kUjjain, 2023_y / 1 / 20}, std::pair{kTromso, 2024_y / 6 / 21}}) {
        SCOPED_TRACE(place.name);
        const sky::DayPanchanga panchanga = dayAt(ephemeris(), place, day);
        for (const Division& division : divisions) {
            SCOPED_TRACE(division.name);
            std::vector<int> numbers;
            std::vector<date::sys_seconds> changes; // the first minute of each span after the first
            for (date::sys_seconds minute = panchanga.begins; minute < panchanga.ends; minute += 1min) {
                const double quantity = sky::quantityAt(ephemeris(), division.quantity,
                                                        sky::julianDay(minute), sky::Ayanamsa::Lahiri);
                const int number = static_cast<int>(std::floor(quantity / division.each));
                if (!numbers.empty() && number == numbers.back())
                    continue;
                if (!numbers.empty())
                    changes.push_back(minute);
                numbers.push_back(number);
            }
            const std::vector<sky::PanchangaSpan>& spans = panchanga.*division.spans;
            ASSERT_EQ(spans.size(), numbers.size());
            for (std::size_t i = 0; i < spans.size(); ++i) {
                EXPECT_EQ(spans[i].number, numbers[i]) << i;
                if (i < changes.size()) {
                    EXPECT_GT(spans[i].ends, changes[i] - 1min) << i;
                    EXPECT_LE(spans[i].ends, changes[i]) << i;
                }
            }
            EXPECT_GE(spans.back().ends, panchanga.ends);
        }
    }
}

TEST_F(PanchangaTest, ATithiNoSunriseSeesIsListedAndOneTwoSunrisesSeeIsKept) {
    // Magha Krishna Chaturdashi of 2023 began after sunrise on 20 January and ended before the next,
    // which was Mauni Amavasya.
    const sky::DayPanchanga kshaya = dayAt(ephemeris(), kUjjain, 2023_y / 1 / 20);
    ASSERT_EQ(kshaya.tithis.size(), 3u);
    EXPECT_EQ(kshaya.tithis[0].number, 27); // Krishna Trayodashi
    EXPECT_EQ(kshaya.tithis[1].number, 28); // Krishna Chaturdashi, whole within the day
    EXPECT_EQ(kshaya.tithis[2].number, 29); // Amavasya, at the next sunrise
    EXPECT_LT(kshaya.tithis[1].ends, kshaya.ends);
    EXPECT_EQ(dayAt(ephemeris(), kUjjain, 2023_y / 1 / 21).tithis.front().number, 29);

    // Krishna Dwitiya stood at the sunrises of both 8 and 9 January 2023.
    const sky::DayPanchanga first = dayAt(ephemeris(), kUjjain, 2023_y / 1 / 8);
    const sky::DayPanchanga second = dayAt(ephemeris(), kUjjain, 2023_y / 1 / 9);
    ASSERT_EQ(first.tithis.size(), 1u);
    EXPECT_EQ(first.tithis[0].number, 16);
    EXPECT_GT(first.tithis[0].ends, first.ends);
    EXPECT_EQ(second.tithis.front(), first.tithis[0]);
    EXPECT_FALSE(first.shukla);
}

TEST_F(PanchangaTest, TheAmantaMonthAndItsAdhikaShravanaOf2023) {
    struct Case {
        date::year_month_day day;
        int month;
        bool adhika;
    };
    // The new moons fell on 17 July 2023 at 23:38 and 16 August at 14:08 (Indian time), the Sun in
    // Karka at both; the month between them was adhika Shravana.
    const Case cases[] = {
        {2023_y / 7 / 10, 3, false}, // Ashadha
        {2023_y / 7 / 17, 3, false}, // its Amavasya at sunrise
        {2023_y / 7 / 18, 4, true},  {2023_y / 8 / 16, 4, true},
        {2023_y / 8 / 17, 4, false}, {2023_y / 9 / 20, 5, false}, // Bhadrapada
        {2024_y / 4 / 10, 0, false},                              // Chaitra, whose first days were Navaratri
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.day));
        const sky::DayPanchanga day = dayAt(ephemeris(), kUjjain, c.day);
        EXPECT_EQ(day.month, (sky::LunarMonth{c.month, c.adhika}));
    }
}

TEST_F(PanchangaTest, AtTheDateLineTheDayRunsToTheNextDateThePlaceHad) {
    const sky::Zone apia = sky::Zone::parse(kApia.zone);
    // Samoa moved west of the date line after 29 December 2011; its clocks never showed the 30th.
    try {
        dayAt(ephemeris(), kApia, 2011_y / 12 / 30);
        ADD_FAILURE() << "2011-12-30 was reckoned at Apia";
    } catch (const sky::InputError& e) {
        EXPECT_EQ(e.field(), sky::Field::Date);
    }
    const sky::DayPanchanga before = dayAt(ephemeris(), kApia, 2011_y / 12 / 29);
    const sky::DayPanchanga after = dayAt(ephemeris(), kApia, 2011_y / 12 / 31);
    ASSERT_TRUE(before.sunrise && after.sunrise);
    EXPECT_EQ(before.ends, *after.sunrise);
    EXPECT_LT(before.ends - before.begins, 25h);
    EXPECT_EQ(after.vara, 6); // Saturday
    EXPECT_EQ(apia.localTime(*after.sunrise).substr(0, 10), "2011-12-31");
    EXPECT_EQ(apia.localTime(*before.sunrise).substr(0, 10), "2011-12-29");
}

TEST_F(PanchangaTest, UnderTheMidnightSunTheDayRunsFromMidnightWithItsSpans) {
    const sky::DayPanchanga day = dayAt(ephemeris(), kTromso, 2024_y / 6 / 21);
    EXPECT_FALSE(day.sunrise);
    EXPECT_FALSE(day.sunset);
    EXPECT_EQ(day.begins, date::sys_days{2024_y / 6 / 20} + 22h); // midnight at +02:00
    EXPECT_EQ(day.ends, date::sys_days{2024_y / 6 / 21} + 22h);
    EXPECT_EQ(day.vara, 5); // Friday
    for (const auto* spans : {&day.tithis, &day.nakshatras, &day.yogas, &day.karanas}) {
        ASSERT_FALSE(spans->empty());
        EXPECT_GT(spans->front().ends, day.begins);
        EXPECT_GE(spans->back().ends, day.ends);
    }
}

TEST_F(PanchangaTest, DaysReckonedInARunAreTheDaysReckonedOneByOne) {
    const sky::Zone zone = sky::Zone::parse(kUjjain.zone);
    sky::PanchangaDays run(ephemeris(), zone, kUjjain.at);
    // Across the new moon of 17 July, and then back to a day already passed.
    for (date::sys_days day = date::sys_days{2023_y / 7 / 1}; day <= date::sys_days{2023_y / 8 / 5};
         day += date::days{1})
        EXPECT_EQ(run.day(day), sky::panchanga(ephemeris(), day, zone, kUjjain.at))
            << date::year_month_day{day};
    EXPECT_EQ(run.day(2023_y / 7 / 20), sky::panchanga(ephemeris(), 2023_y / 7 / 20, zone, kUjjain.at));
}

} // namespace
