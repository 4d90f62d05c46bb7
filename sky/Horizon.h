// What a birth place adds to a moment: the lagna (the sidereal ascendant), the day's sunrise and sunset,
// and the vara, the weekday of the Hindu day, which runs from sunrise to sunrise.
//
// Sunrise and sunset are those of the centre of the Sun's disc on the true horizon, without refraction:
// the Hindu almanac's convention (the astronomers' upper limb with refraction comes earlier at rise, by
// about four minutes in India and more further from the equator). The same definition serves
// everywhere in the program.
#pragma once

#include "sky/Ephemeris.h"
#include "sky/Time.h"

#include <optional>

namespace sky {

struct GeoPoint {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
};

// The sidereal longitude of the ascendant, degrees in [0, 360): the Swiss Ephemeris' houses for the
// moment and place in the frame's ayanamsa. Throws OutOfRange as positions() does.
double lagna(Ephemeris& ephemeris, double julianDayUt, GeoPoint place, Ayanamsa ayanamsa);

enum class SunEvent { Rise, Set };

// The first sunrise or sunset after `fromUt` within the next day, or none where the Sun stays above or
// below the horizon (a polar day or night).
std::optional<date::sys_seconds> nextSunEvent(Ephemeris& ephemeris, date::sys_seconds fromUt, GeoPoint place,
                                              SunEvent event);

enum class MoonEvent { Rise, Set };

// The first moonrise or moonset after `fromUt` within the next two days, or none where the Moon stays
// above or below the horizon that long: the rise and set of the centre of its disc seen from the place,
// without refraction. (The Moon rises about 50 minutes later each day, so a civil day now and then has
// no moonrise.)
std::optional<date::sys_seconds> nextMoonEvent(Ephemeris& ephemeris, date::sys_seconds fromUt, GeoPoint place,
                                               MoonEvent event);

struct HinduDay {
    // The sunrise of the civil date at the place, as its zone's clocks read it, and the sunset after it
    // (far north in summer, after midnight); none on a day without one.
    std::optional<date::sys_seconds> sunrise;
    std::optional<date::sys_seconds> sunset;
    int vara = 0; // 0 Sunday .. 6 Saturday
    // The moment came before that day's sunrise, so it belongs to the previous weekday.
    bool beforeSunrise = false;
};

// The Hindu day a moment falls in at a place. Without a sunrise that civil day the vara is the civil
// weekday: no sunrise is invented.
HinduDay hinduDay(Ephemeris& ephemeris, date::sys_seconds moment, const Zone& zone, GeoPoint place);

} // namespace sky
