#include "store/Connection.h"

#include "store/Error.h"
#include "store/Sqlite.h"

#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace store {

namespace {

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The data source of a connection string; checks the provider and knows no other keys but the
// harmless "Persist Security Info".
std::string dataSourceOf(std::string_view connectionString) {
    std::string_view provider;
    std::string_view source;
    std::string_view rest = connectionString;
    while (!rest.empty()) {
        const auto end = rest.find(';');
        const std::string_view part = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (trim(part).empty())
            continue;
        const auto equals = part.find('=');
        if (equals == std::string_view::npos)
            throw Error(Errc::BadConnectionString, "\"" + std::string(part) + "\" has no value");
        const std::string_view key = trim(part.substr(0, equals));
        const std::string_view value = trim(part.substr(equals + 1));
        if (sqlite::sameName(key, "Provider"))
            provider = value;
        else if (sqlite::sameName(key, "Data Source"))
            source = value;
        else if (!sqlite::sameName(key, "Persist Security Info"))
            throw Error(Errc::BadConnectionString, "unknown key \"" + std::string(key) + "\"");
    }
    if (provider != kProvider)
        throw Error(Errc::BadConnectionString, "the provider must be " + std::string(kProvider));
    if (source.empty())
        throw Error(Errc::BadConnectionString, "no data source");
    return std::string(source);
}

std::filesystem::path absolutePath(const std::filesystem::path& source) {
    std::error_code ec;
    auto path = std::filesystem::absolute(source, ec);
    return ec ? source : path.lexically_normal();
}

// Refuses what is not there or cannot be read before SQLite is asked, so the user is told in plain
// words and no empty database is ever made in its place.
void checkFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
        throw Error(Errc::FileMissing, path.string());
    if (!std::filesystem::is_regular_file(status))
        throw Error(Errc::NotADatabase, path.string());
    if (::access(path.c_str(), R_OK) != 0)
        throw Error(Errc::FileUnreadable, path.string());
    if (std::filesystem::file_size(path, ec) == 0 && !ec)
        throw Error(Errc::FileEmpty, path.string());
}

} // namespace

void Connection::Closer::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db);
}

Connection::Connection() = default;
Connection::~Connection() = default;
Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;

void Connection::open(std::string_view connectionString) {
    if (!connectionString.empty())
        m_connectionString = connectionString;
    openFile(dataSourceOf(m_connectionString));
}

void Connection::openFile(const std::filesystem::path& file) {
    if (m_db)
        throw std::logic_error("The connection is already open");
    const std::filesystem::path path = absolutePath(file);
    checkFile(path);

    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<sqlite3, Closer> db(raw);
    if (rc != SQLITE_OK)
        throw Error(Errc::FileUnreadable, path.string());
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), static_cast<int>(kBusyWait.count()));
    struct stat opened {};
    if (::stat(path.c_str(), &opened) != 0)
        throw Error(Errc::FileMissing, path.string());

    m_db = std::move(db);
    m_path = path;
    m_device = opened.st_dev;
    // SQLite reads the file lazily; read its schema now so that a file which is not a database is
    // reported here, at the connection, rather than at some later first query.
    try {
        Statement probe(*this, "select count(*) from sqlite_schema");
        probe.step();
    } catch (...) {
        m_db.reset();
        throw;
    }
}

sqlite3* Connection::handle() const {
    if (!m_db)
        throw Error(Errc::ConnectionClosed);
    return m_db.get();
}

void Connection::setBusyWait(std::chrono::milliseconds wait) {
    sqlite3_busy_timeout(handle(), static_cast<int>(wait.count()));
    m_busyWait = wait;
}

void Connection::checkSameFile() const {
    // SQLite compares the inode at the path with the one of its open handle; the device is ours to check.
    int moved = 0;
    sqlite::check(handle(), sqlite3_file_control(handle(), "main", SQLITE_FCNTL_HAS_MOVED, &moved));
    struct stat now {};
    if (moved || ::stat(m_path.c_str(), &now) != 0 || now.st_dev != m_device)
        throw Error(Errc::FileReplaced, m_path.string());
}

void Connection::checkBeforeCommit() const {
    if (m_beforeCommit)
        m_beforeCommit();
    checkSameFile();
}

bool Connection::hasTable(std::string_view name) const {
    Statement find(*this, "select 1 from sqlite_schema where type in ('table', 'view') and name = ?"
                          " collate nocase");
    find.bind(1, name);
    return find.step();
}

std::int64_t Connection::lastInsertRowid() const {
    return sqlite3_last_insert_rowid(handle());
}

void Connection::execute(std::string_view sql) {
    sqlite::check(handle(), sqlite3_exec(handle(), std::string(sql).c_str(), nullptr, nullptr, nullptr));
}

} // namespace store
