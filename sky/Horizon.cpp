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

std::optional<date::sys_seconds> nextSunEvent(Ephemeris& ephemeris, date::sys_seconds fromUt, GeoPoint place,
                                              SunEvent event) {
    const double from = julianDay(fromUt);
    const Theory theory = Ephemeris::theoryAt(from);
    (void)ephemeris; // the library's state is the ephemeris': holding one proves it is set up
    double where[3] = {place.longitude, place.latitude, 0};
    double found = 0;
    char error[AS_MAXCH] = "";
    const int32 kind = (event == SunEvent::Rise ? SE_CALC_RISE : SE_CALC_SET) | SE_BIT_HINDU_RISING;
    const int32 flags = theory == Theory::DataFiles ? SEFLG_SWIEPH : SEFLG_MOSEPH;
    const int32 result = swe_rise_trans(from, SE_SUN, nullptr, flags, kind, where, 0, 0, &found, error);
    if (result == -2 || (result == 0 && found - from > 1.0))
        return std::nullopt;
    if (result < 0)
        throw EphemerisError(error);
    return moment(found);
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
    day.sunset = nextSunEvent(ephemeris, midnight, place, SunEvent::Set);
    day.beforeSunrise = day.sunrise && at < *day.sunrise;
    const date::weekday weekday{date::sys_days{civil.time_since_epoch()} -
                                (day.beforeSunrise ? days{1} : days{0})};
    day.vara = static_cast<int>(weekday.c_encoding());
    return day;
}

} // namespace sky
