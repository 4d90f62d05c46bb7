// Velmorant's tables in a PostgreSQL database: made once, in an empty database, by velmorant-initdb.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace store {

// The SQL that makes the tables, as checked in beside this file (velmorant-pg.sql).
extern const std::string_view kServerSql;

// The tables a database holding Velmorant's charts has: the five reference tables, the charts and
// their birth data.
inline constexpr std::array<std::string_view, 7> kServerTables{
    "tithi", "rashi", "nakshatra", "yoga", "karana", "Int_Velmorant", "birth_data",
};

// The names of kServerTables as a PostgreSQL array, for `unnest($1::text[])`.
std::string serverTableArray();

// Makes the tables in the database `location` names, with the reference rows of velmorant.sql, in one
// transaction, and returns where they were made ("velmorant on db.example.org"). Throws StoreExists,
// changing nothing, when the database holds any of them already, and ServerUnreachable when it cannot
// be reached.
std::string createServerDatabase(std::string_view location);

} // namespace store
