// The rasi chart as the window and the printed page draw it, in any of its three styles: the South
// Indian square (signs in fixed cells), the North Indian diamond (houses in fixed places, the lagna's
// sign in the top one) and the wheel. What it shows is the same in each: the lagna where there is a
// place, the grahas with their degrees where there is a birth moment (or else the four rows), the AK
// and AmK marked, and the two pairs.
#pragma once

#include "form/Wheel.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace form {

enum class ChartStyle { SouthIndian, NorthIndian, Wheel };

inline constexpr std::array<ChartStyle, 3> kChartStyles{ChartStyle::SouthIndian, ChartStyle::NorthIndian,
                                                        ChartStyle::Wheel};

// "south", "north", "wheel": how the choice is remembered.
std::string_view chartStyleKey(ChartStyle style);
std::optional<ChartStyle> parseChartStyle(std::string_view key);
// "South Indian", "North Indian", "Wheel".
std::string_view chartStyleLabel(ChartStyle style);

// One entry of the chart: the lagna or a graha, or, for a chart without birth data, one of the rows.
struct ChartPoint {
    std::string abbreviation; // "La", "Su", "Mo", "Ma", "Me", "Ju", "Ve", "Sa", "Ra", "Ke"; "AK", "AmK"
    std::string name;         // "Lagna", "Sun", ... "Ketu"; "AK", "AmK" for rows with no planet named
    int seconds = 0;          // sidereal longitude in arc-seconds, 0 .. 1295999
    bool ak = false;          // the Atmakaraka
    bool amk = false;         // the Amatyakaraka

    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

struct ChartPicture {
    std::string name;   // the chart's name
    std::string moment; // "1990-05-17 09:00 Asia/Kolkata"; empty without birth data
    std::string place;  // "Chennai, Tamil Nadu, India" or the coordinates; empty without a place
    // The lagna first where there is one, then the nine grahas in order; or, without birth data, the
    // four rows (Su, Mo, AK, AmK) as points.
    std::vector<ChartPoint> points;
    std::optional<int> lagnaSign; // 0 = Aries; none without a place
    WheelPicture wheel;           // the four rows, the pairs' arcs and yoga points
    // Each pair's tithi, as a note for the charts that draw no arcs: "Sun–Moon: Krishna Ashtami".
    std::array<std::string, 2> pairNotes;
};

// The chart in words, for a screen reader: what each style shows, sign by sign (and house by house
// where there is a lagna).
std::string chartDescription(const ChartPicture& picture, ChartStyle style);

} // namespace form
