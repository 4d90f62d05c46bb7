#include "sky/Ephemeris.h"

#include "sky/Longitude.h"
#include "sky/Time.h"

#include <atomic>
#include <swephexp.h>

namespace sky {

namespace {

using namespace date::literals;

// The Moshier theory reaches a little past these years; round ones are easier to state.
constexpr double kFirstCovered = julianDay(date::sys_days{date::year{-2999} / 1 / 1}); // 1 January 3000 BCE
constexpr double kEndCovered = julianDay(date::sys_days{3001_y / 1 / 1});

// The data files (sepl_18, semo_18) run from 1 January 1800 to 1 January 2400 in Terrestrial Time.
// A day is kept clear at each end: a planet is seen where it was when its light left it, up to hours
// earlier, and close to the files' last day the library already looks for the next file.
constexpr double kFirstData = julianDay(date::sys_days{1800_y / 1 / 2});
constexpr double kEndData = julianDay(date::sys_days{2399_y / 12 / 31});

std::atomic<bool> g_live{false};

void release() {
    swe_close();
    g_live = false;
}

int32 siderealMode(Ayanamsa ayanamsa) {
    switch (ayanamsa) {
    case Ayanamsa::Lahiri:
        return SE_SIDM_LAHIRI;
    case Ayanamsa::Raman:
        return SE_SIDM_RAMAN;
    case Ayanamsa::Krishnamurti:
        return SE_SIDM_KRISHNAMURTI;
    case Ayanamsa::FaganBradley:
        return SE_SIDM_FAGAN_BRADLEY;
    case Ayanamsa::TrueChitra:
        return SE_SIDM_TRUE_CITRA;
    case Ayanamsa::Yukteshwar:
        return SE_SIDM_YUKTESHWAR;
    }
    return SE_SIDM_LAHIRI;
}

int32 planet(Body body, Node node) {
    constexpr std::array<int32, kBodyCount> kPlanets{SE_SUN,     SE_MOON,  SE_MARS,   SE_MERCURY,
                                                     SE_JUPITER, SE_VENUS, SE_SATURN, SE_MEAN_NODE};
    return body == Body::Rahu && node == Node::True ? SE_TRUE_NODE : kPlanets[index(body)];
}

int32 theoryFlag(Theory theory) {
    return theory == Theory::DataFiles ? SEFLG_SWIEPH : SEFLG_MOSEPH;
}

// Sets the sidereal mode for what follows; the library's default would be Fagan/Bradley.
Theory prepare(double julianDayUt, Ayanamsa ayanamsa) {
    const Theory theory = Ephemeris::theoryAt(julianDayUt);
    swe_set_sid_mode(siderealMode(ayanamsa), 0, 0);
    return theory;
}

double siderealLongitude(double julianDayUt, int32 body, Theory theory) {
    double result[6];
    char error[AS_MAXCH] = "";
    const int32 used = swe_calc_ut(julianDayUt, body, theoryFlag(theory) | SEFLG_SIDEREAL, result, error);
    if (used < 0)
        throw EphemerisError(error);
    // Where it cannot read a data file the library quietly falls back to the Moshier theory. Inside the
    // files' years that means they are missing or damaged, which must not pass unnoticed.
    if (theory == Theory::DataFiles && (used & SEFLG_SWIEPH) == 0)
        throw EphemerisError(std::string("the Swiss Ephemeris data files could not be read: ") + error);
    return normalizedDegrees(result[0]);
}

// With nutation, as the sidereal longitudes subtract it; negative before the zodiacs coincided, where
// the library gives it as a whole circle less.
double ayanamsaValue(double julianDayUt, Theory theory) {
    double value = 0;
    char error[AS_MAXCH] = "";
    if (swe_get_ayanamsa_ex_ut(julianDayUt, theoryFlag(theory), &value, error) < 0)
        throw EphemerisError(error);
    return value > 180 ? value - 360 : value;
}

} // namespace

Ephemeris::Ephemeris(const std::string& dataFolder) {
    if (g_live.exchange(true))
        throw std::logic_error("an Ephemeris is already live: the Swiss Ephemeris has one global state");
    // Without this the library would search the current folder first. (An SE_EPHE_PATH environment
    // variable still overrides it: that is the library's rule, for whoever runs the program.)
    swe_set_ephe_path(dataFolder.c_str());
    try {
        constexpr double kJ2000 = 2451545.0;
        const Theory theory = prepare(kJ2000, Ayanamsa::Lahiri);
        siderealLongitude(kJ2000, SE_SUN, theory);
        siderealLongitude(kJ2000, SE_MOON, theory);
    } catch (const EphemerisError&) {
        release();
        throw EphemerisError("the Swiss Ephemeris data files (sepl_18.se1, semo_18.se1) are not in " +
                             dataFolder + "; the package swe-basic-data installs them");
    } catch (...) {
        release();
        throw;
    }
}

Ephemeris::~Ephemeris() {
    release();
}

Theory Ephemeris::theoryAt(double julianDayUt) {
    if (!(julianDayUt >= kFirstCovered && julianDayUt < kEndCovered))
        throw OutOfRange("positions can be computed only from 1 January 3000 BCE to 31 December 3000 CE");
    return julianDayUt >= kFirstData && julianDayUt < kEndData ? Theory::DataFiles : Theory::Moshier;
}

Positions Ephemeris::positions(double julianDayUt, Frame frame) {
    Positions positions;
    positions.theory = prepare(julianDayUt, frame.ayanamsa);
    for (const Body body : kBodies)
        positions.longitudes[index(body)] =
            siderealLongitude(julianDayUt, planet(body, frame.node), positions.theory);
    positions.ayanamsa = ayanamsaValue(julianDayUt, positions.theory);
    return positions;
}

double Ephemeris::longitude(Body body, double julianDayUt, Frame frame) {
    const Theory theory = prepare(julianDayUt, frame.ayanamsa);
    return siderealLongitude(julianDayUt, planet(body, frame.node), theory);
}

SunMoon Ephemeris::sunMoon(double julianDayUt, Ayanamsa ayanamsa) {
    const Theory theory = prepare(julianDayUt, ayanamsa);
    return {siderealLongitude(julianDayUt, SE_SUN, theory), siderealLongitude(julianDayUt, SE_MOON, theory)};
}

double Ephemeris::deltaT(double julianDayUt) {
    char error[AS_MAXCH] = "";
    return swe_deltat_ex(julianDayUt, theoryFlag(theoryAt(julianDayUt)), error);
}

} // namespace sky
