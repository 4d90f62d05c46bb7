#include "cli/Panchanga.h"

#include "almanac/Ascii.h"
#include "almanac/Names.h"
#include "charts/Json.h"
#include "cli/Place.h"
#include "sky/Ephemeris.h"
#include "sky/Panchanga.h"
#include "sky/Places.h"
#include "sky/Time.h"
#include "velmorant/Version.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

namespace {

constexpr int kMostDays = 3660;

constexpr std::string_view kHelp =
    R"help(Each day runs from sunrise to the next day's sunrise (the centre of the Sun's disc on the true
horizon, without refraction), or from civil midnight where the Sun does not rise. The tithi,
nakshatra, yoga and karana in force at sunrise are given with the moment each ends, then each one
that begins before the next sunrise, so that a tithi that no sunrise sees is listed too. The lunar
month is amanta, from new moon to new moon, named by the sidereal sign the Sun stands in at the new
moon that begins it (Pisces: Chaitra, Aries: Vaishakha, ... Aquarius: Phalguna), and adhika when the
Sun stands in the same sign at the new moons at both its ends. Sunset, moonrise and moonset are the
first of the civil date, if any; moonrise and moonset are of the Moon's centre without refraction.

Text (the default): a block a day, times on the zone's clocks to the minute, with the date where a
span ends on another one.

With --json, one object, a line a day:
  {"place": {"name": "Ujjain, Madhya Pradesh, India", "latitude": 23.1824, "longitude": 75.7764},
   "zone": "Asia/Kolkata", "ayanamsa": "lahiri", "days": [
  {"date": "2023-07-25", "vara": "Mangala (Tuesday)", "sunrise": "2023-07-25T05:58:05+05:30",
   "sunset": "...", "moonrise": "...", "moonset": "...",
   "tithi": [{"name": "Shukla Saptami", "number": 7, "ends": "2023-07-25T15:09:06+05:30"}, ...],
   "nakshatra": [...], "yoga": [...], "karana": [...],
   "paksha": "Shukla", "month": {"name": "Shravana", "adhika": true}},
  ...]}
The place's name is null for --lat and --lon. Times are ISO 8601 to the second with the zone's offset,
null where there is none. Numbers count from 1: tithi 1..30 (15 Purnima, 30 Amavasya), nakshatra and
yoga 1..27, karana 1..60 (the half-tithi of the month, 1 Kimstughna .. 60 Naga).

With --ics, an iCalendar file (RFC 5545): an all-day event a day, named by the tithi at sunrise, with
the day's panchanga in its description; and an event for each Purnima, Amavasya, Shukla Ekadashi and
Krishna Ekadashi, named with its month ("Ashadha Purnima"), on each day whose sunrise it holds. Event
UIDs stay the same from one run to the next for the same date, place, zone and ayanamsa.

A date the zone's clocks passed over (2011-12-30 in Pacific/Apia) is refused as --date, and left out
of a run of days.

Exit status: 0 done; 1 the ephemeris could not be read; 2 invalid arguments; 3 standard output cannot be
written.)help";

struct Arguments {
    std::string date;
    std::string days{"1"};
    std::string zone;
    std::string ayanamsa{sky::ayanamsaKey(sky::Ayanamsa::Lahiri)};
    PlaceOptions where;
    bool json = false;
    bool ics = false;
};

// Where the days are reckoned, and on which clocks.
struct Where {
    std::string name; // the city's label; empty for coordinates alone
    sky::GeoPoint at;
    sky::Zone zone;
    sky::Ayanamsa ayanamsa;
};

// A quantity's spans as the output names them.
struct Kind {
    std::string_view label; // "Tithi"
    std::string_view key;   // "tithi"
    std::vector<sky::PanchangaSpan> sky::DayPanchanga::*spans;
    std::string_view (*name)(int number);
};

std::string_view tithiName(int number) {
    return almanac::kTithiNames[static_cast<std::size_t>(number)];
}

std::string_view nakshatraName(int number) {
    return almanac::kNakshatraNames[static_cast<std::size_t>(number)];
}

