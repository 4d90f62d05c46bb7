// The printed chart: what one page shows, as the last "Calculate" left it.
#pragma once

#include "form/Chart.h"

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
    std::vector<std::string> positions;      // "Sun  Taurus 2°28'", one per body row
    std::vector<std::pair<std::string, std::string>> results; // caption and value of each shown result line
    std::vector<std::string> details;
    ChartPicture chart;
};

} // namespace form
