// The lagna against the Swiss Ephemeris' tropical houses less its ayanamsa, sunrise and sunset against
// the Sun's own altitude at the moments found, and the vara of the Hindu day, at places north and
// south, on both sides of the date line and beyond the Arctic Circle.
#include "sky/Horizon.h"

#include "sky/Longitude.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <swephexp.h>

using namespace std::chrono_literals;

namespace {

class HorizonTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_ephemeris = std::make_unique<sky::Ephemeris>(); }
    static void TearDownTestSuite() { s_ephemeris.reset(); }
    static sky::Ephemeris& ephemeris() { return *s_ephemeris; }
    static inline std::unique_ptr<sky::Ephemeris> s_ephemeris;
};

date::sys_seconds at(const char* day, const char* time, const sky::Zone& zone) {
    return sky::universalTime(sky::parseDate(day), sky::parseTime(time), zone);
}

// The altitude of the Sun's centre, geocentric and without refraction, as the sunrise is defined.
double sunAltitude(date::sys_seconds moment, sky::GeoPoint place) {
    const double jd = sky::julianDay(moment);
    double sun[6];
    char error[AS_MAXCH];
    swe_calc_ut(jd, SE_SUN, SEFLG_SWIEPH | SEFLG_EQUATORIAL, sun, error);
    double where[3] = {place.longitude, place.latitude, 0};
    double horizon[3];
    swe_azalt(jd, SE_EQU2HOR, where, 0, 0, sun, horizon);
    return horizon[1]; // true altitude: no refraction with zero pressure
}

struct Place {
    const char* name;
    sky::GeoPoint at;
    const char* zone;
};

const Place kChennai{"Chennai", {13.0827, 80.2707}, "Asia/Kolkata"};
const Place kSydney{"Sydney", {-33.8688, 151.2093}, "Australia/Sydney"};
const Place kApia{"Apia", {-13.8333, -171.7667}, "Pacific/Apia"};
const Place kKiritimati{"Kiritimati", {1.8721, -157.4278}, "Pacific/Kiritimati"};
const Place kTromso{"Tromsø", {69.6496, 18.9560}, "Europe/Oslo"};
const Place kFairbanks{"Fairbanks", {64.8378, -147.7164}, "America/Anchorage"};

TEST_F(HorizonTest, LagnaIsTheTropicalAscendantLessTheAyanamsa) {
    for (const Place& place : {kChennai, kSydney, kApia, kKiritimati, kTromso}) {
        for (const sky::Ayanamsa ayanamsa : {sky::Ayanamsa::Lahiri, sky::Ayanamsa::Krishnamurti}) {
            SCOPED_TRACE(place.name);
            const sky::Zone zone = sky::Zone::parse(place.zone);
            const double jd = sky::julianDay(at("1990-05-17", "14:30", zone));
            const double lagna = sky::lagna(ephemeris(), jd, place.at, ayanamsa);
            double cusps[13], angles[10], ayanamsaValue = 0;
            char error[AS_MAXCH];
            swe_houses_ex(jd, 0, place.at.latitude, place.at.longitude, 'P', cusps, angles);
            swe_get_ayanamsa_ex_ut(jd, SEFLG_SWIEPH, &ayanamsaValue, error);
            const double apart = std::remainder(lagna - (angles[SE_ASC] - ayanamsaValue), 360.0) * 3600;
            EXPECT_LT(std::abs(apart), 1.0) << "arc-seconds";
        }
    }
}

TEST_F(HorizonTest, SunriseAndSunsetAreWhereTheSunsCentreMeetsTheHorizon) {
    const struct {
        Place place;
        const char* day;
        bool rises, sets;
    } cases[] = {
        {kChennai, "2026-12-08", true, true},  {kSydney, "2026-06-21", true, true},
        {kApia, "2026-12-08", true, true},     {kKiritimati, "2026-12-08", true, true},
        {kTromso, "2026-06-21", false, false}, {kTromso, "2026-12-21", false, false},
        {kTromso, "2026-03-20", true, true},   {kFairbanks, "2024-06-21", true, true}, // sets after midnight
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.place.name) + " " + c.day);
        const sky::Zone zone = sky::Zone::parse(c.place.zone);
        const date::sys_seconds noon = at(c.day, "12:00", zone);
        const sky::HinduDay day = sky::hinduDay(ephemeris(), noon, zone, c.place.at);
        ASSERT_EQ(day.sunrise.has_value(), c.rises);
        ASSERT_EQ(day.sunset.has_value(), c.sets);
        for (const auto& event : {day.sunrise, day.sunset}) {
            if (!event)
                continue;
            // Within a second of the crossing: the Sun moves about 15 arc-seconds a second near the
            // equator, less at higher latitudes.
            EXPECT_LT(std::abs(sunAltitude(*event, c.place.at)), 15.0 / 3600);
        }
        // The sunrise on the civil date at the place, and that day's sunset after it.
        if (day.sunrise) {
            EXPECT_EQ(zone.localTime(*day.sunrise).substr(0, 10), c.day);
        }
        if (day.sunrise && day.sunset) {
            EXPECT_LT(*day.sunrise, *day.sunset);
            EXPECT_LT(*day.sunset - *day.sunrise, std::chrono::hours(24));
        }
    }
}

TEST_F(HorizonTest, TheHinduDayBeginsAtSunrise) {
    const sky::Zone zone = sky::Zone::parse(kChennai.zone);
    // Thursday 17 May 1990; the Sun rose at Chennai a little before six.
    const struct {
        const char* time;
        int vara;
        bool beforeSunrise;
    } cases[] = {{"04:30", 3, true}, {"07:00", 4, false}, {"23:59", 4, false}};
    for (const auto& c : cases) {
        const sky::HinduDay day =
            sky::hinduDay(ephemeris(), at("1990-05-17", c.time, zone), zone, kChennai.at);
        EXPECT_EQ(day.vara, c.vara) << c.time;
        EXPECT_EQ(day.beforeSunrise, c.beforeSunrise) << c.time;
    }
    // Without a sunrise the civil weekday holds: Sunday 21 June 2026 at Tromsø.
    const sky::Zone oslo = sky::Zone::parse(kTromso.zone);
    EXPECT_EQ(sky::hinduDay(ephemeris(), at("2026-06-21", "01:00", oslo), oslo, kTromso.at).vara, 0);
}

} // namespace
