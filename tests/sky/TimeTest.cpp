// Civil time into UT: zone histories, clock changes refused, the years after a zone file's last listed
// change, and what is said about input that cannot be taken.
#include "sky/Time.h"

#include "sky/ZoneRules.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace date::literals;
using namespace std::chrono_literals;
using sky::Field;

namespace {

std::string universal(const char* day, const char* time, const char* zone) {
    return sky::isoUniversal(
        sky::universalTime(sky::parseDate(day), sky::parseTime(time), sky::Zone::parse(zone)));
}

struct Conversion {
    const char* what;
    const char* day;
    const char* time;
    const char* zone;
    const char* ut;
};

// What the installed tz database says (zdump -v) for each zone's history.
const Conversion kConversions[] = {
    {"summer time", "2021-07-01", "12:00", "America/New_York", "2021-07-01T16:00:00Z"},
    {"winter time", "2021-01-15", "12:00:30", "America/New_York", "2021-01-15T17:00:30Z"},
    {"India's war time, +06:30, from October 1941", "1941-12-01", "12:00", "Asia/Kolkata",
     "1941-12-01T05:30:00Z"},
    {"India's war time in 1943", "1943-06-15", "12:00", "Asia/Kolkata", "1943-06-15T05:30:00Z"},
    {"India's standard time between May and September 1942", "1942-07-01", "12:00", "Asia/Kolkata",
     "1942-07-01T06:30:00Z"},
    {"Madras mean time, +05:21:10, until 1906", "1890-01-01", "12:00", "Asia/Kolkata",
     "1890-01-01T06:38:50Z"},
    {"local mean time, +05:53:28, before 1854", "1850-01-01", "12:00", "Asia/Kolkata",
     "1850-01-01T06:06:32Z"},
    {"British Standard Time, +01:00 in winter too", "1970-01-15", "12:00", "Europe/London",
     "1970-01-15T11:00:00Z"},
    {"Greenwich time again from 1971", "1972-01-15", "12:00", "Europe/London", "1972-01-15T12:00:00Z"},
    {"offset", "1990-05-17", "14:30", "+05:30", "1990-05-17T09:00:00Z"},
    {"offset with the minus sign U+2212", "1990-05-17", "14:30", "\u221203:00", "1990-05-17T17:30:00Z"},
    {"offset without a colon", "1990-05-17", "14:30", "-0330", "1990-05-17T18:00:00Z"},
    {"offset in hours", "1990-05-17", "14:30", "+05", "1990-05-17T09:30:00Z"},
    {"offset of a local mean time", "1850-01-01", "12:00", "+05:53:28", "1850-01-01T06:06:32Z"},
    {"into the year before year 1", "0000-01-01", "03:00", "+05:30", "-0001-12-31T21:30:00Z"},
    {"leap day of a century divisible by 400", "2000-02-29", "12:00", "UTC", "2000-02-29T12:00:00Z"},
    // After the files' last listed change (2037) the rule in the file's footer answers.
    {"summer, after the listed changes", "2100-07-01", "12:00", "America/New_York", "2100-07-01T16:00:00Z"},
    {"a southern summer", "2100-01-15", "12:00", "Australia/Sydney", "2100-01-15T01:00:00Z"},
    {"Dublin, whose standard time is its summer", "2100-07-01", "12:00", "Europe/Dublin",
     "2100-07-01T11:00:00Z"},
};

TEST(Time, ConvertsWithEachZonesHistory) {
    for (const Conversion& c : kConversions) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(universal(c.day, c.time, c.zone), c.ut);
    }
}

struct Refusal {
    const char* day;
    const char* time;
    const char* zone;
    Field field;
    const char* message;
};

