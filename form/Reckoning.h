// Positions reckoned from birth data: the moment in UT, the eight bodies, their karakas, and how the
// window shows them.
#pragma once

#include "form/Chart.h"
#include "form/Controls.h"
#include "form/Database.h"
#include "form/Details.h"
#include "sky/Ephemeris.h"
#include "sky/Horizon.h"
#include "sky/Karakas.h"
#include "sky/Time.h"
#include "store/BirthData.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace form {

struct Reckoning {
    date::sys_seconds ut;
    sky::Frame frame;
    sky::Positions positions;
    std::array<sky::KarakaRank, sky::kBodyCount> ranks;
    sky::Body ak = sky::Body::Sun;  // the Atmakaraka
    sky::Body amk = sky::Body::Sun; // the Amatyakaraka

    // Where there is a place: where it is and what it is called ("13.0827 N, 80.2707 E" where only the
    // coordinates were given), the lagna's sidereal longitude, and the Hindu day of the moment.
    struct Place {
        std::string name;
        sky::GeoPoint at;
        double lagna = 0;
        sky::HinduDay day;
    };
    std::optional<Place> place;

    // The sidereal longitude of each body row: Sun, Moon, AK, AmK.
    std::array<double, kBodyRows> rowLongitudes() const;
};

// A place named without its coordinates made whole, as picking the city from the list would: its full
// name and coordinates, and with `takeZone` its zone too. False where no city has that name; nothing
// changes where coordinates are given or there is no place.
bool completePlace(store::BirthData& birth, bool takeZone);

// Throws sky::InputError for a date, time or zone that cannot be taken, sky::OutOfRange for a moment no
// theory covers. Choices stored under a key this program does not know fall back to the defaults.
Reckoning reckon(const store::BirthData& birth, sky::Ephemeris& ephemeris);

// What is wrong with the birth data, or nothing: the field, and the message that names it ("Birth date:
// ..." and the like). Runs reckon().
struct BirthProblem {
    BirthField field;
    std::string message;
};
std::optional<BirthProblem> birthDataProblem(const store::BirthData& birth, sky::Ephemeris& ephemeris,
                                             std::optional<Reckoning>& reckoning);

// When the outer pair's tithi, nakshatra, yoga and karana at the birth moment began and end, found
// from the exact positions at the moment and shown in the birth zone. `longitudes`: the four body rows
// in minutes, as the captions took them; where a boundary inside their arc-minutes makes them name
// another one than the moment is in, the span says which, by its name in the reference tables of `db`.
SpanTimes spanTimes(const Reckoning& reckoning, const store::BirthData& birth,
                    const std::array<int, kBodyRows>& longitudes, sky::Ephemeris& ephemeris, Database& db);

// The table of the lagna (where there is a place), the eight bodies and Ketu, and the lines under it.
std::vector<PlanetRow> planetRows(const Reckoning& reckoning);
std::vector<std::string> planetNotes(const Reckoning& reckoning);

// The lagna, sunrise, sunset and vara in words, one line each; none without a place.
std::vector<std::string> placeLines(const Reckoning& reckoning, const sky::Zone& zone);

// The chart's points: the lagna, the nine grahas, the AK and AmK marked.
std::vector<ChartPoint> chartPoints(const Reckoning& reckoning);

// 2°07'24" from whole arc-seconds.
std::string degreesMinutesSeconds(int seconds);

} // namespace form
