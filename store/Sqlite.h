// SQLite's C API as the store's own sources use it. Private to store/: no public header includes this.
#pragma once

#include <sqlite3.h>

#include <string_view>

namespace store::sqlite {

// Turns a SQLite result code into the store's error, with the connection's own words.
[[noreturn]] void raise(sqlite3* db, int rc);

inline void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK)
        raise(db, rc);
}

// Whether two names match as the database matches them: ASCII letters in either case.
bool sameName(std::string_view a, std::string_view b);

} // namespace store::sqlite