const Refusal kRefusals[] = {
    {"2021-03-14", "02:30", "America/New_York", Field::Time,
     "2021-03-14 02:30 did not happen in America/New_York (the clocks went forward from -05:00 to -04:00); "
     "give the offset instead of the zone, e.g. -05:00"},
    {"2021-11-07", "01:30", "America/New_York", Field::Time,
     "2021-11-07 01:30 happened twice in America/New_York (at -04:00 and at -05:00); give the offset instead "
     "of the zone, e.g. -04:00"},
    {"2100-03-14", "02:30:15", "America/New_York", Field::Time,
     "2100-03-14 02:30:15 did not happen in America/New_York (the clocks went forward from -05:00 to "
     "-04:00); "
     "give the offset instead of the zone, e.g. -05:00"},
    {"2100-04-04", "02:00", "Australia/Sydney", Field::Time,
     "2100-04-04 02:00 happened twice in Australia/Sydney (at +11:00 and at +10:00); give the offset instead "
     "of the zone, e.g. +11:00"},
    {"2023-02-29", "12:00", "UTC", Field::Date, "2023-02-29 does not exist: February 2023 has 28 days"},
    {"1900-02-29", "12:00", "UTC", Field::Date, "1900-02-29 does not exist: February 1900 has 28 days"},
    {"2023-13-01", "12:00", "UTC", Field::Date, "2023-13-01 has no month 13: months run from 01 to 12"},
    {"17/05/1990", "12:00", "UTC", Field::Date,
     "\"17/05/1990\" is not a date of the form YYYY-MM-DD, or -YYYY-MM-DD before year 0 (-0044 is 45 BCE)"},
    {"-0043-02-29", "12:00", "UTC", Field::Date, "-0043-02-29 does not exist: February -0043 has 28 days"},
    {"1990-05-17", "24:00", "UTC", Field::Time, "24:00 is not a time of day: hours run from 00 to 23"},
    {"1990-05-17", "12:60", "UTC", Field::Time, "12:60 is not a time of day: minutes run from 00 to 59"},
    {"1990-05-17", "9:30", "UTC", Field::Time, "\"9:30\" is not a time of the form HH:MM or HH:MM:SS"},
    {"1990-05-17", "12:00", "Asia/Kolkatta", Field::Zone,
     "no time zone is named \"Asia/Kolkatta\"; give a name such as Asia/Kolkata or an offset such as +05:30"},
    {"1990-05-17", "12:00", "+5:30", Field::Zone,
     "\"+5:30\" is not an offset of the form +HH:MM, +HHMM or +HH"},
    {"1990-05-17", "12:00", "+16:00", Field::Zone, "+16:00 is too far from UT: offsets run up to 15:59"},
    {"1990-05-17", "12:00", " ", Field::Zone,
     "none given; give a name such as Asia/Kolkata or an offset such as +05:30"},
};

// Years before 1 are astronomical (year 0 is 1 BCE) in the proleptic Gregorian calendar: against the
// Julian day's own epoch, and the Ides of March of 44 BCE (15 March in the Julian calendar; JD as the
// Swiss Ephemeris' swe_julday gives it).
TEST(Time, YearsBeforeOneReadAndWriteWithTheirSign) {
    const struct {
        const char* day;
        const char* time;
        const char* zone;
        double julianDay;
        const char* ut;
        const char* local;
    } cases[] = {
        {"-4713-11-24", "12:00", "UTC", 0.0, "-4713-11-24T12:00:00Z", "-4713-11-24 12:00 +00:00"},
        {"-0043-03-13", "13:30", "+01:30", 1705426.0, "-0043-03-13T12:00:00Z", "-0043-03-13 13:30 +01:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        const sky::Zone zone = sky::Zone::parse(c.zone);
        const date::sys_seconds moment =
            sky::universalTime(sky::parseDate(c.day), sky::parseTime(c.time), zone);
        EXPECT_DOUBLE_EQ(sky::julianDay(moment), c.julianDay);
        EXPECT_EQ(sky::isoUniversal(moment), c.ut);
        EXPECT_EQ(zone.localTime(moment), c.local);
    }
}

TEST(Time, RefusesWhatCannotBeTakenAndSaysWhy) {
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(std::string(r.day) + " " + r.time + " " + r.zone);
        try {
            universal(r.day, r.time, r.zone);
            ADD_FAILURE() << "taken";
        } catch (const sky::InputError& e) {
            EXPECT_EQ(e.field(), r.field);
            EXPECT_STREQ(e.what(), r.message);
        }
    }
}

// Where the files list every change, the footer's rule must give the same answers, since it alone
// answers for the years after.
TEST(Time, ZoneFileFootersAgreeWithTheListedChanges) {
    for (const char* name : {"America/New_York", "Australia/Sydney", "Europe/Dublin", "America/Santiago",
                             "America/Nuuk", "Pacific/Chatham"}) {
        SCOPED_TRACE(name);
        const sky::FooterRule* rule = sky::FooterRule::forZone(name);
        ASSERT_NE(rule, nullptr);
        const date::time_zone* zone = date::locate_zone(name);
        for (date::local_seconds local = date::local_days{2036_y / 1 / 1};
             local < date::local_days{2038_y / 1 / 1}; local += 15min) {
            const date::local_info listed = zone->get_info(local);
            const sky::LocalOffsets footer = rule->resolve(local);
            ASSERT_EQ(static_cast<int>(footer.kind), static_cast<int>(listed.result))
                << local.time_since_epoch().count();
            ASSERT_EQ(footer.first, listed.first.offset) << local.time_since_epoch().count();
        }
    }
    EXPECT_EQ(sky::FooterRule::forZone("Asia/Kolkata"), nullptr); // no clock changes since 1945
}

TEST(Time, ListsZonesForCompletion) {
    const std::vector<std::string> names = sky::zoneNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Asia/Kolkata"));
    EXPECT_FALSE(std::binary_search(names.begin(), names.end(), "localtime"));
    EXPECT_NO_THROW(sky::Zone::parse(sky::systemZoneName()));
}

} // namespace