std::string_view yogaName(int number) {
    return almanac::kYogaNames[static_cast<std::size_t>(number)];
}

constexpr std::array<Kind, 4> kKinds{{
    {"Tithi", "tithi", &sky::DayPanchanga::tithis, tithiName},
    {"Nakshatra", "nakshatra", &sky::DayPanchanga::nakshatras, nakshatraName},
    {"Yoga", "yoga", &sky::DayPanchanga::yogas, yogaName},
    {"Karana", "karana", &sky::DayPanchanga::karanas, almanac::karanaName},
}};

constexpr int kPurnima = 14;
constexpr int kAmavasya = 29;
constexpr int kShuklaEkadashi = 10;
constexpr int kKrishnaEkadashi = 25;

std::string_view varaName(const sky::DayPanchanga& day) {
    return almanac::kVaraNames[static_cast<std::size_t>(day.vara)];
}

std::string_view monthName(const sky::LunarMonth& month) {
    return almanac::kMonthNames[static_cast<std::size_t>(month.number)];
}

// "Adhika Shravana", "Ashadha".
std::string monthText(const sky::LunarMonth& month) {
    return (month.adhika ? "Adhika " : "") + std::string(monthName(month));
}

std::string_view pakshaName(const sky::DayPanchanga& day) {
    return day.shukla ? "Shukla" : "Krishna";
}

std::string placeText(const Where& where) {
    return (where.name.empty() ? "" : where.name + ", ") + sky::latitudeText(where.at.latitude) + ", " +
           sky::longitudeText(where.at.longitude);
}

void writeTextHeading(std::ostream& out, const Where& where) {
    out << "Panchanga at " << placeText(where) << "\nTimes in " << where.zone.name() << "; ayanamsa "
        << sky::ayanamsaLabel(where.ayanamsa) << "\n";
}

void writeTextDay(std::ostream& out, const sky::DayPanchanga& day, const sky::Zone& zone) {
    std::string text = "\n" + sky::dateText(day.date) + "  " + std::string(varaName(day)) + "\n";
    const auto line = [&](std::string_view label, std::string_view value) {
        text.append(label).append(12 - label.size(), ' ').append(value).push_back('\n');
    };
    const auto event = [&](const std::optional<date::sys_seconds>& at, std::string_view none) {
        return at ? sky::clockTime(*at, zone, day.date, false) : std::string(none);
    };
    line("Sunrise", event(day.sunrise, "none; the day is reckoned from midnight"));
    line("Sunset", event(day.sunset, "none"));
    line("Moonrise", event(day.moonrise, "none"));
    line("Moonset", event(day.moonset, "none"));
    line("Month", monthText(day.month) + ", " + std::string(pakshaName(day)) + " paksha");
    for (const Kind& kind : kKinds) {
        std::string_view label = kind.label;
        for (const sky::PanchangaSpan& span : day.*kind.spans) {
            line(label, std::string(kind.name(span.number)) + " until " +
                            sky::clockTime(span.ends, zone, day.date, false));
            label = {};
        }
    }
    out << text;
}

void writeJsonHeading(std::ostream& out, const Where& where) {
    out << "{\"place\": {\"name\": " << (where.name.empty() ? "null" : charts::jsonString(where.name))
        << ", \"latitude\": " << sky::signedDegreesText(where.at.latitude)
        << ", \"longitude\": " << sky::signedDegreesText(where.at.longitude)
        << "}, \"zone\": " << charts::jsonString(where.zone.name())
        << ", \"ayanamsa\": " << charts::jsonString(sky::ayanamsaKey(where.ayanamsa)) << ", \"days\": [";
}

