// The results of Calculate: the pairs' result lines, the chart and the details beside the rows, and the
// report a page prints; and whether they still belong to the rows shown.
#pragma once

#include "charts/Exchange.h"
#include "form/Controls.h"
#include "form/Database.h"
#include "form/Report.h"
#include "store/BirthData.h"

#include <array>
#include <optional>
#include <string>

namespace form {

class Results {
public:
    // `ephemeris` is the window's own, for results that come with their birth data.
    Results(Window& window, Database& db, charts::EphemerisSource ephemeris);

    // Shows the pair's four results on their lines, tithi, nakshatra, yoga and karana, each as soon as
    // its names are read; and gives them back written out in words for the page.
    using WrittenPair = std::array<std::string, 4>;
    WrittenPair showPair(int pair, int first, int second);

    // The chart, the details and the report from the positions Calculate used and the pairs' results;
    // with `birth`, the birth data the rows still come from, also the bodies, the place and when each
    // result began and ends.
    void showResults(const std::array<int, kBodyRows>& longitudes, const std::array<WrittenPair, 2>& written,
                     const std::optional<store::BirthData>& birth);

    // Says whether the results shown beside the rows are still those of the rows, under the name shown.
    void showProvenance();

    // The chart as the last Calculate left it, for printing; with none yet, says to press Calculate
    // first and gives nothing.
    const Report* reportToPrint();

private:
    Window& m_window;
    Database& m_db;
    charts::EphemerisSource m_ephemeris;
    std::optional<Report> m_report;
};

} // namespace form
