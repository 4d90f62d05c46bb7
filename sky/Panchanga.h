// The day's panchanga at a place: the Hindu day from sunrise to the next sunrise, its vara, and the
// tithi, nakshatra, yoga and karana prevailing at sunrise with the moment each ends, followed by every
// one that begins before the next sunrise (so a skipped, kshaya, tithi is listed, not lost); the paksha
// and the lunar month.
//
// The lunar month is amanta: it runs from new moon to new moon and is named by the sign the Sun stands
// in at the new moon that begins it (Pisces: Chaitra, Aries: Vaishakha, ... Aquarius: Phalguna). A month
// in which the Sun enters no new sign is adhika, and takes the name of the month after it.
#pragma once

#include "sky/Ephemeris.h"
#include "sky/Horizon.h"
#include "sky/Time.h"

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
};

struct DayPanchanga {
    date::year_month_day date;
    // The day's reckoning begins at sunrise, or at the civil midnight where the Sun does not rise, and
    // runs to the next day's.
    std::optional<date::sys_seconds> sunrise, sunset, moonrise, moonset;
    date::sys_seconds begins, ends;
    int vara = 0; // 0 Sunday .. 6 Saturday
    std::vector<PanchangaSpan> tithis, nakshatras, yogas, karanas;
    bool shukla = true; // the paksha of the tithi at sunrise
    LunarMonth month;   // of the tithi at sunrise
};

// The panchanga of the civil date `day` at a place, times in its zone. Throws OutOfRange beyond the
// ephemeris.
DayPanchanga panchanga(Ephemeris& ephemeris, date::year_month_day day, const Zone& zone, GeoPoint place,
                       Ayanamsa ayanamsa = Ayanamsa::Lahiri);

} // namespace sky
