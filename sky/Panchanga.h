// The day's panchanga at a place: the Hindu day from sunrise to the next sunrise, its vara, and the
// tithi, nakshatra, yoga and karana prevailing at sunrise with the moment each ends, followed by every
// one that begins before the next sunrise (so a skipped, kshaya, tithi is listed, not lost); the paksha
// and the lunar month.
//
// The lunar month is amanta: it runs from new moon to new moon and is named by the sign the Sun stands
// in at the new moon that begins it (Pisces: Chaitra, Aries: Vaishakha, ... Aquarius: Phalguna). A month
// in which the Sun enters no new sign is adhika, and takes the name of the month after it.
//
// Sunrise and sunset are those of Horizon.h: the centre of the Sun's disc on the true horizon, without
// refraction. Moonrise and moonset follow the same convention for the Moon: the centre of its disc,
// without refraction, but seen from the place (with the Moon's parallax) and with its ecliptic latitude,
// which moves the Moon's rising by up to half an hour where the Sun's is unaffected.
#pragma once

#include "sky/Ephemeris.h"
#include "sky/Horizon.h"
#include "sky/Time.h"

#include <array>
#include <optional>
#include <vector>

namespace sky {

// One tithi, nakshatra, yoga or karana of the day: its number (tithi 0..29, nakshatra and yoga 0..26,
// karana 0..59, the half-tithi of the month) and when it ends.
struct PanchangaSpan {
    int number = 0;
    date::sys_seconds ends;

    friend bool operator==(const PanchangaSpan&, const PanchangaSpan&) = default;
};

struct LunarMonth {
    int number = 0; // 0 Chaitra .. 11 Phalguna
    bool adhika = false;

    friend bool operator==(const LunarMonth&, const LunarMonth&) = default;
};

struct DayPanchanga {
    date::year_month_day date;
    // The day's reckoning begins at sunrise, or at the civil midnight where the Sun does not rise, and
    // runs to the next day's. Sunset, moonrise and moonset are the first of the civil date, if any.
    std::optional<date::sys_seconds> sunrise, sunset, moonrise, moonset;
    date::sys_seconds begins, ends;
    int vara = 0; // 0 Sunday .. 6 Saturday
    // Each list starts with the span in force at `begins`, and every span ends after the one before it;
    // the last ends at or after `ends`.
    std::vector<PanchangaSpan> tithis, nakshatras, yogas, karanas;
    bool shukla = true; // the paksha of the tithi at sunrise
    LunarMonth month;   // of the tithi at sunrise

    friend bool operator==(const DayPanchanga&, const DayPanchanga&) = default;
};

// The panchanga of the civil date `day` at a place, times in its zone. Throws OutOfRange beyond the
// ephemeris, and InputError(Field::Date) for a date the zone's clocks passed over (30 December 2011 in
// Pacific/Apia).
DayPanchanga panchanga(Ephemeris& ephemeris, date::year_month_day day, const Zone& zone, GeoPoint place,
                       Ayanamsa ayanamsa = Ayanamsa::Lahiri);

// Days at one place reckoned one after another, as a calendar lists them. What one day finds serves
// the next: its next sunrise, the spans that run past it, and the new moons that bound the month. A run
// of consecutive days costs about half what the days cost asked one by one; the days may come in any
// order, and each is exactly what panchanga() gives. The ephemeris must outlive the object.
class PanchangaDays {
public:
    PanchangaDays(Ephemeris& ephemeris, const Zone& zone, GeoPoint place,
                  Ayanamsa ayanamsa = Ayanamsa::Lahiri);

    // Throws as panchanga() does.
    DayPanchanga day(date::year_month_day day);

private:
    // Where a civil date begins (its first moment on the zone's clocks) and its sunrise, if any.
    struct CivilDay {
        date::year_month_day date;
        date::sys_seconds start;
        std::optional<date::sys_seconds> sunrise;
    };
    // Consecutive spans of one quantity found before: the first began at or before `from`.
    struct Known {
        date::sys_seconds from;
        std::vector<PanchangaSpan> spans;
    };
    // The new moons that bound a lunar month, and the Sun's sign at each (0 Aries .. 11 Pisces).
    struct Lunation {
        date::sys_seconds starts, ends;
        int signAtStart = 0, signAtEnd = 0;
    };
    date::sys_seconds startOf(date::year_month_day day);
    const CivilDay& civilDay(date::year_month_day day);
    // The tithis (0), nakshatras (1), yogas (2) or karanas (3) from `begins` to `ends`.
    std::vector<PanchangaSpan> spans(std::size_t which, date::sys_seconds begins, date::sys_seconds ends);
    const Lunation& lunation(date::sys_seconds at);

    Ephemeris& m_ephemeris;
    Zone m_zone;
    GeoPoint m_place;
    Ayanamsa m_ayanamsa;
    std::vector<CivilDay> m_days; // the last few, most recent last
    std::array<Known, 4> m_known; // tithi, nakshatra, yoga, karana
    std::optional<Lunation> m_lunation;
};

} // namespace sky
