#include "form/MainForm.h"

#include "almanac/Entries.h"
#include "almanac/Pair.h"
#include "charts/Reckoning.h"
#include "form/Checks.h"
#include "form/Messages.h"
#include "form/Reckoning.h"
#include "sky/Ephemeris.h"
#include "sky/Longitude.h"
#include "store/Error.h"

#include <array>
#include <optional>

namespace form {

namespace {

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
    , m_db(db)
    , m_results(window, db, [this]() -> sky::Ephemeris& { return ephemeris(); })
    , m_charts(
          window, db, [this] { lstname_Click(); }, [this]() -> sky::Ephemeris& { return ephemeris(); }) {}

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
        std::optional<charts::Reckoning> reckoning;
        if (!birthDataProblem(shown, ephemeris(), reckoning))
            return shown;
    }
    return m_filled->birth;
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
    std::array<Results::WrittenPair, 2> written;
    for (const int pair : {kExternal, kInternal}) {
        const auto first = static_cast<std::size_t>(2 * pair);
        longitudes[first] = rowLongitude(m_window, 2 * pair);
        longitudes[first + 1] = rowLongitude(m_window, 2 * pair + 1);
        written[first / 2] = m_results.showPair(pair, longitudes[first], longitudes[first + 1]);
    }
    m_results.showResults(longitudes, written, unchangedBirthData());
    showProvenance();
}

void MainForm::rowsEdited() {
    showProvenance();
}

void MainForm::showProvenance() {
    m_results.showProvenance();
    if (m_filled) {
        BirthPanel& panel = m_window.birthPanel();
        panel.showRowsSource(!unchangedBirthData() ? std::string(kRowsChangedNote)
                             : !sameMoment(panel.birthData(), m_filled->shown)
                                 ? momentChangedNote(m_filled->birth)
                                 : std::string(kRowsFromMomentNote));
    }
}

const Report* MainForm::reportToPrint() {
    return m_results.reportToPrint();
}

void MainForm::checkForChangesElsewhere() {
    m_charts.showChangesElsewhere();
}

void MainForm::cmd_save_Click() {
    if (!checkName(m_window, kSaveNameMessage))
        return;
    // The refusals come from a plain read, so a file that another program is writing never turns one
    // into a wait for the write lock.
    const std::string name = m_window.txtname().text();
    bool stored = false;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Save,
                                  [&] { stored = m_db.con->isNameStored(name); }))
        return;
    if (stored) {
        m_window.showMessage(kDuplicateMessage);
        return;
    }
    if (!checkBodyRows(m_window))
        return;

    const int remembered = m_window.lstname().listIndex();
    store::SaveResult result;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Save, [&] {
            result = m_db.con->saveChart(chartOnForm(m_window, unchangedBirthData()));
        }))
        return;
    if (!result.saved) { // another copy of the program stored the name meanwhile
        m_window.showMessage(kDuplicateMessage);
        return;
    }
    m_window.showMessage(kSavedMessage);

    // The stored names read again, with the new chart among them.
    std::shared_ptr<const store::ChartIndex> names;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Recall, [&] {
            names = std::make_shared<const store::ChartIndex>(m_db.con->readIndex());
        }))
        return;
    m_charts.showNames(names);
    // Another copy may have removed charts meanwhile, so the remembered position may be gone too.
    if (remembered < static_cast<long>(names->size())) {
        m_db.rsrecords.moveFirst();
        m_db.rsrecords.move(remembered);
        if (remembered >= 0) {
            m_window.lstname().setListIndex(remembered);
            lstname_Click(); // the program's choice recalls the chart as a user's choice would
        }
    }
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
    const bool read = sayingWhatTheFileRefused(m_window, m_db, Attempt::Recall, [&] {
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
    });
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
    std::optional<charts::Reckoning> reckoning;
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
    charts::completePlace(typed, true);
    std::optional<charts::Reckoning> reckoning;
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
