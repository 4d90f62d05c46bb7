#include "cli/Positions.h"

#include "almanac/Ascii.h"
#include "almanac/Entries.h"
#include "almanac/Names.h"
#include "charts/Csv.h"
#include "charts/Json.h"
#include "charts/Reckoning.h"
#include "cli/Place.h"
#include "cli/Shown.h"
#include "cli/Streams.h"
#include "sky/Ephemeris.h"
#include "sky/Horizon.h"
#include "sky/Karakas.h"
#include "sky/Longitude.h"
#include "sky/Places.h"
#include "sky/Time.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstdio>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kBatchHelp = R"(With --batch, lines "date,time,zone" are read from standard input
(a first line "date,time,zone" is taken for a header) and CSV goes to standard output: a header line,
then one line per moment with the columns
  date,time,zone,ut,sun_longitude,sun_karaka,moon_longitude,moon_karaka,mars_longitude,mars_karaka,
  mercury_longitude,mercury_karaka,jupiter_longitude,jupiter_karaka,venus_longitude,venus_karaka,
  saturn_longitude,saturn_karaka,rahu_longitude,rahu_karaka
date, time and zone as given; ut in ISO 8601; longitudes sidereal, in degrees with six decimals;
karakas AK, AmK, BK, MK, PiK, PK, GK or DK, empty for none. A line that cannot be read is skipped
with a message on standard error naming its line number, and the rest go on; a line longer than
1 MiB stops the batch.

Exit status: 0 done; 1 some lines skipped, or the ephemeris could not be read; 2 invalid arguments or
a line longer than 1 MiB; 3 standard input cannot be read, or standard output written.)";

struct Arguments {
    std::string date;
    std::string time;
    std::string zone;
    std::string ayanamsa{sky::ayanamsaKey(sky::Ayanamsa::Lahiri)};
    std::string node{sky::nodeKey(sky::Node::Mean)};
    int karakas = sky::karakaCount(sky::KarakaScheme::Eight);
    PlaceOptions where;
    bool json = false;
    bool batch = false;
};

struct Settings {
    sky::Frame frame;
    sky::KarakaScheme scheme = sky::KarakaScheme::Eight;
};

// Throws sky::InputError naming the field at fault; a moment beyond the ephemeris is the date's fault.
charts::Reckoning read(sky::Ephemeris& ephemeris, const Settings& settings, std::string_view day,
                       std::string_view time, std::string_view zone) {
    try {
        return charts::reckon({day, time, zone, settings.frame, settings.scheme}, ephemeris);
    } catch (const sky::OutOfRange& e) {
        throw sky::InputError(sky::Field::Date, e.what());
    }
}

// Six decimals, cut rather than rounded, so that they agree with the sign position.
std::string decimalDegrees(double longitude) {
    const std::int64_t micro = sky::stepsReached(longitude, 1'000'000);
    char text[24];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(micro / 1'000'000),
                  static_cast<long long>(micro % 1'000'000));
    return text;
}

std::string ayanamsaDegrees(double value) {
    char text[24];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string_view signName(const sky::SignPosition& position) {
    return almanac::kSignEntries[static_cast<std::size_t>(position.sign) + 1];
}

std::string secondsText(const sky::SignPosition& position) {
    return std::to_string(position.tenths / 10) + "." + std::to_string(position.tenths % 10);
}

std::string lowercase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), almanac::asciiLower);
    return lower;
}

std::string padded(std::string_view text, std::size_t width, bool right = false) {
    const std::string fill(text.size() < width ? width - text.size() : 0, ' ');
    return right ? fill + std::string(text) : std::string(text) + fill;
}

std::string positionText(const sky::SignPosition& at) {
    char text[24];
    std::snprintf(text, sizeof text, "%2d°%02d'%02d.%d\"", at.degrees, at.minutes, at.tenths / 10,
                  at.tenths % 10);
    return text;
}

