// Making a new database file with the reference tables and an empty table of stored charts.
#pragma once

#include <filesystem>
#include <string_view>

namespace store {

// The SQL that builds a new database, as checked in beside this file.
extern const std::string_view kDatabaseSql;

// Writes a new database at `path`. Never touches an existing file: throws std::filesystem_error with
// errc::file_exists when anything is already there. The file appears whole or not at all.
void createDatabase(const std::filesystem::path& path);

} // namespace store
