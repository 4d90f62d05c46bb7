// Positions against values published independently of the Swiss Ephemeris, the range it covers, and
// its one-owner rule.
#include "sky/Ephemeris.h"

#include "sky/Time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

using namespace date::literals;
using namespace std::chrono_literals;
using sky::Ayanamsa;
using sky::Body;
using sky::Ephemeris;

namespace {

constexpr double dms(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60 + seconds / 3600;
}

double secondsApart(double a, double b) {
    return std::abs(std::remainder(a - b, 360.0)) * 3600;
}

// Ecliptic longitude from right ascension and declination (degrees), for the obliquity of date.
double eclipticLongitude(double alpha, double delta, double obliquity) {
    const double rad = std::numbers::pi / 180, a = alpha * rad, d = delta * rad, e = obliquity * rad;
    return std::atan2(std::sin(a) * std::cos(e) + std::tan(d) * std::sin(e), std::cos(a)) / rad;
}

class EphemerisTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_ephemeris = std::make_unique<Ephemeris>(); }
    static void TearDownTestSuite() { s_ephemeris.reset(); }
    static Ephemeris& ephemeris() { return *s_ephemeris; }

    // Published moments are in Terrestrial (Dynamical) Time; the ephemeris takes UT.
    static sky::Positions atTt(double julianDayTt) {
        return ephemeris().positions(julianDayTt - ephemeris().deltaT(julianDayTt));
    }

    static inline std::unique_ptr<Ephemeris> s_ephemeris;
};

struct Reference {
    const char* source;
    Body body;
    double julianDayTt;
    double apparentLongitude; // tropical, true equinox of date
    double toleranceSeconds;  // what the source can tell
};

// Jean Meeus, Astronomical Algorithms, 2nd ed. (1998).
const Reference kMeeus[] = {
    // Example 25.b: the Sun, 1992 October 13.0 TD, complete VSOP87.
    {"Meeus 25.b Sun", Body::Sun, 2448908.5, dms(199, 54, 21.56), 0.1},
    // Example 47.a: the Moon, 1992 April 12.0 TD. His series stops short of the complete ELP-2000/82;
    // he puts its error near 10", so it tells no more than a few seconds.
    {"Meeus 47.a Moon", Body::Moon, 2448724.5, 133.167265, 3},
    // Example 33.a: Venus, 1992 December 20.0 TD, complete VSOP87: α 21h04m41.454s, δ -18°53'16.84",
    // with the true obliquity 23.43966° (an arc-second of it moves λ by 0.03").
    {"Meeus 33.a Venus", Body::Venus, 2448976.5,
     eclipticLongitude(dms(21, 4, 41.454) * 15, -dms(18, 53, 16.84), 23.43966), 0.1},
    // Example 22.a: 1987 April 10.0 TD, the Moon's mean node Ω = 11.2531° on the mean equinox, plus
    // the nutation Δψ = -3.788" for the true one.
    {"Meeus 22.a mean node", Body::Rahu, 2446895.5, 11.2531 - 3.788 / 3600, 0.5},
};

TEST_F(EphemerisTest, AgreesWithMeeusWorkedExamples) {
    for (const Reference& reference : kMeeus) {
        SCOPED_TRACE(reference.source);
        const sky::Positions positions = atTt(reference.julianDayTt);
        EXPECT_LT(secondsApart(positions[reference.body] + positions.ayanamsa, reference.apparentLongitude),
                  reference.toleranceSeconds);
    }
}

// The Indian Astronomical Ephemeris: 23°15'00.658" on 1956 March 21, 0h TT.
TEST_F(EphemerisTest, LahiriAyanamsaHasItsDefiningValue) {
    EXPECT_LT(secondsApart(atTt(2435553.5).ayanamsa, dms(23, 15, 0.658)), 0.25);
}

// Halley's eclipse, total over England: greatest eclipse 1715 May 3, 09:36:30 TD (NASA's Five
// Millennium Canon of Solar Eclipses, Espenak and Meeus; gamma 0.7112). The Moon is then within a few
// arc-minutes of the Sun in longitude; an hour's error would put it half a degree away.
TEST_F(EphemerisTest, BeforeTheDataFilesMoshierMatchesAnHistoricalEclipse) {
    const sky::Positions positions = atTt(sky::julianDay(date::sys_days{1715_y / 5 / 3} + 9h + 36min + 30s));
    EXPECT_EQ(positions.theory, sky::Theory::Moshier);
    EXPECT_LT(secondsApart(positions[Body::Moon], positions[Body::Sun]), 10 * 60);
}

