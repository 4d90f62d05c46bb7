// The data layer's own thin wrapping of SQLite's C API. Nothing outside store/ includes this.
#pragma once

#include "store/Value.h"

#include <sqlite3.h>

#include <string_view>

namespace store::sqlite {

// Turns a SQLite result code into the data layer's error, with the connection's own words.
[[noreturn]] void raise(sqlite3* db, int rc);

inline void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK)
        raise(db, rc);
}

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds `value` to parameter `index` (from 1).
    void bind(int index, const Value& value);
    // True while a row is ready, false when the statement has run to its end.
    bool step();
    // Ready to run again, bindings kept; also ends the statement's hold on the file.
    void reset() { sqlite3_reset(m_stmt); }
    int columnCount() const { return sqlite3_column_count(m_stmt); }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Runs SQL text that returns no rows; used for fixed statements of the program's own.
void execute(sqlite3* db, const char* sql);

// Whether two names match as the database matches them: ASCII letters in either case.
bool sameName(std::string_view a, std::string_view b);

// Double-quotes an identifier that the program took from the database's own schema.
std::string quoteIdentifier(std::string_view name);

} // namespace store::sqlite