void writePlace(std::ostream& out, const charts::Reckoning::Place& place, const sky::Zone& zone) {
    const auto time = [&](const std::optional<date::sys_seconds>& moment, const char* none) {
        return moment ? zone.localTime(*moment, sky::Zone::Precision::Second) : std::string(none);
    };
    const sky::SignPosition lagna = sky::splitLongitude(place.lagna);
    out << "Place      " << (place.name.empty() ? "" : place.name + ", ")
        << sky::latitudeText(place.at.latitude) << ", " << sky::longitudeText(place.at.longitude) << "\n"
        << "Lagna      " << signName(lagna) << " " << positionText(lagna) << ", "
        << sky::nakshatraText(place.lagna) << "\n"
        << "Sunrise    " << time(place.day.sunrise, "none that day") << "\n"
        << "Sunset     " << time(place.day.sunset, "none that day") << "\n"
        << "Vara       " << almanac::kVaraNames[static_cast<std::size_t>(place.day.vara)]
        << (place.day.beforeSunrise ? ", the birth came before sunrise" : "") << "\n";
}

void writeTable(std::ostream& out, const charts::Reckoning& reading, const Settings& settings,
                const sky::Zone& zone) {
    const bool eight = settings.scheme == sky::KarakaScheme::Eight;
    out << "UT         " << sky::isoUniversal(reading.ut) << "\n"
        << "Ayanamsa   " << sky::ayanamsaLabel(settings.frame.ayanamsa) << ", "
        << ayanamsaDegrees(reading.positions.ayanamsa) << "°\n"
        << "Rahu       " << sky::nodeKey(settings.frame.node) << " node\n"
        << "Karakas    " << (eight ? "eight, Sun to Saturn and Rahu" : "seven, Sun to Saturn") << "\n"
        << "Ephemeris  "
        << (reading.positions.theory == sky::Theory::DataFiles
                ? "Swiss Ephemeris data files"
                : "Moshier theory, built into the Swiss Ephemeris")
        << "\n";
    if (reading.place)
        writePlace(out, *reading.place, zone);
    out << "\n";

    // The position is 11 characters wide on screen, one of them the two bytes of the degree sign.
    out << padded("Body", 8) << ' ' << padded("Longitude", 10, true) << "  " << padded("Sign", 12) << ' '
        << padded("Position", 11, true) << "  Karaka\n";
    bool anyTie = false;
    for (const sky::Body body : sky::kBodies) {
        const double longitude = reading.positions[body];
        const sky::SignPosition at = sky::splitLongitude(longitude);
        const sky::KarakaRank& rank = reading.ranks[sky::index(body)];
        const std::string position = positionText(at);
        std::string karaka = "-";
        if (rank.role)
            karaka = padded(sky::karakaAbbreviation(*rank.role), 4) + " " +
                     std::string(sky::karakaName(*rank.role)) + (rank.tied ? ", tied" : "");
        anyTie = anyTie || rank.tied;
        out << padded(sky::bodyName(body), 8) << ' ' << padded(decimalDegrees(longitude), 10, true) << "  "
            << padded(signName(at), 12) << ' ' << position << "  " << karaka << '\n';
    }
    if (anyTie)
        out << "\nTied to the arc-second: the body earlier in the order Sun, Moon, Mars, Mercury, Jupiter, "
               "Venus,\n"
               "Saturn, Rahu takes the higher karaka.\n";
}

std::string placeJson(const charts::Reckoning::Place& place, const sky::Zone& zone) {
    const auto time = [&](const std::optional<date::sys_seconds>& moment) {
        return moment ? charts::jsonString(zone.isoLocalTime(*moment)) : std::string("null");
    };
    const sky::SignPosition lagna = sky::splitLongitude(place.lagna);
    const sky::NakshatraPada nakshatra = sky::nakshatraAt(place.lagna);
    return ", \"place\": {\"name\": " + (place.name.empty() ? "null" : charts::jsonString(place.name)) +
           ", \"latitude\": " + sky::signedDegreesText(place.at.latitude) +
           ", \"longitude\": " + sky::signedDegreesText(place.at.longitude) +
           "}, \"lagna\": {\"longitude\": " + decimalDegrees(place.lagna) +
           ", \"sign\": " + charts::jsonString(signName(lagna)) +
           ", \"degrees\": " + std::to_string(lagna.degrees) +
           ", \"minutes\": " + std::to_string(lagna.minutes) + ", \"seconds\": " + secondsText(lagna) +
           ", \"nakshatra\": " +
           charts::jsonString(almanac::kNakshatraNames[static_cast<std::size_t>(nakshatra.nakshatra)]) +
           ", \"pada\": " + std::to_string(nakshatra.pada) +
           "}, \"day\": {\"sunrise\": " + time(place.day.sunrise) +
           ", \"sunset\": " + time(place.day.sunset) + ", \"vara\": " +
           charts::jsonString(almanac::kVaraNames[static_cast<std::size_t>(place.day.vara)]) + "}";
}

