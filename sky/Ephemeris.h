// Sidereal positions from the Swiss Ephemeris.
//
// The Swiss Ephemeris keeps its settings (data path, sidereal mode, open files, caches) in global
// state. Ephemeris is its one owner: at most one is live in a process, and it must be used from one
// thread only. Every computation sets the sidereal mode first, so no caller ever gets the library's
// own default (Fagan/Bradley) by accident.
//
// Moments are Julian days in Universal Time. From 1800 to 2399 the positions come from the installed
// data files; outside them, back to 3000 BCE and on to 3000 CE, from the Moshier theory built into
// the library (within about an arc-second of the files for the planets, three for the Moon). Other
// moments are refused.
#pragma once

#include "sky/Options.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sky {

class EphemerisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A moment no installed theory covers; the message gives the range in plain words.
class OutOfRange : public EphemerisError {
public:
    using EphemerisError::EphemerisError;
};

// How longitudes are reckoned.
struct Frame {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    Node node = Node::Mean;
};

enum class Theory { DataFiles, Moshier };

struct Positions {
    std::array<double, kBodyCount> longitudes{}; // sidereal, degrees in [0, 360), in Body order
    double ayanamsa = 0;                         // degrees, -180..180; tropical = sidereal + ayanamsa
    Theory theory = Theory::DataFiles;

    double operator[](Body body) const { return longitudes[index(body)]; }
};

struct SunMoon {
    double sun = 0;
    double moon = 0;
};

class Ephemeris {
public:
    static constexpr std::string_view kInstalledData = "/usr/share/libswe/ephe";

    // Reads the data files from `dataFolder` only, never the current folder. Throws EphemerisError
    // when the files are not there, std::logic_error when another Ephemeris is live.
    explicit Ephemeris(const std::string& dataFolder = std::string(kInstalledData));
    ~Ephemeris();
    Ephemeris(const Ephemeris&) = delete;
    Ephemeris& operator=(const Ephemeris&) = delete;

    // Throws OutOfRange, or EphemerisError if the library fails.
    Positions positions(double julianDayUt, Frame frame = {});

    // One body alone, or the Sun and Moon together: what a search along time needs at each step,
    // without the cost of the other bodies.
    double longitude(Body body, double julianDayUt, Frame frame = {});
    SunMoon sunMoon(double julianDayUt, Ayanamsa ayanamsa = Ayanamsa::Lahiri);

    // Terrestrial Time less Universal Time at the moment, in days, as the positions use it.
    double deltaT(double julianDayUt);

    // Which theory serves the moment; throws OutOfRange if none does.
    static Theory theoryAt(double julianDayUt);
};

} // namespace sky