TEST_F(EphemerisTest, CoversThreeThousandBceToThreeThousandCe) {
    const auto theory = [](date::sys_seconds moment) {
        return Ephemeris::theoryAt(sky::julianDay(moment));
    };
    EXPECT_EQ(theory(date::sys_days{1800_y / 6 / 1}), sky::Theory::DataFiles);
    EXPECT_EQ(theory(date::sys_days{2400_y / 6 / 1}), sky::Theory::Moshier);
    EXPECT_EQ(theory(date::sys_days{date::year{-2999} / 1 / 1}), sky::Theory::Moshier);
    EXPECT_EQ(ephemeris().positions(sky::julianDay(date::sys_days{3001_y / 1 / 1} - 1s)).theory,
              sky::Theory::Moshier);
    EXPECT_THROW(theory(date::sys_days{date::year{-2999} / 1 / 1} - 1s), sky::OutOfRange);
    try {
        ephemeris().positions(sky::julianDay(date::sys_days{3001_y / 1 / 1}));
        ADD_FAILURE() << "3001 was not refused";
    } catch (const sky::OutOfRange& e) {
        EXPECT_STREQ(e.what(),
                     "positions can be computed only from 1 January 3000 BCE to 31 December 3000 CE");
    }
}

// A search along time asks for single bodies in whatever reckoning it needs; the answer must not
// depend on what was asked before.
TEST_F(EphemerisTest, SingleBodiesMatchTheFullPositionsWhateverCameBefore) {
    const double moment = sky::julianDay(date::sys_days{2024_y / 4 / 8} + 18h);
    const sky::Positions lahiriTrue = ephemeris().positions(moment, {Ayanamsa::Lahiri, sky::Node::True});
    ephemeris().positions(moment, {Ayanamsa::FaganBradley, sky::Node::Mean});
    const sky::SunMoon pair = ephemeris().sunMoon(moment, Ayanamsa::Lahiri);
    EXPECT_DOUBLE_EQ(pair.sun, lahiriTrue[Body::Sun]);
    EXPECT_DOUBLE_EQ(pair.moon, lahiriTrue[Body::Moon]);
    EXPECT_DOUBLE_EQ(ephemeris().longitude(Body::Rahu, moment, {Ayanamsa::Lahiri, sky::Node::True}),
                     lahiriTrue[Body::Rahu]);
    // The true node swings about the mean one by less than two degrees.
    EXPECT_LT(secondsApart(ephemeris().longitude(Body::Rahu, moment), lahiriTrue[Body::Rahu]), 2 * 3600);
}

TEST_F(EphemerisTest, EachAyanamsaIsItsOwnReckoningOfTheSameSky) {
    const double moment = sky::julianDay(date::sys_days{1990_y / 5 / 17} + 9h);
    const sky::Positions lahiri = ephemeris().positions(moment);
    for (const Ayanamsa ayanamsa : sky::kAyanamsas) {
        SCOPED_TRACE(sky::ayanamsaKey(ayanamsa));
        const sky::Positions positions = ephemeris().positions(moment, {ayanamsa, sky::Node::Mean});
        for (const Body body : sky::kBodies)
            EXPECT_LT(secondsApart(positions[body] + positions.ayanamsa, lahiri[body] + lahiri.ayanamsa),
                      1e-3);
        if (ayanamsa != Ayanamsa::Lahiri) {
            EXPECT_GT(secondsApart(positions.ayanamsa, lahiri.ayanamsa), 30);
        }
    }
}

TEST(EphemerisOwnership, OneLiveInstanceReadingOnlyTheDataFolderGiven) {
    EXPECT_THROW(Ephemeris("/nonexistent/ephe"), sky::EphemerisError);
    {
        const Ephemeris first;
        EXPECT_THROW(Ephemeris second, std::logic_error);
    }
    Ephemeris again; // the first gave the library up
    EXPECT_NO_THROW(again.positions(2451545.0));
}

} // namespace
