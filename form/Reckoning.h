// Positions reckoned from birth data as the window shows them: what is wrong with the birth data, the
// table of the bodies, the place's lines, the chart's points and when the results' spans began and end.
#pragma once

#include "charts/Reckoning.h"
#include "form/Chart.h"
#include "form/Controls.h"
#include "form/Database.h"
#include "form/Details.h"
#include "sky/Ephemeris.h"
#include "sky/Time.h"
#include "store/BirthData.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace form {

// What is wrong with the birth data, or nothing: the field, and the message that names it ("Birth date:
// ..." and the like). Runs charts::reckon().
struct BirthProblem {
    BirthField field;
    std::string message;
};
std::optional<BirthProblem> birthDataProblem(const store::BirthData& birth, sky::Ephemeris& ephemeris,
                                             std::optional<charts::Reckoning>& reckoning);

// When the outer pair's tithi, nakshatra, yoga and karana at the birth moment began and end, found
// from the exact positions at the moment and shown in the birth zone. `longitudes`: the four body rows
// in minutes, as the captions took them; where a boundary inside their arc-minutes makes them name
// another one than the moment is in, the span says which, by its name in the reference tables of `db`.
SpanTimes spanTimes(const charts::Reckoning& reckoning, const store::BirthData& birth,
                    const std::array<int, kBodyRows>& longitudes, sky::Ephemeris& ephemeris, Database& db);

// The table of the lagna (where there is a place), the eight bodies and Ketu, and the lines under it.
std::vector<PlanetRow> planetRows(const charts::Reckoning& reckoning);
std::vector<std::string> planetNotes(const charts::Reckoning& reckoning);

// The lagna, sunrise, sunset and vara in words, one line each; none without a place.
std::vector<std::string> placeLines(const charts::Reckoning& reckoning, const sky::Zone& zone);

// The chart's points: the lagna, the nine grahas, the AK and AmK marked.
std::vector<ChartPoint> chartPoints(const charts::Reckoning& reckoning);

// 2°07'24" from whole arc-seconds.
std::string degreesMinutesSeconds(int seconds);

} // namespace form
