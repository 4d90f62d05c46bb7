#include "store/Sqlite.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Statement.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace store {

namespace sqlite {

namespace {

std::string fileOf(sqlite3* db) {
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name && *name ? name : "(unnamed)";
}

bool isOpen(sqlite3* db) {
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name && *name;
}

bool folderWritable(sqlite3* db) {
    const std::filesystem::path folder = std::filesystem::path(fileOf(db)).parent_path();
    return ::access(folder.c_str(), W_OK) == 0;
}

} // namespace

void raise(sqlite3* db, int rc) {
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw Error(Errc::FileBusy, fileOf(db));
    case SQLITE_READONLY:
        // SQLite refuses to start a write on a file moved or removed since it was opened.
        throw Error(rc == SQLITE_READONLY_DBMOVED ? Errc::FileReplaced : Errc::FileReadOnly, fileOf(db));
    case SQLITE_FULL:
        throw Error(Errc::DiskFull, fileOf(db));
    case SQLITE_IOERR: {
        // A write the system refused for want of room, or because the disk is mounted read-only.
        const int error = db ? sqlite3_system_errno(db) : 0;
        if (error == ENOSPC || error == EDQUOT)
            throw Error(Errc::DiskFull, fileOf(db));
        if (error == EROFS)
            throw Error(Errc::FileReadOnly, fileOf(db));
        throw Error(Errc::DatabaseFault, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    }
    case SQLITE_PERM:
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        throw Error(Errc::WriteRefused, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    case SQLITE_NOTADB:
        throw Error(Errc::NotADatabase, fileOf(db));
    case SQLITE_CORRUPT:
        throw Error(Errc::FileDamaged, fileOf(db));
    case SQLITE_CANTOPEN:
        // Once the file is open, what cannot be opened is the journal a write makes beside it.
        throw Error(isOpen(db) && !folderWritable(db) ? Errc::FileReadOnly : Errc::FileUnreadable,
                    fileOf(db));
    default:
        throw Error(Errc::DatabaseFault, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    }
}

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace sqlite

void Statement::Finalizer::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

Statement::Statement(const Connection& connection, std::string_view sql)
    : m_db(connection.handle()) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    m_statement.reset(raw);
    sqlite::check(m_db, rc);
}

Statement& Statement::bind(int index, const Value& value) {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                sqlite::check(m_db, sqlite3_bind_null(m_statement.get(), index));
            else if constexpr (std::is_same_v<T, std::string>)
                bind(index, std::string_view(v));
            else
                bind(index, v);
        },
        value.data());
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    sqlite::check(m_db, sqlite3_bind_int64(m_statement.get(), index, value));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    sqlite::check(m_db, sqlite3_bind_double(m_statement.get(), index, value));
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    sqlite::check(m_db, sqlite3_bind_text64(m_statement.get(), index, text.data(), text.size(),
                                            SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_statement.get());
    sqlite::raise(m_db, rc);
}

void Statement::reset() noexcept {
    sqlite3_reset(m_statement.get());
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_statement.get());
}

std::string_view Statement::columnName(int column) const {
    return sqlite3_column_name(m_statement.get(), column);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_statement.get(), column) == SQLITE_NULL;
}

std::int64_t Statement::getInt64(int column) const {
    return sqlite3_column_int64(m_statement.get(), column);
}

std::string_view Statement::getText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement.get(), column));
    return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(m_statement.get(), column))};
}

Value Statement::getValue(int column) const {
    switch (sqlite3_column_type(m_statement.get(), column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return getInt64(column);
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement.get(), column);
    default:
        return getText(column);
    }
}

} // namespace store
