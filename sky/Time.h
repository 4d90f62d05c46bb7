// Civil dates, times and zones, turned into Universal Time.
//
// Dates are proleptic Gregorian. Zones are the system's tz database through the date library, with
// each zone's history: war time, permanent summer time, and local mean time before its first standard
// time. A local time that a clock change skipped or repeated is refused, never moved.
#pragma once

#include <chrono>
#include <date/date.h>
#include <date/tz.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sky {

enum class Field { Date, Time, Zone, Latitude, Longitude, Place };

// "date", "time", "zone", "latitude", "longitude", "place": the command line's options and the
// exchange files' columns are named after them.
std::string_view fieldName(Field field);

// A date, time or zone that cannot be taken. The message does not name the field, so that each
// caller can put its own label in front: "Birth date: ", "--date: ".
class InputError : public std::runtime_error {
public:
    InputError(Field field, const std::string& message)
        : std::runtime_error(message)
        , m_field(field) {}
    Field field() const noexcept { return m_field; }

private:
    Field m_field;
};

// YYYY-MM-DD, the year astronomical: before year 1 come year 0 (1 BCE) and the years written with a
// minus sign, -0044-03-15 being 15 March 45 BCE. A leading plus sign is allowed too.
inline constexpr std::string_view kDateForm = "YYYY-MM-DD, or -YYYY-MM-DD before year 0 (-0044 is 45 BCE)";
date::year_month_day parseDate(std::string_view text);

// HH:MM or HH:MM:SS, 00:00:00 to 23:59:59; the time since midnight.
std::chrono::seconds parseTime(std::string_view text);

// An IANA zone name such as Asia/Kolkata, or a fixed offset: +05:30, -03:00, −03:00 (with U+2212),
// +0530, +05, or +05:53:28 for a local mean time.
class Zone {
public:
    static Zone parse(std::string_view text);

    // The zone's name as given, or the offset written +HH:MM.
    const std::string& name() const { return m_name; }

    // Throws InputError(Field::Time) for a local time that did not happen, or happened twice.
    date::sys_seconds toUniversal(date::local_seconds local) const;

    // The offset east of Greenwich in force at a moment.
    std::chrono::seconds offsetAt(date::sys_seconds moment) const;
    // The moment as the zone's clocks showed it, with the offset: to the nearest minute,
    // "2021-11-07 01:30 -05:00", or to the second, "2021-11-07 01:30:15 -05:00" (with ":SS" only where
    // the seconds are not zero).
    enum class Precision { Minute, Second };
    std::string localTime(date::sys_seconds moment, Precision precision = Precision::Minute) const;
    // The same in ISO 8601, to the second: "2021-11-07T01:30:15-05:00"; in UT ("…Z") while the zone
    // kept a local mean time, whose offset ISO 8601 cannot write.
    std::string isoLocalTime(date::sys_seconds moment) const;

private:
    Zone(std::string name, const date::time_zone* zone, std::chrono::seconds offset)
        : m_name(std::move(name))
        , m_zone(zone)
        , m_offset(offset) {}

    std::string m_name;
    const date::time_zone* m_zone; // null for a fixed offset
    std::chrono::seconds m_offset;
};

date::sys_seconds universalTime(date::year_month_day day, std::chrono::seconds timeOfDay, const Zone& zone);

// "2023-07-25", "-0044-03-15": the date as YYYY-MM-DD takes it.
std::string dateText(date::year_month_day day);

// "+05:30", "-04:00", or "+05:53:28" for a local mean time.
std::string offsetText(std::chrono::seconds offset);

// The moment on the zone's clocks to the nearest minute: "15:09" on `day`, "2023-07-26 15:09" on
// another date; with `withOffset`, followed by the zone's offset then: "06:55 +05:30".
std::string clockTime(date::sys_seconds moment, const Zone& zone, date::year_month_day day, bool withOffset);

// "1990-05-17T09:00:00Z".
std::string isoUniversal(date::sys_seconds moment);

// The Julian day of a moment, in UT.
constexpr double julianDay(date::sys_seconds moment) {
    return static_cast<double>(moment.time_since_epoch().count()) / 86400.0 + 2440587.5;
}

// The computer's own zone, or "UTC" when it has none the database knows.
std::string systemZoneName();

// Every zone name in the database, sorted, for completing what a person types.
std::vector<std::string> zoneNames();

} // namespace sky
