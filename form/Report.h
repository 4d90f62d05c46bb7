// The printed chart: what one page shows, as the last "Calculate" left it.
#pragma once

#include "form/Chart.h"
#include "form/Controls.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace form {

struct Report {
    std::string name;                        // the chart's name
    std::array<int, kBodyRows> longitudes{}; // the four rows it was calculated from
    std::string source;                      // "Calculated for Arjun: Sun Taurus 2°28', ..."
    std::vector<std::string> birth;          // empty for a chart without birth data
    std::vector<std::string> positions;      // "Sun: Taurus 2°28′", one per body row, for the page
    std::vector<std::pair<std::string, std::string>> results; // caption and value of each shown result line
    // The same lines written out in words for the printed page: "Krishna Ashtami: 8 signs 24°37' of
    // elongation, 24°37' into Dhanu".
    std::vector<std::pair<std::string, std::string>> written;
    // With birth data: the table of the lagna and the nine grahas, and the AK and AmK named as planets
    // ("AK: Moon, Capricorn 27°05'"); without, the AK and AmK rows by their signs.
    std::vector<PlanetRow> planets;
    std::vector<std::string> karakas;
    std::vector<std::string> place; // the place, lagna, sunrise, sunset and vara; empty without a place
    std::vector<std::string> details;
    ChartPicture chart;
};

} // namespace form
