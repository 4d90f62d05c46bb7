#include "form/Results.h"

#include "almanac/Captions.h"
#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "charts/Lines.h"
#include "form/Checks.h"
#include "form/Details.h"
#include "form/Messages.h"
#include "form/Reckoning.h"
#include "form/Wheel.h"
#include "sky/Ephemeris.h"
#include "sky/Longitude.h"

#include <utility>
#include <vector>

namespace form {

namespace {

// The names of the results, read from the reference tables' recordsets one at a time as a line needs
// them.
class RecordsetNames final : public charts::ResultNames {
public:
    explicit RecordsetNames(Database& db)
        : m_db(db) {}

    std::string tithi(int row) override { return atRow(m_db.rstithi, row).field("tithi_name").toText(); }
    std::string rashi(int row) override { return atRow(m_db.rsrashi, row).field("rashi_name").toText(); }
    std::string nakshatra(int row) override {
        return atRow(m_db.rsnakshatra, row).field("nak_name").toText();
    }
    almanac::YogaNames yoga(int row) override {
        const store::Recordset& yoga = atRow(m_db.rsyoga, row);
        return {yoga.field("name").toText(), yoga.field("lord").toText(), yoga.field("deity").toText()};
    }
    std::string karana(int row) override { return atRow(m_db.rskarana, row).field("name").toText(); }

private:
    Database& m_db;
};

} // namespace

Results::Results(Window& window, Database& db, charts::EphemerisSource ephemeris)
    : m_window(window)
    , m_db(db)
    , m_ephemeris(std::move(ephemeris)) {}

Results::WrittenPair Results::showPair(int pair, int first, int second) {
    // The result lines in the order of charts::Result.
    Label& (Window::*const lines[])(int) = {&Window::lbltithi, &Window::lblnak, &Window::lblyoga,
                                            &Window::lblkarana};
    RecordsetNames names(m_db);
    WrittenPair written;
    charts::pairResults(almanac::computePair(first, second), names, [&](const charts::ResultText& result) {
        const auto line = static_cast<std::size_t>(result.result);
        (m_window.*lines[line])(pair).setCaption(result.shown);
        written[line] = result.written;
    });
    return written;
}

void Results::showResults(const std::array<int, kBodyRows>& longitudes,
                          const std::array<WrittenPair, 2>& written,
                          const std::optional<store::BirthData>& birth) {
    Report report;
    report.name = m_window.txtname().text();
    report.longitudes = longitudes;
    report.chart.name = report.name;
    report.chart.wheel = wheelPicture(longitudes);
    std::optional<SpanTimes> times;
    std::optional<charts::Reckoning> reckoning;
    if (birth) {
        if (!birthDataProblem(*birth, m_ephemeris(), reckoning)) {
            report.birth = {charts::bornText(*birth) +
                                (reckoning->place ? " at " + reckoning->place->name : std::string()) +
                                " (UT " + sky::isoUniversal(reckoning->ut) + ")",
                            charts::choicesText(*birth)};
            report.place = placeLines(*reckoning, sky::Zone::parse(birth->zone));
            report.planets = planetRows(*reckoning);
            report.chart.moment = birth->date + " " + birth->time + " " + birth->zone;
            report.chart.points = chartPoints(*reckoning);
            if (reckoning->place) {
                report.chart.place = reckoning->place->name;
                report.chart.lagnaSign = sky::splitLongitude(reckoning->place->lagna).sign;
            }
            try {
                times = spanTimes(*reckoning, *birth, longitudes, m_ephemeris(), m_db);
            } catch (const sky::EphemerisError&) {
                // A span reaching past the ephemeris' range: the details go without their times.
            }
        } else {
            reckoning.reset();
        }
    }
    if (report.chart.points.empty())
        for (int row = 0; row < kBodyRows; ++row) {
            const std::string caption(almanac::kBodyCaptions[static_cast<std::size_t>(row)]);
            const std::string abbreviation = row == kSun ? "Su" : row == kMoon ? "Mo" : caption;
            report.chart.points.push_back({abbreviation, caption,
                                           longitudes[static_cast<std::size_t>(row)] * 60, row == kAk,
                                           row == kAmk});
        }
    for (const int row : {kAk, kAmk}) {
        const int minutes = longitudes[static_cast<std::size_t>(row)];
        const std::string planet =
            reckoning ? std::string(sky::bodyName(row == kAk ? reckoning->ak : reckoning->amk)) + ", " : "";
        report.karakas.push_back(std::string(almanac::kBodyCaptions[static_cast<std::size_t>(row)]) + ": " +
                                 planet + writtenSignPosition(minutes));
    }
    const char* const kPairs[] = {"Sun–Moon", "AK–AmK"};
    const char* const kWrittenCaptions[] = {"Tithi", "Nakshatra", "Yoga", "Karana"};
    for (const int pair : {kExternal, kInternal}) {
        const auto p = static_cast<std::size_t>(pair);
        report.chart.pairNotes[p] =
            std::string(kPairs[p]) + ": " + written[p][0].substr(0, written[p][0].find(':'));
        for (std::size_t line = 0; line < 4; ++line)
            report.written.emplace_back(std::string(pair == kExternal ? "Outer " : "Inner ") +
                                            kWrittenCaptions[line],
                                        written[p][line]);
    }
    std::vector<std::string> positions;
    for (int row = 0; row < kBodyRows; ++row) {
        const std::string body = m_window.lblplanet(row).caption();
        const std::string at = charts::signPosition(longitudes[static_cast<std::size_t>(row)]);
        report.positions.push_back(body + ": " +
                                   writtenSignPosition(longitudes[static_cast<std::size_t>(row)]));
        positions.push_back(body + " " + at);
    }
    report.source = resultsSource(report.name, positions);
    // The result lines as the window shows them, the inner nakshatra left out as it is there.
    const std::pair<int, Label& (Window::*)(int)> lines[] = {
        {kExternal, &Window::lblnak},    {kExternal, &Window::lbltithi}, {kExternal, &Window::lblyoga},
        {kExternal, &Window::lblkarana}, {kInternal, &Window::lbltithi}, {kInternal, &Window::lblyoga},
        {kInternal, &Window::lblkarana}};
    constexpr int kCaptions[] = {1, 0, 2, 3, 4, 5, 6};
    for (std::size_t line = 0; line < std::size(lines); ++line)
        report.results.emplace_back(m_window.lbl(kCaptions[line]).caption(),
                                    (m_window.*lines[line].second)(lines[line].first).caption());
    report.details = detailsLines(longitudes, m_window.lblnak(kExternal).caption(), times);

    // On screen the details begin with what they were calculated from and every result by name, the
    // inner pair's nakshatra included, so that a screen reader finds them all in one place.
    std::vector<std::string> shown{report.source, ""};
    if (!report.place.empty()) {
        shown.insert(shown.end(), report.place.begin(), report.place.end());
        shown.emplace_back();
    }
    for (std::size_t line = 0; line < report.results.size(); ++line) {
        if (line > 0 && lines[line].first == kInternal && lines[line - 1].first == kExternal)
            shown.push_back(resultLine(kInternalNakshatraLabel, m_window.lblnak(kInternal).caption()));
        shown.push_back(resultLine(report.results[line].first, report.results[line].second));
    }
    shown.emplace_back();
    shown.insert(shown.end(), report.details.begin(), report.details.end());
    m_window.showChart(report.chart);
    m_window.showDetails(shown);
    m_report = std::move(report);
}

void Results::showProvenance() {
    if (!m_report)
        return;
    bool sameRows = !missingEntryMessage(m_window);
    for (int row = 0; sameRows && row < kBodyRows; ++row)
        sameRows = rowLongitude(m_window, row) == m_report->longitudes[static_cast<std::size_t>(row)];
    const std::string name = m_window.txtname().text();
    m_window.showResultsSource(m_report->source, !sameRows ? staleResultsWarning(m_report->name)
                                                 : name != m_report->name ? staleNameWarning(m_report->name)
                                                                          : std::string());
}

const Report* Results::reportToPrint() {
    if (!m_report)
        m_window.showMessage(kNothingToPrintMessage);
    return m_report ? &*m_report : nullptr;
}

} // namespace form
