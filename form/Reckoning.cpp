#include "form/Reckoning.h"

#include "almanac/Entries.h"
#include "almanac/Names.h"
#include "almanac/Pair.h"
#include "form/Messages.h"
#include "sky/Crossings.h"
#include "sky/Longitude.h"
#include "sky/Places.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace form {

namespace {

std::string_view fieldLabel(sky::Field field) {
    switch (field) {
    case sky::Field::Date:
        return kBirthDateLabel;
    case sky::Field::Time:
        return kBirthTimeLabel;
    case sky::Field::Zone:
        return kTimeZoneLabel;
    case sky::Field::Latitude:
        return kLatitudeLabel;
    case sky::Field::Longitude:
        return kLongitudeLabel;
    case sky::Field::Place:
        break;
    }
    return kBirthPlaceLabel;
}

BirthField birthField(sky::Field field) {
    switch (field) {
    case sky::Field::Date:
        return BirthField::Date;
    case sky::Field::Time:
        return BirthField::Time;
    case sky::Field::Zone:
        return BirthField::Zone;
    case sky::Field::Latitude:
        return BirthField::Latitude;
    case sky::Field::Longitude:
        return BirthField::Longitude;
    case sky::Field::Place:
        break;
    }
    return BirthField::Place;
}

std::string signName(int sign) {
    return std::string(almanac::kSignNames[static_cast<std::size_t>(sign)]);
}

std::string signAndDegrees(double longitude) {
    const sky::SignPosition at = sky::splitLongitude(longitude);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d°%02d'",
                  std::string(almanac::kSignNames[static_cast<std::size_t>(at.sign)]).c_str(), at.degrees,
                  at.minutes);
    return text;
}

} // namespace

std::optional<BirthProblem> birthDataProblem(const store::BirthData& birth, sky::Ephemeris& ephemeris,
                                             std::optional<charts::Reckoning>& reckoning) {
    if (birth.date.empty())
        return BirthProblem{BirthField::Date,
                            birthFieldMessage(kBirthDateLabel, "none given; enter the date as " +
                                                                   std::string(sky::kDateForm))};
    if (birth.time.empty())
        return BirthProblem{
            BirthField::Time,
            birthFieldMessage(kBirthTimeLabel, "none given; enter the time as HH:MM or HH:MM:SS")};
    try {
        reckoning = charts::reckon(birth, ephemeris);
    } catch (const sky::InputError& e) {
        return BirthProblem{birthField(e.field()), birthFieldMessage(fieldLabel(e.field()), e.what())};
    } catch (const sky::OutOfRange& e) {
        return BirthProblem{BirthField::Date, birthFieldMessage(kBirthDateLabel, e.what())};
    }
    return std::nullopt;
}

SpanTimes spanTimes(const charts::Reckoning& reckoning, const store::BirthData& birth,
                    const std::array<int, kBodyRows>& longitudes, sky::Ephemeris& ephemeris, Database& db) {
    const almanac::PairResult rows = almanac::computePair(longitudes[kSun], longitudes[kMoon]);
    const sky::Zone zone = sky::Zone::parse(birth.zone);
    const double moment = sky::julianDay(reckoning.ut);
    const sky::Ayanamsa ayanamsa = reckoning.frame.ayanamsa;
    // To the nearest minute, but to the second within a minute of the moment, where the minute alone
    // could put a span's end at or before the moment ("ends 11:55" for a birth at 11:55:22).
    const auto shown = [&](date::sys_seconds crossing) {
        const bool near = std::chrono::abs(crossing - reckoning.ut) < std::chrono::minutes(1);
        return zone.localTime(crossing, near ? sky::Zone::Precision::Second : sky::Zone::Precision::Minute);
    };
    const auto span = [&](sky::Quantity quantity, double degreesEach, int count, int rowsIndex,
                          store::Recordset& table, std::string_view column) {
        const int index =
            sky::spanIndex(sky::quantityAt(ephemeris, quantity, moment, ayanamsa), degreesEach, count);
        const auto at = [&](double boundary) {
            return shown(sky::crossing(ephemeris, quantity, boundary, reckoning.ut, ayanamsa));
        };
        SpanTimes::Span times{at(index * degreesEach), at((index + 1) * degreesEach), {}};
        if (index != rowsIndex)
            times.atMoment = atRow(table, index).field(column).toText();
        return times;
    };
    constexpr double kNakshatraDegrees = almanac::kMinutesPerNakshatra / double(almanac::kMinutesPerDegree);
    return {span(sky::Quantity::Elongation, almanac::kDegreesPerTithi, almanac::kTithiCount, rows.tithi,
                 db.rstithi, "tithi_name"),
            span(sky::Quantity::MoonLongitude, kNakshatraDegrees, almanac::kNakshatraCount, rows.nakshatra,
                 db.rsnakshatra, "nak_name"),
            span(sky::Quantity::Sum, kNakshatraDegrees, almanac::kYogaCount, rows.yoga, db.rsyoga, "name"),
            span(sky::Quantity::Elongation, almanac::kDegreesPerKarana, almanac::kKaranaCount, rows.karana,
                 db.rskarana, "name"),
            zone.name()};
}