void writeJsonDay(std::ostream& out, const sky::DayPanchanga& day, const sky::Zone& zone, bool first) {
    const auto time = [&](const std::optional<date::sys_seconds>& at) {
        return at ? charts::jsonString(zone.isoLocalTime(*at)) : std::string("null");
    };
    std::string json = first ? "\n" : ",\n";
    json += "{\"date\": " + charts::jsonString(sky::dateText(day.date)) +
            ", \"vara\": " + charts::jsonString(varaName(day)) + ", \"sunrise\": " + time(day.sunrise) +
            ", \"sunset\": " + time(day.sunset) + ", \"moonrise\": " + time(day.moonrise) +
            ", \"moonset\": " + time(day.moonset);
    for (const Kind& kind : kKinds) {
        json += ", \"" + std::string(kind.key) + "\": [";
        bool firstSpan = true;
        for (const sky::PanchangaSpan& span : day.*kind.spans) {
            json += std::string(firstSpan ? "" : ", ") +
                    "{\"name\": " + charts::jsonString(kind.name(span.number)) +
                    ", \"number\": " + std::to_string(span.number + 1) + ", \"ends\": " + time(span.ends) +
                    "}";
            firstSpan = false;
        }
        json += "]";
    }
    json += ", \"paksha\": " + charts::jsonString(pakshaName(day)) +
            ", \"month\": {\"name\": " + charts::jsonString(monthName(day.month)) +
            ", \"adhika\": " + (day.month.adhika ? "true" : "false") + "}}";
    out << json;
}

// Text as a property value: backslash, semicolon, comma and line break escaped.
std::string icsText(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',')
            escaped.push_back('\\');
        if (c == '\n')
            escaped += "\\n";
        else
            escaped.push_back(c);
    }
    return escaped;
}

