#include "store/FileStore.h"

#include "store/Charts.h"
#include "store/Error.h"

namespace store {

std::unique_ptr<FileStore> FileStore::openFile(const std::filesystem::path& path) {
    Connection connection;
    connection.openFile(path);
    return std::unique_ptr<FileStore>(new FileStore(std::move(connection)));
}

std::unique_ptr<FileStore> FileStore::openConnectionString(std::string_view connectionString) {
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    return std::unique_ptr<FileStore>(new FileStore(std::move(connection)));
}

FileStore::FileStore(Connection connection)
    : m_connection(std::move(connection)) {
    m_dataVersion = dataVersion();
}

std::int64_t FileStore::dataVersion() const {
    Statement version = m_connection.prepare("pragma data_version");
    return version.step() ? version.getInt64(0) : 0;
}

template <typename Read>
auto FileStore::withoutWaiting(Read&& read) -> std::optional<decltype(read())> {
    const std::chrono::milliseconds wait = m_connection.busyWait();
    m_connection.setBusyWait(std::chrono::milliseconds(0));
    std::optional<decltype(read())> result;
    try {
        result = read();
    } catch (const Error&) {
        // busy, or the file gone: the next action says so
    }
    m_connection.setBusyWait(wait);
    return result;
}

bool FileStore::changedElsewhere() {
    // Asked several times a second from the window: never wait for a writer, the next asking will tell.
    const std::optional<std::int64_t> now = withoutWaiting([this] { return dataVersion(); });
    if (!now)
        return false;
    const bool changed = *now != m_dataVersion;
    m_dataVersion = *now;
    return changed;
}

std::optional<ChartIndex> FileStore::readIndexWithoutWaiting() {
    return withoutWaiting([this] { return readIndex(); });
}

std::string FileStore::identity() const {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(m_connection.path(), error);
    return (error ? m_connection.path() : resolved).string();
}

Table FileStore::readTable(std::string_view name) const {
    return Table::read(m_connection, name);
}

ChartIndex FileStore::readIndex() const {
    return ChartIndex::read(m_connection);
}

bool FileStore::isNameStored(std::string_view name) const {
    return store::isNameStored(m_connection, name);
}

std::optional<std::int64_t> FileStore::findChart(std::string_view name) const {
    return store::findChart(m_connection, name);
}

Table FileStore::readChart(std::int64_t key) const {
    m_connection.checkSameFile();
    if (!m_byKey)
        m_byKey = m_connection.prepare(chartByKeySql());
    m_byKey->reset();
    m_byKey->bind(1, key);
    Table row(*m_byKey);
    m_byKey->reset(); // ends the read, so that no lock is kept
    return row;
}

std::optional<BirthData> FileStore::readBirthData(std::int64_t key) const {
    m_connection.checkSameFile();
    if (!m_birthByKey) {
        // A file from before birth data: the table may come with another copy's first save.
        if (!m_connection.hasTable(kBirthTable))
            return std::nullopt;
        // Kept only once the file has the place's columns, which another copy's save may add.
        if (!hasPlaceColumns(m_connection))
            return store::readBirthData(m_connection, key);
        m_birthByKey = m_connection.prepare("select " + birthColumnsSql(m_connection) +
                                            " from birth_data where chart = ?");
    }
    Statement& find = *m_birthByKey;
    find.reset();
    find.bind(1, key);
    std::optional<BirthData> birth;
    if (find.step())
        birth = birthDataRow(find);
    find.reset();
    return birth;
}

void FileStore::forEachChart(const std::function<void(const StoredChart&)>& visit) const {
    store::forEachChart(m_connection, visit);
}

SaveResult FileStore::saveChart(const NewChart& chart) {
    return store::saveChart(m_connection, chart);
}

Change FileStore::renameChart(std::int64_t key, std::string_view name, std::string_view newName) {
    return store::renameChart(m_connection, key, name, newName);
}

Change FileStore::deleteChart(std::int64_t key, std::string_view name) {
    return store::deleteChart(m_connection, key, name);
}

std::unique_ptr<ChartImport> FileStore::beginImport(bool replace) {
    return std::make_unique<FileImport>(m_connection, replace);
}

} // namespace store
