// The main window's handlers: load, "Calculate", "Save", recall from the list of stored names, "Fill
// positions" and "Exit". They read and write the window only through its controls and the database only
// through the shared objects. The results Calculate shows are Results'; the stored charts managed from
// the list of names are StoredCharts'.
#pragma once

#include "form/Controls.h"
#include "form/Database.h"
#include "form/Report.h"
#include "form/Results.h"
#include "form/StoredCharts.h"

#include <array>
#include <memory>
#include <optional>

namespace sky {
class Ephemeris;
}

namespace form {

class MainForm {
public:
    MainForm(Window& window, Database& db);
    ~MainForm();

    // Opens the six recordsets, hides the inner pair's nakshatra line and lists the stored names in
    // stored order (or hides the list and its prompt when there are none).
    void Form_Load();

    // The name and row checks, then both pairs computed, named and shown. Nothing is stored.
    void cmd_calc_Click();

    // Refuses an empty name, a name already stored and incomplete rows, each with its message, on a
    // plain read; then stores the chart in one write, says so, relists the names and puts the list's
    // selection back, recalling the chart at that position. A busy, replaced or removed file is said so,
    // and nothing is stored.
    void cmd_save_Click();

    // Loads the chart at the selected list position into the name box and the twelve selectors.
    void lstname_Click();

    // Closes the six recordsets and the window.
    void cmd_exit_Click();

    // Reckons the eight bodies from the birth data, ranks the karakas, selects sign, degrees and
    // minutes of the Sun, the Moon, the AK and the AmK as a person would, and shows the table of the
    // bodies. Bad input is said in one message naming the field, and nothing changes.
    void cmd_fill_Click();

    // Asks the store whether another program or desk changed the stored charts, and if so reads the
    // list of names again, keeping the selected chart selected by its key (nothing is selected when it
    // is gone). Nothing is recalled and the rows stay as they are. Called several times a second; a
    // store it cannot read stays quiet here, for the next action says so.
    void checkForChangesElsewhere();

    // A user's choice in a row, an edit of the name or of the birth data: the free area says again
    // whether the results and the birth moment still belong to the rows.
    void rowsEdited();

    // The chart as the last "Calculate" left it, for printing; with none yet, says to press Calculate
    // first and gives nothing.
    const Report* reportToPrint();

    // The stored charts managed from the list of names: rename, delete, export, import.
    StoredCharts& storedCharts() { return m_charts; }

    // The window's one ephemeris, made at the first need; the Day tab reckons with it too, as only one
    // may be live.
    sky::Ephemeris& ephemeris();

private:
    // The birth data the four rows were last filled from, and the twelve selections it made. A save
    // keeps the birth data only while the selections are still those.
    struct Filled {
        store::BirthData birth;
        std::array<int, 3 * kBodyRows> selections;
        store::BirthData shown; // the fields as they then read
    };

    std::array<int, 3 * kBodyRows> selections();
    std::optional<store::BirthData> unchangedBirthData();
    void showBirthData(const std::optional<store::BirthData>& birth);
    // Says whether the results shown beside the rows, and the birth moment, are still those of the rows.
    void showProvenance();

    Window& m_window;
    Database& m_db;
    std::unique_ptr<sky::Ephemeris> m_ephemeris; // made at the first need: it reads the data files
    std::optional<Filled> m_filled;
    Results m_results;
    StoredCharts m_charts;
};

} // namespace form
