#include "form/StoredCharts.h"

#include "charts/Operations.h"
#include "store/Error.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace form {

using store::Errc;

bool sayingWhatTheFileRefused(Window& window, const Database& db, Attempt attempt,
                              const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const store::Error& e) {
        switch (e.code()) {
        case Errc::FileBusy:
            window.showMessage(fileBusyMessage(db.con->where(), attempt));
            return false;
        case Errc::FileReplaced:
            window.showMessage(fileReplacedMessage(db.con->where(), attempt));
            return false;
        case Errc::FileReadOnly:
            window.showMessage(fileReadOnlyMessage(db.con->where(), attempt));
            return false;
        case Errc::DiskFull:
            window.showMessage(diskFullMessage(db.con->where(), attempt));
            return false;
        case Errc::ServerUnreachable:
        case Errc::ServerRefused:
            window.showMessage(serverUnreachableMessage(e.what(), attempt));
            return false;
        case Errc::ServerBusy:
            window.showMessage(serverBusyMessage(e.what(), attempt));
            return false;
        case Errc::ChartGone:
            window.showMessage(chartGoneMessage(db.rsrecords.field("name").toText()));
            return false;
        default:
            throw;
        }
    }
}

StoredCharts::StoredCharts(Window& window, Database& db, std::function<void()> recall,
                           charts::EphemerisSource ephemeris)
    : m_window(window)
    , m_db(db)
    , m_recall(std::move(recall))
    , m_ephemeris(std::move(ephemeris)) {}

void StoredCharts::showNames(const std::shared_ptr<const store::ChartIndex>& names) {
    m_db.rsrecords.close();
    m_db.rsrecords.open(*m_db.con, names);
    NameList& list = m_window.lstname();
    list.showNames(names);
    const bool any = !names->empty();
    list.setVisible(any);
    m_window.lblnm(kStoredNamesPrompt).setVisible(any);
}

void StoredCharts::relist(int position) {
    std::shared_ptr<const store::ChartIndex> names;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Recall, [&] {
            names = std::make_shared<const store::ChartIndex>(m_db.con->readIndex());
        }))
        return;
    showNames(names);
    const int last = static_cast<int>(names->size()) - 1;
    if (position < 0 || last < 0)
        return;
    m_window.lstname().setListIndex(std::min(position, last));
    m_recall();
}

void StoredCharts::showChangesElsewhere() {
    if (!m_db.rsrecords.isOpen())
        return;
    // A change heard stays to be shown until the names could be read.
    m_changePending = m_db.con->changedElsewhere() || m_changePending;
    if (!m_changePending)
        return;
    std::optional<store::ChartIndex> read = m_db.con->readIndexWithoutWaiting();
    if (!read)
        return;
    m_changePending = false;
    const auto names = std::make_shared<const store::ChartIndex>(std::move(*read));
    const std::optional<ListedChart> selected = selectedChart();
    showNames(names);
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
        m_window.lstname().setListIndex(static_cast<int>(low));
}

std::optional<StoredCharts::ListedChart> StoredCharts::selectedChart() {
    const int position = m_window.lstname().listIndex();
    if (position < 0)
        return std::nullopt;
    const auto at = static_cast<std::size_t>(position);
    return ListedChart{position, m_db.rsrecords.names()->rowid(at),
                       std::string(m_db.rsrecords.names()->name(at))};
}

void StoredCharts::renameChart() {
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
    std::optional<store::Change> change;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Change, [&] {
            change = charts::renameChart(*m_db.con, {name, key}, *newName);
        }))
        return;
    if (change == store::Change::NameTaken)
        return m_window.showMessage(kDuplicateMessage);
    if (change == store::Change::Gone)
        m_window.showMessage(chartGoneMessage(name));
    relist(position);
}

void StoredCharts::deleteChart() {
    const std::optional<ListedChart> chosen = selectedChart();
    if (!chosen)
        return;
    const auto& [position, key, name] = *chosen;
    if (!m_window.askYesNo(deleteQuestion(name)))
        return;
    std::optional<store::Change> change;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Change, [&] {
            change = charts::deleteChart(*m_db.con, {name, key});
        }))
        return;
    if (change == store::Change::Gone)
        m_window.showMessage(chartGoneMessage(name));
    relist(position);
}

void StoredCharts::exportCharts(const std::string& path) {
    const std::optional<charts::Format> format = charts::formatOfPath(path);
    if (!format)
        return m_window.showMessage(kUnknownFormatMessage);
    std::size_t exported = 0;
    std::optional<std::string> problem;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Export, [&] {
            try {
                exported = charts::exportCharts(*m_db.con, path, *format);
            } catch (const std::filesystem::filesystem_error& e) {
                problem = e.code().message();
            }
        }))
        return;
    m_window.showMessage(problem ? chartsExportFailedMessage(path, *problem)
                                 : exportedMessage(exported, path));
}

void StoredCharts::importCharts(const std::string& path) {
    const std::optional<charts::Format> format = charts::formatOfPath(path);
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
    charts::Brought brought;
    std::optional<std::string> problem;
    if (!sayingWhatTheFileRefused(m_window, m_db, Attempt::Import, [&] {
            try {
                brought = charts::importCharts(*m_db.con, in, *format, false, m_ephemeris);
            } catch (const charts::ReadError& e) {
                problem = e.what(); // nothing of the file is kept
            } catch (const charts::InputFailed& e) {
                problem = e.code().message();
            }
        }))
        return;
    if (problem)
        return m_window.showMessage(importFailedMessage(path, *problem));
    m_window.showMessage(importedMessage(brought.stored, brought.skipped, brought.repeated));
    relist(m_window.lstname().listIndex());
}

} // namespace form
