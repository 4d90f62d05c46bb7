#include "sky/Time.h"

#include "almanac/Ascii.h"
#include "sky/ZoneRules.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace sky {

namespace {

using std::chrono::seconds;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The number in text[at, at + width), all digits; -1 when it is not.
int digitsAt(std::string_view text, std::size_t at, std::size_t width) {
    if (at + width > text.size())
        return -1;
    int value = 0;
    for (const char c : text.substr(at, width)) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// "2021-11-07 01:30", with ":SS" only where the seconds are not zero.
std::string localText(date::local_seconds local) {
    const auto day = date::floor<date::days>(local);
    const date::year_month_day ymd{day};
    const date::hh_mm_ss time{local - day};
    const int year = static_cast<int>(ymd.year());
    char text[40];
    const int length =
        std::snprintf(text, sizeof text, "%s%04d-%02u-%02u %02d:%02d", year < 0 ? "-" : "", std::abs(year),
                      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                      static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()));
    if (time.seconds().count() != 0)
        std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), ":%02d",
                      static_cast<int>(time.seconds().count()));
    return text;
}

// The date library reports the zone's last listed interval as running on to a far sentinel.
constexpr date::sys_seconds kListedUntil{date::sys_days{date::year{9999} / 1 / 1}};

LocalOffsets offsetsAt(const date::time_zone& zone, date::local_seconds local) {
    const date::local_info info = zone.get_info(local);
    switch (info.result) {
    case date::local_info::nonexistent:
        return {LocalOffsets::Kind::Skipped, info.first.offset, info.second.offset};
    case date::local_info::ambiguous:
        return {LocalOffsets::Kind::Repeated, info.first.offset, info.second.offset};
    default:
        if (info.first.end > kListedUntil)
            if (const FooterRule* rule = FooterRule::forZone(zone.name()))
                return rule->resolve(local);
        return {LocalOffsets::Kind::Unique, info.first.offset, info.first.offset};
    }
}

std::optional<seconds> parseOffset(std::string_view text) {
    // After the sign: HH, HHMM, HH:MM or HH:MM:SS.
    int hours = digitsAt(text, 0, 2), minutes = 0, secondsPart = 0;
    if (text.size() == 4)
        minutes = digitsAt(text, 2, 2);
    else if (text.size() == 5 || text.size() == 8)
        minutes = text[2] == ':' ? digitsAt(text, 3, 2) : -1;
    else if (text.size() != 2)
        return std::nullopt;
    if (text.size() == 8)
        secondsPart = text[5] == ':' ? digitsAt(text, 6, 2) : -1;
    if (hours < 0 || minutes < 0 || minutes > 59 || secondsPart < 0 || secondsPart > 59)
        return std::nullopt;
    return seconds((hours * 60 + minutes) * 60 + secondsPart);
}

constexpr std::array<std::string_view, 12> kMonthNames{"January",   "February", "March",    "April",
                                                       "May",       "June",     "July",     "August",
                                                       "September", "October",  "November", "December"};

} // namespace

std::string_view fieldName(Field field) {
    constexpr std::array<std::string_view, 6> names{"date", "time", "zone", "latitude", "longitude", "place"};
    return names[static_cast<std::size_t>(field)];
}

date::year_month_day parseDate(std::string_view input) {
    const std::string_view text = almanac::trimmedAscii(input);
    // The year's sign, if any, then YYYY-MM-DD.
    const std::size_t at = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
    const int digits = digitsAt(text, at, 4), month = digitsAt(text, at + 5, 2),
              day = digitsAt(text, at + 8, 2);
    if (text.size() != at + 10 || text[at + 4] != '-' || text[at + 7] != '-' || digits < 0 || month < 0 ||
        day < 0)
        throw InputError(Field::Date, quoted(text) + " is not a date of the form " + std::string(kDateForm));
    const int year = text.starts_with('-') ? -digits : digits;
    const std::string yearText(text.substr(0, at + 4));
    if (month < 1 || month > 12)
        throw InputError(Field::Date, std::string(text) + " has no month " +
                                          std::string(text.substr(at + 5, 2)) + ": months run from 01 to 12");
    const date::year_month_day_last last{date::year{year} / date::month{static_cast<unsigned>(month)} /
                                         date::last};
    const auto days = static_cast<int>(static_cast<unsigned>(last.day()));
    if (day < 1 || day > days)
        throw InputError(Field::Date, std::string(text) + " does not exist: " +
                                          std::string(kMonthNames[static_cast<std::size_t>(month - 1)]) +
                                          " " + yearText + " has " + std::to_string(days) + " days");
    return date::year{year} / month / day;
}

