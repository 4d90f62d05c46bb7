#include "sky/Panchanga.h"

#include "almanac/Pair.h"
#include "sky/Crossings.h"
#include "sky/Longitude.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sky {

using std::chrono::hours;
using std::chrono::seconds;

namespace {

// How one quantity is divided: into tithis, nakshatras, yogas or karanas.
struct Division {
    Quantity quantity;
    double each; // degrees
    int count;
};

constexpr double kNakshatraDegrees = almanac::kMinutesPerNakshatra / double(almanac::kMinutesPerDegree);

// In the order of PanchangaDays::m_known.
constexpr std::array<Division, 4> kDivisions{{
    {Quantity::Elongation, almanac::kDegreesPerTithi, almanac::kTithiCount},
    {Quantity::MoonLongitude, kNakshatraDegrees, almanac::kNakshatraCount},
    {Quantity::Sum, kNakshatraDegrees, almanac::kYogaCount},
    {Quantity::Elongation, almanac::kDegreesPerKarana, almanac::kKaranaCount},
}};

// The mean synodic month, in days, and the mean daily growth of the elongation over it.
constexpr double kSynodicMonth = 29.530589;
constexpr double kElongationPerDay = 360.0 / kSynodicMonth;

date::sys_seconds daysLater(date::sys_seconds from, double days) {
    return from + seconds{std::llround(days * 86400.0)};
}

// A rise or set within [from, until), or none.
std::optional<date::sys_seconds> within(std::optional<date::sys_seconds> event, date::sys_seconds until) {
    return event && *event < until ? event : std::nullopt;
}

} // namespace

PanchangaDays::PanchangaDays(Ephemeris& ephemeris, const Zone& zone, GeoPoint place, Ayanamsa ayanamsa)
    : m_ephemeris(ephemeris)
    , m_zone(zone)
    , m_place(place)
    , m_ayanamsa(ayanamsa) {}

date::sys_seconds PanchangaDays::startOf(date::year_month_day day) {
    const date::local_seconds midnight{date::local_days{day}};
    const date::sys_seconds asUt{midnight.time_since_epoch()};
    const auto localAt = [&](date::sys_seconds at) {
        return date::local_seconds{(at + m_zone.offsetAt(at)).time_since_epoch()};
    };
    // Offsets stay within 16 hours of UT, so the date begins within 16 hours of its midnight read as UT,
    // under one of the offsets in force about then. Where midnight came twice, the first.
    std::optional<date::sys_seconds> first;
    for (const date::sys_seconds probe : {asUt - hours(16), asUt, asUt + hours(16)}) {
        const date::sys_seconds candidate = asUt - m_zone.offsetAt(probe);
        if (localAt(candidate) == midnight && (!first || candidate < *first))
            first = candidate;
    }
    if (first)
        return *first;
    // The clocks jumped over midnight: the date begins when they jumped, the first moment past it.
    date::sys_seconds before = asUt - hours(16);
    date::sys_seconds after = asUt + hours(16);
    while (after - before > seconds(1)) {
        const date::sys_seconds middle = before + (after - before) / 2;
        (localAt(middle) < midnight ? before : after) = middle;
    }
    return after;
}

const PanchangaDays::CivilDay& PanchangaDays::civilDay(date::year_month_day day) {
    for (const CivilDay& known : m_days)
        if (known.date == day)
            return known;
    const date::sys_seconds start = startOf(day);
    const date::sys_seconds next = startOf(date::sys_days{day} + date::days{1});
    const auto sunrise = within(nextSunEvent(m_ephemeris, start, m_place, SunEvent::Rise), next);
    // A run asks for each date twice, as a day and as the day after the one before.
    constexpr std::size_t kKept = 4;
    if (m_days.size() == kKept)
        m_days.erase(m_days.begin());
    m_days.push_back({day, start, sunrise});
    return m_days.back();
}

std::vector<PanchangaSpan> PanchangaDays::spans(std::size_t which, date::sys_seconds begins,
                                                date::sys_seconds ends) {
    const Division& division = kDivisions[which];
    Known& known = m_known[which];
    const auto crossingOf = [&](int number, date::sys_seconds from) {
        return crossing(m_ephemeris, division.quantity, (number + 1) * division.each, from, m_ayanamsa);
    };
    // The span in force at `begins`: one found before, else the one the quantity stands in.
    std::vector<PanchangaSpan> found;
    date::sys_seconds firstFrom = begins;
    date::sys_seconds from = known.from;
    for (auto span = known.spans.begin(); span != known.spans.end(); from = (span++)->ends)
        if (from <= begins && begins < span->ends) {
            found.assign(span, known.spans.end());
            firstFrom = from;
            break;
        }
    if (found.empty()) {
        const double quantity = quantityAt(m_ephemeris, division.quantity, julianDay(begins), m_ayanamsa);
        const int number = spanIndex(quantity, division.each, division.count);
        found.push_back({number, crossingOf(number, begins)});
    }
    // Each one after it that begins before the day ends, and no other.
    std::size_t kept = 1;
    while (kept < found.size() && found[kept - 1].ends < ends)
        ++kept;
    found.resize(kept);
    while (found.back().ends < ends) {
        const int number = (found.back().number + 1) % division.count;
        found.push_back({number, crossingOf(number, found.back().ends)});
    }
    known = {firstFrom, found};
    return found;
}

