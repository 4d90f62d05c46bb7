#include "form/MainForm.h"

#include "almanac/Captions.h"
#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "form/Checks.h"
#include "form/Details.h"
#include "form/Exchange.h"
#include "form/Messages.h"
#include "form/Reckoning.h"
#include "form/Wheel.h"
#include "sky/Ephemeris.h"
#include "sky/Longitude.h"
#include "sky/Places.h"
#include "store/Charts.h"
#include "store/Error.h"
#include "store/WholeFile.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <system_error>

namespace form {

namespace {

using store::Errc;

// The same moment and choices, whatever the place: what the four rows depend on.
bool sameMoment(const store::BirthData& a, const store::BirthData& b) {
    return a.date == b.date && a.time == b.time && a.zone == b.zone && a.ayanamsa == b.ayanamsa &&
           a.karakas == b.karakas && a.node == b.node;
}

// A stored sign as a list position: 1 to 12, or the prompt at 0; anything else selects nothing.
int signPosition(const store::Field& field) {
    if (field.isNull())
        return -1;
    try {
        const int sign = field.toInt16();
        return sign >= 0 && sign <= almanac::kSignsPerCircle ? sign : -1;
    } catch (const store::Error&) {
        return -1;
    }
}

// A stored degree or minute text; a null selects nothing.
std::optional<std::string> entryText(const store::Field& field) {
    return field.isNull() ? std::nullopt : std::optional(field.toText());
}

void recallEntry(Selector& selector, const std::optional<std::string>& text) {
    if (text)
        selector.setText(*text);
    else
        selector.setListIndex(-1);
}

store::NewChart chartOnForm(Window& window, std::optional<store::BirthData> birth) {
    store::NewChart chart{window.txtname().text(), {}, std::move(birth)};
    for (int row = 0; row < kBodyRows; ++row) {
        store::StoredBody& body = chart.bodies[static_cast<std::size_t>(row)];
        body.sign = static_cast<std::int16_t>(window.lstsign(row).listIndex());
        body.degrees = window.lstdeg(row).text();
        body.minutes = window.lstmin(row).text();
    }
    return chart;
}

// Selects sign, degrees and minutes of a body row for a longitude: the whole arc-minute the body has
// reached, as a person reading the position would pick it.
void selectLongitude(Window& window, int row, double longitude) {
    const int minute = sky::arcMinute(longitude);
    window.lstsign(row).setListIndex(minute / (almanac::kDegreesPerSign * almanac::kMinutesPerDegree) + 1);
    window.lstdeg(row).setListIndex(minute / almanac::kMinutesPerDegree % almanac::kDegreesPerSign + 1);
    window.lstmin(row).setListIndex(minute % almanac::kMinutesPerDegree + 1);
}

} // namespace

MainForm::MainForm(Window& window, Database& db)
    : m_window(window)
    , m_db(db) {}

MainForm::~MainForm() = default;

sky::Ephemeris& MainForm::ephemeris() {
    if (!m_ephemeris)
        m_ephemeris = std::make_unique<sky::Ephemeris>();
    return *m_ephemeris;
}

std::array<int, 3 * kBodyRows> MainForm::selections() {
    std::array<int, 3 * kBodyRows> chosen{};
    for (int row = 0; row < kBodyRows; ++row) {
        chosen[static_cast<std::size_t>(3 * row)] = m_window.lstsign(row).listIndex();
        chosen[static_cast<std::size_t>(3 * row + 1)] = m_window.lstdeg(row).listIndex();
        chosen[static_cast<std::size_t>(3 * row + 2)] = m_window.lstmin(row).listIndex();
    }
    return chosen;
}

std::optional<store::BirthData> MainForm::unchangedBirthData() {
    if (!m_filled || m_filled->selections != selections())
        return std::nullopt;
    // The place moves none of the rows: one changed since they were filled belongs to the birth data,
    // once it can be reckoned.
    const store::BirthData shown = m_window.birthPanel().birthData();
    if (sameMoment(shown, m_filled->shown) && shown != m_filled->shown) {
        std::optional<Reckoning> reckoning;
        if (!birthDataProblem(shown, ephemeris(), reckoning))
            return shown;
    }
    return m_filled->birth;
}

template <typename Work>
bool MainForm::sayingWhatTheFileRefused(Work&& work, Attempt attempt) {
    try {
        work();
        return true;
    } catch (const store::Error& e) {
        switch (e.code()) {
        case Errc::FileBusy:
            m_window.showMessage(fileBusyMessage(m_db.con->where(), attempt));
            return false;
        case Errc::FileReplaced:
            m_window.showMessage(fileReplacedMessage(m_db.con->where(), attempt));
            return false;
        case Errc::FileReadOnly:
            m_window.showMessage(fileReadOnlyMessage(m_db.con->where(), attempt));
            return false;
        case Errc::DiskFull:
            m_window.showMessage(diskFullMessage(m_db.con->where(), attempt));
            return false;
        case Errc::ServerUnreachable:
        case Errc::ServerRefused:
            m_window.showMessage(serverUnreachableMessage(e.what(), attempt));
            return false;
        case Errc::ServerBusy:
            m_window.showMessage(serverBusyMessage(e.what(), attempt));
            return false;
        case Errc::ChartGone:
            m_window.showMessage(chartGoneMessage(m_db.rsrecords.field("name").toText()));
            return false;
        default:
            throw;
        }
    }
}

void MainForm::Form_Load() {
    m_db.rsnakshatra.open("nakshatra", *m_db.con);
    m_db.rsrashi.open("rashi", *m_db.con);
    m_db.rstithi.open("tithi", *m_db.con);
    m_db.rsyoga.open("yoga", *m_db.con);
    m_db.rskarana.open("karana", *m_db.con);
    m_db.rsrecords.open(*m_db.con);

    m_window.lbl(kInternalNakshatraCaption).setVisible(false);
    m_window.lblnak(kInternal).setVisible(false);
    if (m_db.rsrecords.eof()) {
        m_window.lstname().setVisible(false);
        m_window.lblnm(kStoredNamesPrompt).setVisible(false);
    }
    m_window.lstname().showNames(m_db.rsrecords.names());
    // Listing walks the recordset to its end.
    m_db.rsrecords.move(static_cast<long>(m_db.rsrecords.names()->size()));
}

void MainForm::cmd_calc_Click() {
    if (!checkName(m_window, kCalculateNameMessage) || !checkBodyRows(m_window))
        return;
    // Each pair is read, computed and shown before the next.
    std::array<int, kBodyRows> longitudes{};
    std::array<WrittenPair, 2> written;
    for (const int pair : {kExternal, kInternal}) {
        const auto first = static_cast<std::size_t>(2 * pair);
        longitudes[first] = rowLongitude(m_window, 2 * pair);
        longitudes[first + 1] = rowLongitude(m_window, 2 * pair + 1);
        written[first / 2] = showPair(pair, longitudes[first], longitudes[first + 1]);
    }
    showResults(longitudes, written);
}

void MainForm::showResults(const std::array<int, kBodyRows>& longitudes,
                           const std::array<WrittenPair, 2>& written) {
    Report report;
    report.name = m_window.txtname().text();
    report.longitudes = longitudes;
    report.chart.name = report.name;
    report.chart.wheel = wheelPicture(longitudes);
    std::optional<SpanTimes> times;
    std::optional<Reckoning> reckoning;
    if (const std::optional<store::BirthData> birth = unchangedBirthData()) {
        if (!birthDataProblem(*birth, ephemeris(), reckoning)) {
            report.birth = {"Born " + birth->date + " " + birth->time + " " + birth->zone +
                                (reckoning->place ? " at " + reckoning->place->name : std::string()) +
                                " (UT " + sky::isoUniversal(reckoning->ut) + ")",
                            std::string(sky::ayanamsaLabel(reckoning->frame.ayanamsa)) + " ayanamsa, " +
                                std::to_string(birth->karakas) + " karakas, " + birth->node + " node"};
            report.place = placeLines(*reckoning, sky::Zone::parse(birth->zone));
            report.planets = planetRows(*reckoning);
            report.chart.moment = birth->date + " " + birth->time + " " + birth->zone;
            report.chart.points = chartPoints(*reckoning);
            if (reckoning->place) {
                report.chart.place = reckoning->place->name;
                report.chart.lagnaSign = sky::splitLongitude(reckoning->place->lagna).sign;
            }
            try {
                times = spanTimes(*reckoning, *birth, longitudes, ephemeris(), m_db);
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
        const std::string at = signPosition(longitudes[static_cast<std::size_t>(row)]);
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
    showProvenance();
}

void MainForm::rowsEdited() {
    showProvenance();
}

void MainForm::showProvenance() {
    if (m_report) {
        bool sameRows = !missingEntryMessage(m_window);
        for (int row = 0; sameRows && row < kBodyRows; ++row)
            sameRows = rowLongitude(m_window, row) == m_report->longitudes[static_cast<std::size_t>(row)];
        const std::string name = m_window.txtname().text();
        m_window.showResultsSource(m_report->source, !sameRows ? staleResultsWarning(m_report->name)
                                                     : name != m_report->name
                                                         ? staleNameWarning(m_report->name)
                                                         : std::string());
    }
    if (m_filled) {
        BirthPanel& panel = m_window.birthPanel();
        panel.showRowsSource(!unchangedBirthData() ? std::string(kRowsChangedNote)
                             : !sameMoment(panel.birthData(), m_filled->shown)
                                 ? momentChangedNote(m_filled->birth)
                                 : std::string(kRowsFromMomentNote));
    }
}

const Report* MainForm::reportToPrint() {
    if (!m_report)
        m_window.showMessage(kNothingToPrintMessage);
    return m_report ? &*m_report : nullptr;
}

MainForm::WrittenPair MainForm::showPair(int pair, int first, int second) {
    const almanac::PairResult r = almanac::computePair(first, second);
    const std::string tithi = atRow(m_db.rstithi, r.tithi).field("tithi_name").toText();
    const std::string rashi = atRow(m_db.rsrashi, r.elongationSign).field("rashi_name").toText();
    m_window.lbltithi(pair).setCaption(almanac::tithiCaption(tithi, r, rashi));
    const std::string nakshatra = atRow(m_db.rsnakshatra, r.nakshatra).field("nak_name").toText();
    m_window.lblnak(pair).setCaption(nakshatra);
    const store::Recordset& yogaRow = atRow(m_db.rsyoga, r.yoga);
    const almanac::YogaNames yoga{yogaRow.field("name").toText(), yogaRow.field("lord").toText(),
                                  yogaRow.field("deity").toText()};
    m_window.lblyoga(pair).setCaption(almanac::yogaCaption(yoga));
    const std::string karana = atRow(m_db.rskarana, r.karana).field("name").toText();
    m_window.lblkarana(pair).setCaption(karana);
    return {writtenTithi(tithi, r, rashi), nakshatra,
            yoga.name + ", lord " + yoga.lord + ", deity " + yoga.deity, karana};
}

void MainForm::cmd_save_Click() {
    if (!checkName(m_window, kSaveNameMessage))
        return;
    // The refusals come from a plain read, so a file that another program is writing never turns one
    // into a wait for the write lock.
    const std::string name = m_window.txtname().text();
    bool stored = false;
    if (!sayingWhatTheFileRefused([&] { stored = m_db.con->isNameStored(name); }, Attempt::Save))
        return;
    if (stored) {
        m_window.showMessage(kDuplicateMessage);
        return;
    }
    if (!checkBodyRows(m_window))
        return;

    const int remembered = m_window.lstname().listIndex();
    store::SaveResult result;
    if (!sayingWhatTheFileRefused(
            [&] { result = m_db.con->saveChart(chartOnForm(m_window, unchangedBirthData())); },
            Attempt::Save))
        return;
    if (!result.saved) { // another copy of the program stored the name meanwhile
        m_window.showMessage(kDuplicateMessage);
        return;
    }
    m_window.showMessage(kSavedMessage);

    // The names were read inside the write: they are the table as the save left it.
    m_db.rsrecords.close();
    m_db.rsrecords.open(*m_db.con, result.names);
    NameList& list = m_window.lstname();
    list.showNames(result.names);
    // Another copy may have removed charts meanwhile, so the remembered position may be gone too.
    if (remembered < static_cast<long>(result.names->size())) {
        m_db.rsrecords.moveFirst();
        m_db.rsrecords.move(remembered);
        if (remembered >= 0) {
            list.setListIndex(remembered);
            lstname_Click(); // the program's choice recalls the chart as a user's choice would
        }
    }
    list.setVisible(true);
    m_window.lblnm(kStoredNamesPrompt).setVisible(true);
}

void MainForm::lstname_Click() {
    const int position = m_window.lstname().listIndex();
    if (position < 0)
        return;
    struct Recalled {
        int sign = -1;
        std::optional<std::string> degrees;
        std::optional<std::string> minutes;
    };
    std::string name;
    std::array<Recalled, kBodyRows> rows;
    std::optional<store::BirthData> birth;
    // Everything is read before anything is shown: a chart that cannot be read leaves the form as it was.
    store::ChartRecordset& records = m_db.rsrecords;
    const bool read = sayingWhatTheFileRefused(
        [&] {
            records.moveFirst();
            records.move(position);
            name = records.field("name").toText();
            for (int row = 0; row < kBodyRows; ++row) {
                const int sign = store::kFirstPositionOrdinal + 3 * row;
                rows[static_cast<std::size_t>(row)] = {signPosition(records.field(sign)),
                                                       entryText(records.field(sign + 1)),
                                                       entryText(records.field(sign + 2))};
            }
            birth = records.birthData();
        },
        Attempt::Recall);
    if (!read)
        return;

    m_window.txtname().setText(name);
    m_window.txtname().setEnabled(true);
    // A damaged value (changed outside the program) leaves its selector with nothing selected.
    for (int row = 0; row < kBodyRows; ++row) {
        const Recalled& recalled = rows[static_cast<std::size_t>(row)];
        m_window.lstsign(row).setListIndex(recalled.sign);
        recallEntry(m_window.lstdeg(row), recalled.degrees);
        recallEntry(m_window.lstmin(row), recalled.minutes);
    }
    showBirthData(birth);
    showProvenance();
}

void MainForm::showBirthData(const std::optional<store::BirthData>& birth) {
    BirthPanel& panel = m_window.birthPanel();
    m_filled.reset();
    if (!birth) {
        panel.clear();
        return;
    }
    panel.setBirthData(*birth);
    // The rows were filled from this birth data when the chart was saved.
    m_filled = Filled{*birth, selections(), panel.birthData()};
    std::optional<Reckoning> reckoning;
    if (birthDataProblem(*birth, ephemeris(), reckoning))
        panel.showPlanets({}, {});
    else
        panel.showPlanets(planetRows(*reckoning), planetNotes(*reckoning));
}

void MainForm::cmd_fill_Click() {
    const store::BirthData shown = m_window.birthPanel().birthData();
    // A place named but not picked from the list stands for the city picking it would have given: its
    // full name, coordinates and zone, which the fields then show and the chart keeps.
    store::BirthData typed = shown;
    completePlace(typed, true);
    std::optional<Reckoning> reckoning;
    if (const auto problem = birthDataProblem(typed, ephemeris(), reckoning)) {
        m_window.showMessage(problem->message);
        m_window.birthPanel().focusField(problem->field);
        return;
    }
    if (typed != shown)
        m_window.birthPanel().setBirthData(typed);
    const std::array<double, kBodyRows> longitudes = reckoning->rowLongitudes();
    for (int row = 0; row < kBodyRows; ++row)
        selectLongitude(m_window, row, longitudes[static_cast<std::size_t>(row)]);
    m_window.birthPanel().showPlanets(planetRows(*reckoning), planetNotes(*reckoning));
    m_filled = Filled{typed, selections(), typed};
    showProvenance();
}

void MainForm::cmd_exit_Click() {
    m_db.rsnakshatra.close();
    m_db.rsyoga.close();
    m_db.rskarana.close();
    m_db.rstithi.close();
    m_db.rsrecords.close();
    m_db.rsrashi.close();
    m_window.unload();
}

} // namespace form

namespace form {

namespace {

// Writes a file whole, with the mode the user's new files get. Returns what went wrong, or nothing.
std::optional<std::string> writeWhole(const std::string& path,
                                      const std::function<void(std::ostream&)>& write) {
    try {
        store::writeWhole(path, write);
    } catch (const std::filesystem::filesystem_error& e) {
        return e.code().message();
    }
    return std::nullopt;
}

} // namespace

void MainForm::relist(int position) {
    std::shared_ptr<const store::ChartIndex> names;
    if (!sayingWhatTheFileRefused(
            [&] { names = std::make_shared<const store::ChartIndex>(m_db.con->readIndex()); },
            Attempt::Recall))
        return;
    m_db.rsrecords.close();
    m_db.rsrecords.open(*m_db.con, names);
    NameList& list = m_window.lstname();
    list.showNames(names);
    const bool any = !names->empty();
    list.setVisible(any);
    m_window.lblnm(kStoredNamesPrompt).setVisible(any);
    const int last = static_cast<int>(names->size()) - 1;
    if (position < 0 || last < 0)
        return;
    list.setListIndex(std::min(position, last));
    lstname_Click();
}

void MainForm::checkForChangesElsewhere() {
    if (!m_db.rsrecords.isOpen() || !m_db.con->changedElsewhere())
        return;
    std::shared_ptr<const store::ChartIndex> names;
    try {
        names = std::make_shared<const store::ChartIndex>(m_db.con->readIndex());
    } catch (const store::Error&) {
        return;
    }
    const std::optional<ListedChart> selected = selectedChart();
    m_db.rsrecords.close();
    m_db.rsrecords.open(*m_db.con, names);
    NameList& list = m_window.lstname();
    list.showNames(names);
    const bool any = !names->empty();
    list.setVisible(any);
    m_window.lblnm(kStoredNamesPrompt).setVisible(any);
    if (!selected)
        return;
    // Both stores list their charts in the order of their keys.
    std::size_t low = 0;
    std::size_t high = names->size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (names->rowid(middle) < selected->key)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < names->size() && names->rowid(low) == selected->key)
        list.setListIndex(static_cast<int>(low));
}

std::optional<MainForm::ListedChart> MainForm::selectedChart() {
    const int position = m_window.lstname().listIndex();
    if (position < 0)
        return std::nullopt;
    const auto at = static_cast<std::size_t>(position);
    return ListedChart{position, m_db.rsrecords.names()->rowid(at),
                       std::string(m_db.rsrecords.names()->name(at))};
}

void MainForm::renameChart() {
    const std::optional<ListedChart> chosen = selectedChart();
    if (!chosen)
        return;
    const auto& [position, key, name] = *chosen;
    const std::optional<std::string> newName = m_window.askText(renamePrompt(name), name);
    if (!newName || *newName == name)
        return;
    if (newName->empty()) {
        m_window.showMessage(kEmptyNewNameMessage);
        return;
    }
    store::Change change = store::Change::Done;
    if (!sayingWhatTheFileRefused([&] { change = m_db.con->renameChart(key, name, *newName); },
                                  Attempt::Change))
        return;
    if (change == store::Change::NameTaken)
        return m_window.showMessage(kDuplicateMessage);
    if (change == store::Change::Gone)
        m_window.showMessage(chartGoneMessage(name));
    relist(position);
}

void MainForm::deleteChart() {
    const std::optional<ListedChart> chosen = selectedChart();
    if (!chosen)
        return;
    const auto& [position, key, name] = *chosen;
    if (!m_window.askYesNo(deleteQuestion(name)))
        return;
    store::Change change = store::Change::Done;
    if (!sayingWhatTheFileRefused([&] { change = m_db.con->deleteChart(key, name); }, Attempt::Change))
        return;
    if (change == store::Change::Gone)
        m_window.showMessage(chartGoneMessage(name));
    relist(position);
}

void MainForm::exportCharts(const std::string& path) {
    const std::optional<Format> format = formatOfPath(path);
    if (!format)
        return m_window.showMessage(kUnknownFormatMessage);
    std::size_t charts = 0;
    std::optional<std::string> problem;
    if (!sayingWhatTheFileRefused(
            [&] {
                problem = writeWhole(path, [&](std::ostream& out) {
                    ChartWriter writer(out, *format);
                    m_db.con->forEachChart([&](const store::StoredChart& chart) {
                        writer.write(chart);
                        ++charts;
                    });
                    writer.finish();
                });
            },
            Attempt::Export))
        return;
    m_window.showMessage(problem ? chartsExportFailedMessage(path, *problem) : exportedMessage(charts, path));
}

void MainForm::importCharts(const std::string& path) {
    const std::optional<Format> format = formatOfPath(path);
    if (!format)
        return m_window.showMessage(kUnknownFormatMessage);
    // A pipe would hold the window in open(), and then the write lock for as long as it stays open; a
    // folder has nothing to read.
    std::error_code kind;
    if (!std::filesystem::is_regular_file(path, kind) && !kind)
        return m_window.showMessage(importFailedMessage(path, "it is not a regular file"));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return m_window.showMessage(importFailedMessage(path, std::generic_category().message(errno)));
    std::size_t stored = 0;
    std::vector<std::string> skipped;
    std::vector<std::string> repeated;
    std::optional<std::string> problem;
    const bool done = sayingWhatTheFileRefused(
        [&] {
            const std::unique_ptr<store::ChartImport> import = m_db.con->beginImport(false);
            try {
                ChartReader reader(in, *format, [this]() -> sky::Ephemeris& { return ephemeris(); });
                while (const std::optional<store::NewChart> chart = reader.next()) {
                    switch (import->add(*chart)) {
                    case store::Taken::Stored:
                        ++stored;
                        break;
                    case store::Taken::NameStored:
                        skipped.push_back(chart->name);
                        break;
                    case store::Taken::NameRepeated:
                        repeated.push_back(chart->name);
                        break;
                    }
                }
            } catch (const ReadError& e) {
                problem = e.what();
                return; // the import is rolled back: nothing of the file is kept
            }
            import->commit();
        },
        Attempt::Import);
    if (!done)
        return;
    if (problem)
        return m_window.showMessage(importFailedMessage(path, *problem));
    m_window.showMessage(importedMessage(stored, skipped, repeated));
    relist(m_window.lstname().listIndex());
}

} // namespace form