seconds parseTime(std::string_view input) {
    const std::string_view text = almanac::trimmedAscii(input);
    const bool withSeconds = text.size() == 8;
    const int hours = digitsAt(text, 0, 2), minutes = digitsAt(text, 3, 2);
    const int secondsPart = withSeconds ? digitsAt(text, 6, 2) : 0;
    if ((text.size() != 5 && !withSeconds) || text[2] != ':' || (withSeconds && text[5] != ':') ||
        hours < 0 || minutes < 0 || secondsPart < 0)
        throw InputError(Field::Time, quoted(text) + " is not a time of the form HH:MM or HH:MM:SS");
    const auto refuse = [&](const char* rule) {
        throw InputError(Field::Time, std::string(text) + " is not a time of day: " + rule);
    };
    if (hours > 23)
        refuse("hours run from 00 to 23");
    if (minutes > 59)
        refuse("minutes run from 00 to 59");
    if (secondsPart > 59)
        refuse("seconds run from 00 to 59");
    return seconds((hours * 60 + minutes) * 60 + secondsPart);
}

Zone Zone::parse(std::string_view input) {
    const std::string_view text = almanac::trimmedAscii(input);
    if (text.empty())
        throw InputError(Field::Zone,
                         "none given; give a name such as Asia/Kolkata or an offset such as +05:30");

    constexpr std::string_view kMinusSign = "\u2212";
    const bool plus = text.starts_with('+');
    const bool minus = text.starts_with('-') || text.starts_with(kMinusSign);
    if (plus || minus) {
        const auto offset = parseOffset(text.substr(text.starts_with(kMinusSign) ? kMinusSign.size() : 1));
        if (!offset)
            throw InputError(Field::Zone,
                             quoted(text) + " is not an offset of the form +HH:MM, +HHMM or +HH");
        // The widest offsets in the database are local mean times just short of 16 hours.
        if (*offset >= std::chrono::hours(16))
            throw InputError(Field::Zone, std::string(text) + " is too far from UT: offsets run up to 15:59");
        const seconds east = minus ? -*offset : *offset;
        return Zone(offsetText(east), nullptr, east);
    }

    try {
        return Zone(std::string(text), date::locate_zone(text), seconds(0));
    } catch (const std::runtime_error&) {
        throw InputError(Field::Zone, "no time zone is named " + quoted(text) +
                                          "; give a name such as Asia/Kolkata or an offset such as +05:30");
    }
}

date::sys_seconds Zone::toUniversal(date::local_seconds local) const {
    const LocalOffsets offsets =
        m_zone ? offsetsAt(*m_zone, local) : LocalOffsets{LocalOffsets::Kind::Unique, m_offset, m_offset};
    const auto advice = "; give the offset instead of the zone, e.g. " + offsetText(offsets.first);
    switch (offsets.kind) {
    case LocalOffsets::Kind::Skipped:
        throw InputError(Field::Time, localText(local) + " did not happen in " + m_name +
                                          " (the clocks went forward from " + offsetText(offsets.first) +
                                          " to " + offsetText(offsets.second) + ")" + advice);
    case LocalOffsets::Kind::Repeated:
        throw InputError(Field::Time, localText(local) + " happened twice in " + m_name + " (at " +
                                          offsetText(offsets.first) + " and at " +
                                          offsetText(offsets.second) + ")" + advice);
    case LocalOffsets::Kind::Unique:
        break;
    }
    return date::sys_seconds{(local - offsets.first).time_since_epoch()};
}

