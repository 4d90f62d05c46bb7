#include "sky/Horizon.h"

#include "sky/Longitude.h"

#include <chrono>
#include <cmath>
#include <swephexp.h>

namespace sky {

namespace {

date::sys_seconds moment(double julianDayUt) {
    return date::sys_seconds{std::chrono::seconds{std::llround((julianDayUt - 2440587.5) * 86400.0)}};
}

} // namespace

double lagna(Ephemeris& ephemeris, double julianDayUt, GeoPoint place, Ayanamsa ayanamsa) {
    // The positions set the sidereal mode and check the moment; the houses then read the same mode.
    ephemeris.longitude(Body::Sun, julianDayUt, {ayanamsa, Node::Mean});
    double cusps[13];
    double angles[10];
    if (swe_houses_ex(julianDayUt, SEFLG_SIDEREAL, place.latitude, place.longitude, 'W', cusps, angles) < 0)
        throw EphemerisError("the Swiss Ephemeris could not find the ascendant for this place");
    return normalizedDegrees(angles[SE_ASC]);
}

namespace {

// The first rise or set of `body` after `fromUt` within `reach` days, or none.
std::optional<date::sys_seconds> nextEvent(int32 body, int32 kind, date::sys_seconds fromUt, GeoPoint place,
                                           double reach) {
    const double from = julianDay(fromUt);
    const int32 flags = Ephemeris::theoryAt(from) == Theory::DataFiles ? SEFLG_SWIEPH : SEFLG_MOSEPH;
    double where[3] = {place.longitude, place.latitude, 0};
    double found = 0;
    char error[AS_MAXCH] = "";
    const int32 result = swe_rise_trans(from, body, nullptr, flags, kind, where, 0, 0, &found, error);
    if (result == -2 || (result == 0 && found - from > reach))
        return std::nullopt;
    if (result < 0)
        throw EphemerisError(error);
    return moment(found);
}

} // namespace

// The ephemeris is not read: the library's state is its, and holding one proves that it is set up.
std::optional<date::sys_seconds> nextSunEvent(Ephemeris&, date::sys_seconds fromUt, GeoPoint place,
                                              SunEvent event) {
    return nextEvent(SE_SUN, (event == SunEvent::Rise ? SE_CALC_RISE : SE_CALC_SET) | SE_BIT_HINDU_RISING,
                     fromUt, place, 1.0);
}

std::optional<date::sys_seconds> nextMoonEvent(Ephemeris&, date::sys_seconds fromUt, GeoPoint place,
                                               MoonEvent event) {
    // The disc's centre without refraction, as for the Sun; but not SE_BIT_HINDU_RISING, whose
    // geocentric position without ecliptic latitude would put the Moon up to five degrees from where it
    // stands. The Moon rises about 50 minutes later each day, so a day can pass without a rise.
    return nextEvent(SE_MOON,
                     (event == MoonEvent::Rise ? SE_CALC_RISE : SE_CALC_SET) | SE_BIT_DISC_CENTER |
                         SE_BIT_NO_REFRACTION,
                     fromUt, place, 2.0);
}

HinduDay hinduDay(Ephemeris& ephemeris, date::sys_seconds at, const Zone& zone, GeoPoint place) {
    using namespace std::chrono;
    const seconds offset = zone.offsetAt(at);
    const date::local_seconds local{(at + offset).time_since_epoch()};
    const date::local_days civil = date::floor<date::days>(local);
    // Midnight as the clocks read it at the moment; a clock change that day moves it by an hour at most,
    // which no sunrise comes near.
    const date::sys_seconds midnight{(civil - offset).time_since_epoch()};
    HinduDay day;
    day.sunrise = nextSunEvent(ephemeris, midnight, place, SunEvent::Rise);
    // The sunset of that day's light, which far north comes after midnight: the first after sunrise.
    day.sunset = nextSunEvent(ephemeris, day.sunrise.value_or(midnight), place, SunEvent::Set);
    day.beforeSunrise = day.sunrise && at < *day.sunrise;
    const date::weekday weekday{date::sys_days{civil.time_since_epoch()} -
                                (day.beforeSunrise ? days{1} : days{0})};
    day.vara = static_cast<int>(weekday.c_encoding());
    return day;
}

} // namespace sky