const PanchangaDays::Lunation& PanchangaDays::lunation(date::sys_seconds at) {
    if (m_lunation && m_lunation->starts <= at && at < m_lunation->ends)
        return *m_lunation;
    // The crossing search goes in six-hour steps, so it is started where the mean motion puts the new
    // moons: within a day or two of them, not a fortnight.
    const auto newMoon = [&](date::sys_seconds near) {
        return crossing(m_ephemeris, Quantity::Elongation, 0, near, m_ayanamsa);
    };
    const auto sunSign = [&](date::sys_seconds when) {
        return splitLongitude(m_ephemeris.longitude(Body::Sun, julianDay(when), {m_ayanamsa, Node::Mean}))
            .sign;
    };
    // A run of days comes to the month after the one it knows, which begins where that one ended.
    if (m_lunation && m_lunation->ends <= at) {
        Lunation next{m_lunation->ends, newMoon(daysLater(m_lunation->ends, kSynodicMonth)),
                      m_lunation->signAtEnd, 0};
        if (at < next.ends) {
            next.signAtEnd = sunSign(next.ends);
            m_lunation = next;
            return *m_lunation;
        }
    }
    const double elongation = quantityAt(m_ephemeris, Quantity::Elongation, julianDay(at), m_ayanamsa);
    Lunation found;
    found.starts = newMoon(daysLater(at, -elongation / kElongationPerDay));
    found.ends = newMoon(daysLater(at, (360 - elongation) / kElongationPerDay));
    found.signAtStart = sunSign(found.starts);
    found.signAtEnd = sunSign(found.ends);
    m_lunation = found;
    return *m_lunation;
}

DayPanchanga PanchangaDays::day(date::year_month_day day) {
    const CivilDay today = civilDay(day);
    date::year_month_day next{date::sys_days{day} + date::days{1}};
    const date::sys_seconds nextStart = startOf(next);
    if (nextStart <= today.start)
        throw InputError(Field::Date, dateText(day) + " did not happen in " + m_zone.name() +
                                          ": its clocks went past the whole date");
    // The next date the place had: the day runs to its sunrise.
    if (startOf(date::sys_days{next} + date::days{1}) <= nextStart)
        next = date::sys_days{next} + date::days{1};
    const CivilDay tomorrow = civilDay(next);

    DayPanchanga result;
    result.date = day;
    result.sunrise = today.sunrise;
    result.begins = today.sunrise.value_or(today.start);
    result.ends = tomorrow.sunrise.value_or(tomorrow.start);
    // The day's own sunset, which far north comes after midnight: the first after its beginning, before
    // its end.
    result.sunset = within(nextSunEvent(m_ephemeris, result.begins, m_place, SunEvent::Set), result.ends);
    result.moonrise = within(nextMoonEvent(m_ephemeris, today.start, m_place, MoonEvent::Rise), nextStart);
    result.moonset = within(nextMoonEvent(m_ephemeris, today.start, m_place, MoonEvent::Set), nextStart);
    result.vara = static_cast<int>(date::weekday{date::sys_days{day}}.c_encoding());

    std::array<std::vector<PanchangaSpan>*, 4> lists{&result.tithis, &result.nakshatras, &result.yogas,
                                                     &result.karanas};
    for (std::size_t i = 0; i < kDivisions.size(); ++i)
        *lists[i] = spans(i, result.begins, result.ends);
    result.shukla = result.tithis.front().number < almanac::kTithiCount / 2;

    const Lunation& month = lunation(result.begins);
    result.month = {(month.signAtStart + 1) % 12, month.signAtStart == month.signAtEnd};
    return result;
}

DayPanchanga panchanga(Ephemeris& ephemeris, date::year_month_day day, const Zone& zone, GeoPoint place,
                       Ayanamsa ayanamsa) {
    return PanchangaDays(ephemeris, zone, place, ayanamsa).day(day);
}

} // namespace sky
