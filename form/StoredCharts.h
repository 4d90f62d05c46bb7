// The stored charts as the window manages them: the list of stored names, the chart selected there
// renamed or deleted, every chart exported, more imported; and what the window says when the store
// refuses. The work itself is the shared chart operations' (charts/Operations.h); this adds the
// window's questions and messages.
#pragma once

#include "charts/Exchange.h"
#include "form/Controls.h"
#include "form/Database.h"
#include "form/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace form {

// Runs `work`; a busy, replaced or removed file, a server that cannot be reached or is busy, or a chart
// gone from the store, is told in a message about `attempt`. Returns whether `work` ran to its end.
bool sayingWhatTheFileRefused(Window& window, const Database& db, Attempt attempt,
                              const std::function<void()>& work);

class StoredCharts {
public:
    // `recall` recalls the chart selected in the list, as choosing it does; `ephemeris` is the window's
    // own, for the charts an import brings with birth data.
    StoredCharts(Window& window, Database& db, std::function<void()> recall,
                 charts::EphemerisSource ephemeris);

    // The chart selected in the list of stored names, renamed (asking for the new name) or deleted
    // (asking first), in one write each. The list is read again, with the renamed chart selected, or
    // the one after the deleted one, and recalled.
    void renameChart();
    void deleteChart();

    // Every stored chart written to `path`, or the charts read from it stored in one write; CSV or JSON
    // by the file's extension.
    void exportCharts(const std::string& path);
    void importCharts(const std::string& path);

    // Shows `names` in the list of stored names, with nothing selected, hiding the list and its prompt
    // when there are none.
    void showNames(const std::shared_ptr<const store::ChartIndex>& names);
    // Reads the stored names again if another program or desk changed them, keeping the selected chart
    // selected by its key (nothing is selected when it is gone). Nothing is recalled. A store it cannot
    // read stays quiet here, for the next action says so.
    void showChangesElsewhere();

private:
    // Reads the stored names again and shows them, selecting and recalling the chart at `position` (or
    // the one before it, when the list got shorter); none for -1.
    void relist(int position);
    // The chart selected in the list of stored names: its position, key and name.
    struct ListedChart {
        int position;
        std::int64_t key;
        std::string name;
    };
    std::optional<ListedChart> selectedChart();

    Window& m_window;
    Database& m_db;
    std::function<void()> m_recall;
    bool m_changePending = false; // heard from the store, not yet shown
    charts::EphemerisSource m_ephemeris;
};

} // namespace form
