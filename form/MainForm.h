// The main window's handlers: load, "Calculate", "Save", recall from the list of stored names, and
// "Exit". They read and write the window only through its controls and the database only through the
// shared objects.
#pragma once

#include "form/Controls.h"
#include "form/Database.h"
#include "form/Messages.h"

namespace form {

class MainForm {
public:
    MainForm(Window& window, Database& db)
        : m_window(window)
        , m_db(db) {}

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

private:
    void showPair(int pair, int first, int second);
    // Runs `attempt`; a busy, replaced or removed file, or a chart gone from it, is told in a message.
    // Returns whether `attempt` ran to its end.
    template <typename Work>
    bool sayingWhatTheFileRefused(Work&& work, Attempt attempt);

    Window& m_window;
    Database& m_db;
};

} // namespace form
