#include "sky/ZoneRules.h"

#include "almanac/Ascii.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

namespace sky {

namespace {

using std::chrono::seconds;

// Where the date library reads the system's zone files on this system.
constexpr std::string_view kZoneFolder = "/usr/share/zoneinfo/";

// Reads a POSIX TZ string from the front.
class Reader {
public:
    explicit Reader(std::string_view text)
        : m_rest(text) {}

    bool done() const { return m_rest.empty(); }
    bool next(char c) const { return !m_rest.empty() && m_rest.front() == c; }

    bool take(char c) {
        if (!next(c))
            return false;
        m_rest.remove_prefix(1);
        return true;
    }

    // The digits at the front, or -1 where there are none.
    int number() {
        int value = -1;
        const auto [end, error] = std::from_chars(m_rest.data(), m_rest.data() + m_rest.size(), value);
        if (error != std::errc() || value < 0)
            return -1;
        m_rest.remove_prefix(static_cast<std::size_t>(end - m_rest.data()));
        return value;
    }

    // "EST", or "<-03>" for a name that is not all letters.
    bool name() {
        if (take('<')) {
            const auto close = m_rest.find('>');
            if (close == std::string_view::npos)
                return false;
            m_rest.remove_prefix(close + 1);
            return true;
        }
        const auto letters = static_cast<std::size_t>(
            std::find_if(m_rest.begin(), m_rest.end(), [](char c) { return !almanac::isAsciiLetter(c); }) -
            m_rest.begin());
        m_rest.remove_prefix(letters);
        return letters >= 3;
    }

private:
    std::string_view m_rest;
};

// [+-]h[:mm[:ss]] in seconds, as written: POSIX counts offsets west of Greenwich.
std::optional<seconds> readClock(Reader& reader) {
    const bool negative = reader.take('-');
    if (!negative)
        reader.take('+');
    int total = 0;
    for (int unit = 0; unit < 3; ++unit) {
        const int value = reader.number();
        if (value < 0 || (unit > 0 && value > 59))
            return std::nullopt;
        total = total * 60 + value;
        if (unit == 2 || !reader.take(':')) {
            for (int rest = unit; rest < 2; ++rest)
                total *= 60;
            break;
        }
    }
    return seconds(negative ? -total : total);
}

} // namespace

std::optional<FooterRule> FooterRule::parse(std::string_view posixTz) {
    Reader reader(posixTz);
    const auto readChange = [&](Change& change) {
        if (reader.take('M')) {
            const int month = reader.number();
            const int week = reader.take('.') ? reader.number() : -1;
            const int weekday = reader.take('.') ? reader.number() : -1;
            if (month < 1 || month > 12 || week < 1 || week > 5 || weekday < 0 || weekday > 6)
                return false;
            change.month = static_cast<unsigned>(month);
            change.week = static_cast<unsigned>(week);
            change.weekday = static_cast<unsigned>(weekday);
        } else {
            change.kind = reader.take('J') ? Change::Kind::Julian : Change::Kind::ZeroBasedDay;
            const int day = reader.number();
            if (day < 0 || day > 365 || (change.kind == Change::Kind::Julian && day < 1))
                return false;
            change.day = day;
        }
        if (reader.take('/')) {
            const auto time = readClock(reader);
            if (!time)
                return false;
            change.time = *time;
        }
        return true;
    };

    FooterRule rule;
    if (!reader.name())
        return std::nullopt;
    const auto standard = readClock(reader);
    if (!standard || reader.done() || !reader.name())
        return std::nullopt; // no daylight time, or unreadable
    rule.m_standard = -*standard;
    rule.m_daylight = rule.m_standard + std::chrono::hours(1);
    if (!reader.next(',')) {
        const auto daylight = readClock(reader);
        if (!daylight)
            return std::nullopt;
        rule.m_daylight = -*daylight;
    }
    if (!reader.take(',') || !readChange(rule.m_start) || !reader.take(',') || !readChange(rule.m_end) ||
        !reader.done())
        return std::nullopt;
    return rule;
}

const FooterRule* FooterRule::forZone(const std::string& zoneName) {
    static std::mutex guard;
    static std::map<std::string, std::optional<FooterRule>> rules;
    const std::lock_guard lock(guard);
    auto found = rules.find(zoneName);
    if (found == rules.end()) {
        // The file ends with the footer on a line of its own: "\nEST5EDT,M3.2.0,M11.1.0\n".
        std::ifstream file(std::string(kZoneFolder) + zoneName, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(file), {});
        std::optional<FooterRule> rule;
        if (bytes.starts_with("TZif") && bytes.size() > 5 && bytes[4] >= '2' && bytes.ends_with('\n')) {
            const auto start = bytes.rfind('\n', bytes.size() - 2);
            if (start != std::string::npos)
                rule = parse(std::string_view(bytes).substr(start + 1, bytes.size() - start - 2));
        }
        found = rules.emplace(zoneName, rule).first;
    }
    return found->second ? &*found->second : nullptr;
}

date::sys_seconds FooterRule::Change::at(date::year year, seconds offset) const {
    date::local_days local;
    switch (kind) {
    case Kind::Julian:
        local = date::local_days{year / 1 / 1} + date::days(day - 1 + (year.is_leap() && day >= 60 ? 1 : 0));
        break;
    case Kind::ZeroBasedDay:
        local = date::local_days{year / 1 / 1} + date::days(day);
        break;
    case Kind::MonthWeekDay: {
        const date::month inMonth{month};
        const date::weekday onDay{weekday};
        local = week == 5 ? date::local_days{year / inMonth / onDay[date::last]}
                          : date::local_days{year / inMonth / onDay[week]};
        break;
    }
    }
    return date::sys_seconds{(local + time - offset).time_since_epoch()};
}

bool FooterRule::daylightAt(date::sys_seconds moment) const {
    const date::year year = date::year_month_day{date::floor<date::days>(moment + m_standard)}.year();
    const date::sys_seconds start = m_start.at(year, m_standard);
    const date::sys_seconds end = m_end.at(year, m_daylight);
    // Southern zones (and Dublin, whose "daylight" time is its winter) have the change back first.
    return start < end ? moment >= start && moment < end : moment >= start || moment < end;
}

LocalOffsets FooterRule::resolve(date::local_seconds local) const {
    const auto universal = [&](seconds offset) {
        return date::sys_seconds{(local - offset).time_since_epoch()};
    };
    const bool asStandard = !daylightAt(universal(m_standard));
    const bool asDaylight = daylightAt(universal(m_daylight));
    const auto [low, high] = std::minmax(m_standard, m_daylight);
    if (asStandard && asDaylight) // the clocks went back: first under the larger offset
        return {LocalOffsets::Kind::Repeated, high, low};
    if (!asStandard && !asDaylight) // the clocks went forward, from the smaller offset to the larger
        return {LocalOffsets::Kind::Skipped, low, high};
    const seconds offset = asStandard ? m_standard : m_daylight;
    return {LocalOffsets::Kind::Unique, offset, offset};
}

} // namespace sky