seconds Zone::offsetAt(date::sys_seconds moment) const {
    if (!m_zone)
        return m_offset;
    const date::sys_info info = m_zone->get_info(moment);
    if (info.end > kListedUntil)
        if (const FooterRule* rule = FooterRule::forZone(m_zone->name()))
            return rule->offsetAt(moment);
    return info.offset;
}

std::string Zone::localTime(date::sys_seconds moment, Precision precision) const {
    const seconds offset = offsetAt(moment);
    const date::local_seconds local{(moment + offset).time_since_epoch()};
    return localText(precision == Precision::Second ? local : date::round<std::chrono::minutes>(local)) +
           " " + offsetText(offset);
}

std::string Zone::isoLocalTime(date::sys_seconds moment) const {
    const seconds offset = offsetAt(moment);
    // ISO 8601 has no seconds in an offset: a local mean time such as +05:53:28 is given in UT instead.
    if (offset.count() % 60 != 0)
        return isoUniversal(moment);
    const date::local_seconds local{(moment + offset).time_since_epoch()};
    const auto day = date::floor<date::days>(local);
    const date::hh_mm_ss time{local - day};
    const date::year_month_day ymd{day};
    const int year = static_cast<int>(ymd.year());
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%04d-%02u-%02uT%02d:%02d:%02d", year < 0 ? "-" : "",
                  std::abs(year), static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return buffer + offsetText(offset);
}

date::sys_seconds universalTime(date::year_month_day day, seconds timeOfDay, const Zone& zone) {
    return zone.toUniversal(date::local_days{day} + timeOfDay);
}

std::string offsetText(seconds offset) {
    const auto magnitude = std::abs(offset.count());
    char text[16];
    const auto hm =
        std::snprintf(text, sizeof text, "%c%02lld:%02lld", offset.count() < 0 ? '-' : '+',
                      static_cast<long long>(magnitude / 3600), static_cast<long long>(magnitude / 60 % 60));
    if (magnitude % 60 != 0)
        std::snprintf(text + hm, sizeof text - static_cast<std::size_t>(hm), ":%02lld",
                      static_cast<long long>(magnitude % 60));
    return text;
}

std::string clockTime(date::sys_seconds moment, const Zone& zone, date::year_month_day day, bool withOffset) {
    const seconds offset = zone.offsetAt(moment);
    const date::local_seconds local{(moment + offset).time_since_epoch()};
    const auto minute = date::round<std::chrono::minutes>(local);
    const auto civil = date::floor<date::days>(minute);
    const date::hh_mm_ss time{minute - civil};
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()));
    const date::year_month_day shown{civil};
    std::string clock = shown == day ? std::string() : dateText(shown) + ' ';
    clock += text;
    if (withOffset)
        clock.append(1, ' ').append(offsetText(offset));
    return clock;
}

std::string dateText(date::year_month_day day) {
    const int year = static_cast<int>(day.year());
    char text[24];
    std::snprintf(text, sizeof text, "%s%04d-%02u-%02u", year < 0 ? "-" : "", std::abs(year),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

std::string isoUniversal(date::sys_seconds moment) {
    const auto day = date::floor<date::days>(moment);
    const date::year_month_day ymd{day};
    const date::hh_mm_ss time{moment - day};
    const int year = static_cast<int>(ymd.year());
    char text[40];
    std::snprintf(text, sizeof text, "%s%04d-%02u-%02uT%02d:%02d:%02dZ", year < 0 ? "-" : "", std::abs(year),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string systemZoneName() {
    try {
        return date::current_zone()->name();
    } catch (const std::exception&) {
        return "UTC";
    }
}

std::vector<std::string> zoneNames() {
    std::vector<std::string> names;
    for (const date::time_zone& zone : date::get_tzdb().zones)
        if (zone.name() != "localtime" && zone.name() != "posixrules" && zone.name() != "Factory")
            names.push_back(zone.name());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace sky
