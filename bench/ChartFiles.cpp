#include "ChartFiles.h"

#include "store/Schema.h"

#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>

namespace bench {

namespace {} // namespace

// Kept per schema: databases made before a change of the schema (a new index, say) are not reused.
std::filesystem::path folder() {
    char schema[20];
    std::snprintf(schema, sizeof schema, "%016zx", std::hash<std::string_view>{}(store::kDatabaseSql));
    auto path = std::filesystem::temp_directory_path() / ("velmorant-bench-" + std::string(schema));
    std::filesystem::create_directories(path);
    return path;
}

namespace {

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

void fill(const std::filesystem::path& path, long count) {
    sqlite3* db = nullptr;
    check(db, sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
    check(db, sqlite3_exec(db, "pragma synchronous = off; begin", nullptr, nullptr, nullptr));
    sqlite3_stmt* insert = nullptr;
    check(db, sqlite3_prepare_v2(
                  db,
                  "insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin,"
                  " aksign, akdeg, akmin, amksign, amkdeg, amkmin)"
                  " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  -1, &insert, nullptr));
    std::mt19937 random(20261207);
    for (long i = 0; i < count; ++i) {
        sqlite3_bind_text(insert, 1, chartName(i).c_str(), -1, SQLITE_TRANSIENT);
        for (int body = 0; body < 4; ++body) {
            sqlite3_bind_int(insert, 2 + 3 * body, static_cast<int>(1 + random() % 12));
            sqlite3_bind_text(insert, 3 + 3 * body, std::to_string(random() % 30).c_str(), -1,
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4 + 3 * body, std::to_string(random() % 60).c_str(), -1,
                              SQLITE_TRANSIENT);
        }
        check(db, sqlite3_step(insert));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(db, sqlite3_exec(db, "commit", nullptr, nullptr, nullptr));
    sqlite3_close_v2(db);
}

// `folder`/velmorant.mdb as another name of `database`, made once.
std::filesystem::path linkedFolder(const std::filesystem::path& folder,
                                   const std::filesystem::path& database) {
    std::filesystem::create_directories(folder);
    const auto linked = folder / "velmorant.mdb";
    if (!std::filesystem::exists(linked))
        std::filesystem::create_hard_link(database, linked);
    return folder;
}

} // namespace

std::string chartName(long index) {
    static const char* const given[] = {"Asha",  "Ravi",   "Meera",   "Arjun",
                                        "Kavya", "Vikram", "Lakshmi", "Rohan"};
    return std::string(given[index % 8]) + " " + std::to_string(index);
}

std::filesystem::path chartDatabase(long count) {
    const auto path = folder() / ("charts-" + std::to_string(count) + ".mdb");
    if (!std::filesystem::exists(path)) {
        const auto partial = folder() / ("charts-" + std::to_string(count) + ".partial");
        std::filesystem::remove(partial);
        store::createDatabase(partial);
        fill(partial, count);
        std::filesystem::rename(partial, path);
    }
    return path;
}

std::filesystem::path scratchCopy(long count) {
    const auto copy = folder() / ("scratch-" + std::to_string(count) + ".mdb");
    std::filesystem::copy_file(chartDatabase(count), copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
}

std::filesystem::path chartFolder(long count) {
    return linkedFolder(folder() / ("start-" + std::to_string(count)), chartDatabase(count));
}

std::filesystem::path scratchFolder(long count) {
    const auto scratch = folder() / ("save-" + std::to_string(count));
    std::filesystem::create_directories(scratch);
    std::filesystem::copy_file(chartDatabase(count), scratch / "velmorant.mdb",
                               std::filesystem::copy_options::overwrite_existing);
    return scratch;
}

} // namespace bench