void writeJson(std::ostream& out, const charts::Reckoning& reading, const Settings& settings,
               const sky::Zone& zone) {
    std::string json =
        "{\"ut\": " + charts::jsonString(sky::isoUniversal(reading.ut)) +
        ", \"ayanamsa\": {\"name\": " + charts::jsonString(sky::ayanamsaKey(settings.frame.ayanamsa)) +
        ", \"degrees\": " + ayanamsaDegrees(reading.positions.ayanamsa) + "}, \"bodies\": [";
    for (const sky::Body body : sky::kBodies) {
        const double longitude = reading.positions[body];
        const sky::SignPosition at = sky::splitLongitude(longitude);
        const auto& role = reading.ranks[sky::index(body)].role;
        json += std::string(body == sky::Body::Sun ? "" : ", ") +
                "{\"body\": " + charts::jsonString(sky::bodyName(body)) +
                ", \"longitude\": " + decimalDegrees(longitude) +
                ", \"sign\": " + charts::jsonString(signName(at)) +
                ", \"degrees\": " + std::to_string(at.degrees) +
                ", \"minutes\": " + std::to_string(at.minutes) + ", \"seconds\": " + secondsText(at) +
                ", \"karaka\": " + (role ? charts::jsonString(sky::karakaAbbreviation(*role)) : "null") + "}";
    }
    json += "]";
    if (reading.place)
        json += placeJson(*reading.place, zone);
    out << json << "}\n";
}

void writeCsvHeader(std::ostream& out) {
    out << "date,time,zone,ut";
    for (const sky::Body body : sky::kBodies) {
        const std::string name = lowercase(sky::bodyName(body));
        out << ',' << name << "_longitude," << name << "_karaka";
    }
    out << '\n';
}

void writeCsvLine(std::ostream& out, const std::array<std::string_view, 3>& fields,
                  const charts::Reckoning& reading) {
    std::string line;
    line.reserve(256);
    for (const std::string_view field : fields)
        line.append(field).push_back(',');
    line += sky::isoUniversal(reading.ut);
    for (const sky::Body body : sky::kBodies) {
        const auto& role = reading.ranks[sky::index(body)].role;
        line.append(",").append(decimalDegrees(reading.positions[body])).push_back(',');
        if (role)
            line += sky::karakaAbbreviation(*role);
    }
    line.push_back('\n');
    out << line;
}

// Streams: one line in, one line out, so that no amount of input is held in memory.
int runBatch(Io io, sky::Ephemeris& ephemeris, const Settings& settings) {
    LineReader lines(io.in, "standard input");
    bool skipped = false;
    const auto skip = [&](long number, const std::string& why) {
        io.err << "velmorant-cli: line " << number << ": " << shownMessage(why, io.errIsTerminal) << '\n';
        skipped = true;
    };
    writeCsvHeader(io.out);
    while (std::optional<std::string_view> line = lines.next()) {
        const long number = lines.number();
        if (line->ends_with('\r'))
            line->remove_suffix(1);
        if (almanac::trimmedAscii(*line).empty())
            continue;
        std::array<std::string_view, 3> fields;
        if (!charts::splitFields(*line, fields)) {
            skip(number, "expected three fields, date,time,zone");
            continue;
        }
        const auto& [date, time, zone] = fields;
        if (number == 1 && lowercase(date) == "date" && lowercase(time) == "time" &&
            lowercase(zone) == "zone")
            continue;
        try {
            writeCsvLine(io.out, fields, read(ephemeris, settings, date, time, zone));
        } catch (const sky::InputError& e) {
            skip(number, std::string(sky::fieldName(e.field())) + ": " + e.what());
        }
        if (!io.out)
            throw OutputLost();
    }
    io.out.flush();
    return skipped ? kFailure : kSuccess;
}

