// A zone's rule for the years after its last listed clock change.
//
// A compiled zone file lists the clock changes one by one only up to some year (2037 in the files
// Debian ships) and states the rule for all later times in its footer, a POSIX TZ string such as
// "EST5EDT,M3.2.0,M11.1.0". The date library, reading the system's files, stops at the last listed
// change: in a zone that still changes its clocks, every later summer would keep winter time.
// FooterRule reads the footer and answers for those years.
#pragma once

#include <chrono>
#include <date/date.h>
#include <optional>
#include <string>
#include <string_view>

namespace sky {

// How a local time maps onto UT: one offset, or the two about the clock change it falls into, first
// the offset before the change, then the one after.
struct LocalOffsets {
    enum class Kind { Unique, Skipped, Repeated };
    Kind kind = Kind::Unique;
    std::chrono::seconds first{0};
    std::chrono::seconds second{0};
};

class FooterRule {
public:
    // nullopt for a rule without clock changes, or one written in a way this reader does not know;
    // either way the last listed offset goes on.
    static std::optional<FooterRule> parse(std::string_view posixTz);

    // The footer of the zone's file in the system's zoneinfo folder, read once per zone and kept; null
    // where there is no rule with clock changes.
    static const FooterRule* forZone(const std::string& zoneName);

    LocalOffsets resolve(date::local_seconds local) const;
    // The offset east of Greenwich in force at a moment.
    std::chrono::seconds offsetAt(date::sys_seconds moment) const {
        return daylightAt(moment) ? m_daylight : m_standard;
    }

private:
    // The day and local time of one change in a given year.
    struct Change {
        enum class Kind { Julian, ZeroBasedDay, MonthWeekDay } kind = Kind::MonthWeekDay;
        int day = 0; // Julian: 1..365, February 29 never counted; ZeroBasedDay: 0..365
        unsigned month = 0, week = 0, weekday = 0; // MonthWeekDay: week 5 is the last
        std::chrono::seconds time{2 * 3600};       // may be negative or pass 24 hours

        date::sys_seconds at(date::year year, std::chrono::seconds offset) const;
    };

    bool daylightAt(date::sys_seconds moment) const;

    std::chrono::seconds m_standard{0}; // offsets east of Greenwich
    std::chrono::seconds m_daylight{0};
    Change m_start; // into daylight time, stated in standard time
    Change m_end;   // back to standard time, stated in daylight time
};

} // namespace sky