// "20230725".
std::string icsDate(date::year_month_day day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

class Calendar {
public:
    Calendar(std::ostream& out, const Where& where)
        : m_out(out)
        , m_zone(where.zone) {
        // The same date, place, zone and ayanamsa give the same UIDs, so that a calendar written again
        // replaces its events instead of doubling them.
        char place[64];
        std::snprintf(place, sizeof place, "%.4f%c-%.4f%c", std::abs(where.at.latitude),
                      where.at.latitude < 0 ? 'S' : 'N', std::abs(where.at.longitude),
                      where.at.longitude < 0 ? 'W' : 'E');
        m_uidTail = "-" + std::string(place) + "-" + where.zone.name() + "-" +
                    std::string(sky::ayanamsaKey(where.ayanamsa)) + "@velmorant";
        const auto now = date::floor<std::chrono::seconds>(std::chrono::system_clock::now());
        const auto today = date::floor<date::days>(now);
        const date::hh_mm_ss time{now - today};
        char stamp[24];
        std::snprintf(stamp, sizeof stamp, "%sT%02d%02d%02dZ", icsDate(date::year_month_day{today}).c_str(),
                      static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                      static_cast<int>(time.seconds().count()));
        m_stamp = stamp;
        line("BEGIN:VCALENDAR");
        line("VERSION:2.0");
        line("PRODID:-//Velmorant//velmorant-cli " + std::string(velmorant::kProductVersion) + "//EN");
        line("CALSCALE:GREGORIAN");
        line("METHOD:PUBLISH");
        line("X-WR-CALNAME:" + icsText("Panchanga at " + placeText(where)));
    }

    void day(const sky::DayPanchanga& day) {
        const int tithi = day.tithis.front().number;
        const std::string name(tithiName(tithi));
        event(day.date, "tithi", name, description(day));
        const char* kind = tithi == kPurnima                                       ? "purnima"
                           : tithi == kAmavasya                                    ? "amavasya"
                           : tithi == kShuklaEkadashi || tithi == kKrishnaEkadashi ? "ekadashi"
                                                                                   : nullptr;
        if (kind)
            event(day.date, kind, monthText(day.month) + " " + name,
                  name +
                      (day.sunrise ? " at sunrise, " + sky::clockTime(*day.sunrise, m_zone, day.date, false)
                                   : std::string(" at midnight, the Sun not rising")) +
                      ", until " + sky::clockTime(day.tithis.front().ends, m_zone, day.date, false) + " (" +
                      m_zone.name() + ").");
    }

    void finish() { line("END:VCALENDAR"); }

private:
    // Folded into lines of at most 75 octets, never inside a UTF-8 character.
    void line(std::string_view text) {
        std::size_t limit = 75;
        while (text.size() > limit) {
            std::size_t cut = limit;
            while (cut > 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
                --cut;
            m_out << text.substr(0, cut) << "\r\n ";
            text.remove_prefix(cut);
            limit = 74; // after the leading space
        }
        m_out << text << "\r\n";
    }

    void event(date::year_month_day day, std::string_view kind, std::string_view summary,
               const std::string& about) {
        const std::string on = icsDate(day);
        line("BEGIN:VEVENT");
        line("UID:" + on + "-" + std::string(kind) + m_uidTail);
        line("DTSTAMP:" + m_stamp);
        line("DTSTART;VALUE=DATE:" + on);
        line("DTEND;VALUE=DATE:" + icsDate(date::sys_days{day} + date::days{1}));
        line("SUMMARY:" + icsText(summary));
        line("DESCRIPTION:" + icsText(about));
        line("TRANSP:TRANSPARENT");
        line("END:VEVENT");
    }

    std::string description(const sky::DayPanchanga& day) const {
        const auto time = [&](const std::optional<date::sys_seconds>& at) {
            return at ? sky::clockTime(*at, m_zone, day.date, false) : std::string("none");
        };
        std::string text = std::string(varaName(day)) + ", " + monthText(day.month) + ", " +
                           std::string(pakshaName(day)) + " paksha.\nSunrise " + time(day.sunrise) +
                           ", sunset " + time(day.sunset) + ", moonrise " + time(day.moonrise) +
                           ", moonset " + time(day.moonset) + " (" + m_zone.name() + ").";
        for (const Kind& kind : kKinds) {
            text += "\n" + std::string(kind.label) + ": ";
            bool first = true;
            for (const sky::PanchangaSpan& span : day.*kind.spans) {
                text += std::string(first ? "" : ", ") + std::string(kind.name(span.number)) + " until " +
                        sky::clockTime(span.ends, m_zone, day.date, false);
                first = false;
            }
            text += ".";
        }
        return text;
    }

    std::ostream& m_out;
    const sky::Zone& m_zone;
    std::string m_uidTail;
    std::string m_stamp;
};

// "lahiri, raman, krishnamurti, fagan-bradley, true-chitra or yukteshwar".
std::string ayanamsaKeys() {
    std::string keys;
    for (std::size_t i = 0; i < sky::kAyanamsas.size(); ++i)
        keys += (i == 0                            ? ""
                 : i + 1 == sky::kAyanamsas.size() ? " or "
                                                   : ", ") +
                std::string(sky::ayanamsaKey(sky::kAyanamsas[i]));
    return keys;
}

int dayCount(const std::string& text) {
    const std::string_view trimmed = almanac::trimmedAscii(text);
    const bool digits =
        !trimmed.empty() && trimmed.size() <= 5 &&
        std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int count = digits ? std::atoi(std::string(trimmed).c_str()) : 0;
    if (count < 1 || count > kMostDays)
        throw UsageError("--days: \"" + text + "\" is not a number of days from 1 to " +
                         std::to_string(kMostDays));
    return count;
}

Where where(const Arguments& arguments) {
    std::string lower(almanac::trimmedAscii(arguments.ayanamsa));
    std::transform(lower.begin(), lower.end(), lower.begin(), almanac::asciiLower);
    const std::optional<sky::Ayanamsa> ayanamsa = sky::parseAyanamsa(lower);
    if (!ayanamsa)
        throw UsageError("--ayanamsa: \"" + arguments.ayanamsa + "\" is not one of " + ayanamsaKeys());
    const std::optional<Place> place = placeFrom(arguments.where);
    if (!place)
        throw UsageError("--place: missing; give a city with --place, or --lat, --lon and --zone");
    const std::string zone = !arguments.zone.empty() ? arguments.zone : place->zone;
    if (zone.empty())
        throw UsageError("--zone: missing; with --lat and --lon give the place's time zone, such as "
                         "Asia/Kolkata or +05:30");
    try {
        return {place->name, place->at, sky::Zone::parse(zone), *ayanamsa};
    } catch (const sky::InputError& e) {
        throw UsageError("--zone: " + std::string(e.what()));
    }
}

int runPanchanga(const Arguments& arguments, Io io) {
    if (arguments.date.empty())
        throw UsageError("--date: missing; give it as " + std::string(sky::kDateForm));
    date::year_month_day first;
    try {
        first = sky::parseDate(arguments.date);
    } catch (const sky::InputError& e) {
        throw UsageError("--date: " + std::string(e.what()));
    }
    const int days = dayCount(arguments.days);
    if (arguments.json && arguments.ics)
        throw UsageError("--ics: not with --json; choose one of them");
    const Where place = where(arguments);
    const date::year_month_day last{date::sys_days{first} + date::days{days - 1}};
    if (arguments.ics && static_cast<int>(first.year()) < 1)
        throw UsageError("--ics: an iCalendar file has no dates before the year 1; give a --date from "
                         "0001-01-01 on");

    sky::Ephemeris ephemeris;
    sky::PanchangaDays reckoner(ephemeris, place.zone, place.at, place.ayanamsa);
    // Both ends are reckoned before anything is written, so that a run the ephemeris does not cover is
    // refused whole.
    if (days > 1)
        try {
            reckoner.day(last);
        } catch (const sky::OutOfRange& e) {
            throw UsageError("--days: the last day, " + sky::dateText(last) +
                             ", is out of reach: " + e.what());
        } catch (const sky::InputError&) {
            // a date the clocks passed over: left out when its turn comes
        }
    sky::DayPanchanga day;
    try {
        day = reckoner.day(first);
    } catch (const sky::OutOfRange& e) {
        throw UsageError("--date: " + std::string(e.what()));
    } catch (const sky::InputError& e) {
        throw UsageError("--date: " + std::string(e.what()));
    }

    std::optional<Calendar> calendar;
    if (arguments.json)
        writeJsonHeading(io.out, place);
    else if (arguments.ics)
        calendar.emplace(io.out, place);
    else
        writeTextHeading(io.out, place);
    // A day at a time, written as soon as it is reckoned.
    for (int i = 0; i < days; ++i) {
        if (i > 0)
            try {
                day = reckoner.day(date::sys_days{first} + date::days{i});
            } catch (const sky::InputError&) {
                continue; // the clocks passed over this date
            }
        if (arguments.json)
            writeJsonDay(io.out, day, place.zone, i == 0);
        else if (calendar)
            calendar->day(day);
        else
            writeTextDay(io.out, day, place.zone);
        if (!io.out)
            throw OutputLost();
    }
    if (arguments.json)
        io.out << "\n]}\n";
    else if (calendar)
        calendar->finish();
    return kSuccess;
}

} // namespace

void addPanchangaCommand(CLI::App& app, Io io, int& status) {
    const auto arguments = std::make_shared<Arguments>();
    CLI::App* command = app.add_subcommand(
        "panchanga",
        "The day's panchanga at a place: sunrise, sunset, moonrise, moonset, vara, tithi, nakshatra, "
        "yoga and karana with the moments they end, paksha and the lunar month.");
    command->add_option("--date", arguments->date,
                        "The first civil date, proleptic Gregorian: " + std::string(sky::kDateForm));
    command
        ->add_option("--days", arguments->days,
                     "How many days from --date, 1 to " + std::to_string(kMostDays) + " (default 1)")
        ->type_name("N");
    addPlaceOptions(*command, arguments->where, "The days are reckoned there");
    command->add_option(
        "--zone", arguments->zone,
        "The clocks the times are shown on, and whose dates are reckoned: an IANA name such as "
        "Asia/Kolkata, or an offset such as +05:30. Needed with --lat and --lon");
    command->add_option("--ayanamsa", arguments->ayanamsa, "Ayanamsa: " + ayanamsaKeys())
        ->capture_default_str();
    command->add_flag("--json", arguments->json, "Write one JSON object; see below");
    command->add_flag("--ics", arguments->ics, "Write an iCalendar file; see below");
    command->footer(std::string(kHelp));
    command->callback([arguments, io, &status] { status = runPanchanga(*arguments, io); });
}

} // namespace cli
