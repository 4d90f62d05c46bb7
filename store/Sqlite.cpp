#include "store/Sqlite.h"

#include "store/Error.h"

#include <algorithm>
#include <string>

namespace store::sqlite {

namespace {

constexpr std::string_view kNoSuchTable = "no such table: ";

std::string fileOf(sqlite3* db) {
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name && *name ? name : "(unnamed)";
}

} // namespace

void raise(sqlite3* db, int rc) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw Error(Errc::FileBusy, message);
    case SQLITE_READONLY:
    case SQLITE_FULL:
    case SQLITE_PERM:
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        throw Error(Errc::WriteRefused, message);
    case SQLITE_NOTADB:
        throw Error(Errc::NotADatabase, fileOf(db));
    case SQLITE_CORRUPT:
        throw Error(Errc::FileDamaged, fileOf(db));
    case SQLITE_CANTOPEN:
        throw Error(Errc::FileUnreadable, fileOf(db));
    default:
        if (std::string_view(message).starts_with(kNoSuchTable))
            throw Error(Errc::MissingTable, std::string_view(message).substr(kNoSuchTable.size()));
        throw Error(Errc::DatabaseFault, message);
    }
}

Statement::Statement(sqlite3* db, std::string_view sql)
    : m_db(db) {
    check(db, sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr));
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.kind()) {
    case ValueKind::Null:
        rc = sqlite3_bind_null(m_stmt, index);
        break;
    case ValueKind::Integer:
        rc = sqlite3_bind_int64(m_stmt, index, value.integer());
        break;
    case ValueKind::Real:
        rc = sqlite3_bind_double(m_stmt, index, value.real());
        break;
    case ValueKind::Text:
        rc = sqlite3_bind_text64(m_stmt, index, value.text().data(), value.text().size(), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
        break;
    }
    check(m_db, rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    raise(m_db, rc);
}

void execute(sqlite3* db, const char* sql) {
    check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

std::string quoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

} // namespace store::sqlite