std::string degreesMinutesSeconds(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d°%02d'%02d\"", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::vector<PlanetRow> planetRows(const charts::Reckoning& r) {
    std::vector<PlanetRow> rows;
    const auto longitude = [](double degrees) {
        const sky::SignPosition at = sky::splitLongitude(degrees);
        return signName(at.sign) + " " + degreesMinutesSeconds(at.secondsInSign());
    };
    // The lagna and Ketu are no karakas.
    if (r.place)
        rows.push_back({"Lagna",
                        longitude(r.place->lagna),
                        sky::nakshatraText(r.place->lagna),
                        {},
                        {},
                        {},
                        false,
                        false});
    for (const sky::Body body : sky::kBodies) {
        const sky::KarakaRank& rank = r.ranks[sky::index(body)];
        rows.push_back({std::string(sky::bodyName(body)), longitude(r.positions[body]),
                        sky::nakshatraText(r.positions[body]), degreesMinutesSeconds(rank.rankingSeconds),
                        rank.role ? std::string(sky::karakaAbbreviation(*rank.role)) : std::string(),
                        rank.role ? std::string(sky::karakaName(*rank.role)) : std::string(),
                        body == r.ak || body == r.amk, rank.tied});
    }
    const double ketu = sky::ketuLongitude(r.positions[sky::Body::Rahu]);
    rows.push_back({"Ketu", longitude(ketu), sky::nakshatraText(ketu), {}, {}, {}, false, false});
    return rows;
}

std::vector<std::string> placeLines(const charts::Reckoning& r, const sky::Zone& zone) {
    if (!r.place)
        return {};
    const charts::Reckoning::Place& place = *r.place;
    const auto time = [&](const std::optional<date::sys_seconds>& moment, std::string_view none) {
        return moment ? zone.localTime(*moment) : std::string(none);
    };
    const std::string weekday(almanac::kVaraNames[static_cast<std::size_t>(place.day.vara)]);
    return {"Place: " + place.name + " (" + sky::latitudeText(place.at.latitude) + ", " +
                sky::longitudeText(place.at.longitude) + ")",
            "Lagna: " + signAndDegrees(place.lagna) + ", " + sky::nakshatraText(place.lagna),
            "Sunrise: " + time(place.day.sunrise, "none that day (the Sun does not rise)") +
                "; sunset: " + time(place.day.sunset, "none that day (the Sun does not set)") +
                " (the centre of the Sun's disc, without refraction)",
            "Vara: " + weekday +
                (place.day.beforeSunrise ? ", as the birth came before sunrise"
                 : place.day.sunrise     ? ""
                                         : ", the civil weekday, as the Sun did not rise that day")};
}

std::vector<ChartPoint> chartPoints(const charts::Reckoning& r) {
    std::vector<ChartPoint> points;
    const auto seconds = [](double degrees) {
        return static_cast<int>(sky::stepsReached(degrees, 3600) % (360 * 3600));
    };
    if (r.place)
        points.push_back({"La", "Lagna", seconds(r.place->lagna), false, false});
    constexpr std::array<std::string_view, sky::kBodyCount> kAbbreviations{"Su", "Mo", "Ma", "Me",
                                                                           "Ju", "Ve", "Sa", "Ra"};
    for (const sky::Body body : sky::kBodies)
        points.push_back({std::string(kAbbreviations[sky::index(body)]), std::string(sky::bodyName(body)),
                          seconds(r.positions[body]), body == r.ak, body == r.amk});
    points.push_back({"Ke", "Ketu", seconds(sky::ketuLongitude(r.positions[sky::Body::Rahu])), false, false});
    return points;
}

std::vector<std::string> planetNotes(const charts::Reckoning& r) {
    const sky::SignPosition ayanamsa = sky::splitLongitude(r.positions.ayanamsa);
    std::vector<std::string> notes{
        "Moment in UT: " + sky::isoUniversal(r.ut),
        "Ayanamsa " + std::string(sky::ayanamsaLabel(r.frame.ayanamsa)) + ": " +
            degreesMinutesSeconds(ayanamsa.sign * sky::kSecondsPerSign + ayanamsa.secondsInSign()),
        "The AK and AmK rows are the Atmakaraka (" + std::string(sky::bodyName(r.ak)) +
            ") and the Amatyakaraka (" + std::string(sky::bodyName(r.amk)) + ").",
    };
    std::string tied;
    for (const sky::Body body : sky::kBodies)
        if (r.ranks[sky::index(body)].tied)
            tied += (tied.empty() ? "" : ", ") + std::string(sky::bodyName(body));
    if (!tied.empty())
        notes.push_back(
            "Tied to the arc-second: " + tied +
            "; the body earlier in the order Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Rahu"
            " ranks higher.");
    return notes;
}

} // namespace form