// CLI11 has checked the choice already, but in whatever case it was typed.
template <typename Value>
Value choice(std::optional<Value> parsed, const char* option) {
    if (!parsed)
        throw UsageError(std::string(option) + ": not one of the choices");
    return *parsed;
}

int runPositions(const Arguments& arguments, Io io) {
    const Settings settings{{choice(sky::parseAyanamsa(lowercase(arguments.ayanamsa)), "--ayanamsa"),
                             choice(sky::parseNode(lowercase(arguments.node)), "--node")},
                            choice(sky::parseKarakaScheme(arguments.karakas), "--karakas")};
    if (!arguments.batch) {
        if (arguments.date.empty())
            throw UsageError("--date: missing; give it as " + std::string(sky::kDateForm));
        if (arguments.time.empty())
            throw UsageError("--time: missing; give it as HH:MM or HH:MM:SS");
        if (arguments.zone.empty() && arguments.where.place.empty())
            throw UsageError("--zone: missing; give a name such as Asia/Kolkata or an offset such as +05:30, "
                             "or a --place");
    }

    // The place: a city by its name, or coordinates.
    const std::optional<Place> place = placeFrom(arguments.where);
    std::string zone = arguments.zone;
    if (place && zone.empty())
        zone = place->zone;

    sky::Ephemeris ephemeris;
    if (arguments.batch)
        return runBatch(io, ephemeris, settings);

    charts::Reckoning reading;
    try {
        reading = read(ephemeris, settings, arguments.date, arguments.time, zone);
    } catch (const sky::InputError& e) {
        throw UsageError("--" + std::string(sky::fieldName(e.field())) + ": " + e.what());
    }
    const sky::Zone shownIn = sky::Zone::parse(zone);
    if (place)
        charts::reckonPlace(reading, place->name, place->at, shownIn, ephemeris);
    if (arguments.json)
        writeJson(io.out, reading, settings, shownIn);
    else
        writeTable(io.out, reading, settings, shownIn);
    return kSuccess;
}

} // namespace

void addPositionsCommand(CLI::App& app, Io io, int& status) {
    const auto arguments = std::make_shared<Arguments>();
    CLI::App* command = app.add_subcommand(
        "positions", "Sidereal positions of Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn and Rahu at one "
                     "moment, with their chara karakas.");
    CLI::Option* date = command->add_option(
        "--date", arguments->date, "Civil date, proleptic Gregorian: " + std::string(sky::kDateForm));
    CLI::Option* time = command->add_option("--time", arguments->time, "Local time, HH:MM or HH:MM:SS");
    CLI::Option* zone =
        command->add_option("--zone", arguments->zone,
                            "Time zone: an IANA name such as Asia/Kolkata, or an offset such as +05:30");

    std::vector<std::string> ayanamsas;
    for (const sky::Ayanamsa ayanamsa : sky::kAyanamsas)
        ayanamsas.emplace_back(sky::ayanamsaKey(ayanamsa));
    command->add_option("--ayanamsa", arguments->ayanamsa, "Ayanamsa")
        ->check(CLI::IsMember(ayanamsas, CLI::ignore_case))
        ->capture_default_str();
    command->add_option("--karakas", arguments->karakas, "8 karakas (with Rahu) or 7 (Sun to Saturn)")
        ->check(CLI::IsMember({7, 8}))
        ->capture_default_str();
    command->add_option("--node", arguments->node, "Rahu as the mean or the true lunar node")
        ->check(CLI::IsMember({"mean", "true"}, CLI::ignore_case))
        ->capture_default_str();
    addPlaceOptions(*command, arguments->where, "Adds the lagna, sunrise, sunset and vara");
    CLI::Option* json = command->add_flag("--json", arguments->json, "Write one JSON object");
    command->add_flag("--batch", arguments->batch, "Read many moments as CSV on standard input; see below")
        ->excludes(date)
        ->excludes(time)
        ->excludes(zone)
        ->excludes("--place")
        ->excludes("--lat")
        ->excludes("--lon")
        ->excludes(json);
    command->footer(std::string(kBatchHelp));
    command->callback([arguments, io, &status] { status = runPositions(*arguments, io); });
}

} // namespace cli
