// Positions reckoned from birth data: the moment in UT, the eight bodies, their karakas, and how the
// window shows them.
#pragma once

#include "form/Controls.h"
#include "form/Database.h"
#include "form/Details.h"
#include "sky/Ephemeris.h"
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

    // The sidereal longitude of each body row: Sun, Moon, AK, AmK.
    std::array<double, kBodyRows> rowLongitudes() const;
};

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

// The table of the eight bodies, and the lines under it.
std::vector<PlanetRow> planetRows(const Reckoning& reckoning);
std::vector<std::string> planetNotes(const Reckoning& reckoning);

// 2°07'24" from whole arc-seconds.
std::string degreesMinutesSeconds(int seconds);

} // namespace form
