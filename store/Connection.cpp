#include "store/Connection.h"

#include "store/Error.h"
#include "store/Sqlite.h"

#include <algorithm>
#include <stdexcept>
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

std::filesystem::path absolutePath(const std::string& source) {
    std::error_code ec;
    auto path = std::filesystem::absolute(source, ec);
    return ec ? std::filesystem::path(source) : path.lexically_normal();
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

Connection::~Connection() {
    sqlite3_close_v2(m_db);
}

void Connection::open(std::string_view connectionString, std::string_view user, std::string_view password,
                      int options) {
    if (!user.empty() || !password.empty() || options != -1)
        throw std::invalid_argument("A connection takes no user, password or options");
    if (!connectionString.empty())
        m_connectionString = connectionString;
    if (m_db)
        throw std::logic_error("The connection is already open");

    const std::filesystem::path path = absolutePath(dataSourceOf(m_connectionString));
    checkFile(path);

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw Error(Errc::FileUnreadable, path.string());
    }
    try {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // SQLite reads the file lazily; read its schema now so that a file which is not a database is
        // reported here, at the connection, rather than at some later first query.
        sqlite::Statement probe(db, "select count(*) from sqlite_schema");
        probe.step();
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    m_db = db;
    m_path = path;
}

sqlite3* Connection::handle() const {
    if (!m_db)
        throw Error(Errc::ConnectionClosed);
    return m_db;
}

} // namespace store
