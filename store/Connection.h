// The connection to the database file.
//
// The connection string has the form
//     Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Persist Security Info= False
// The data source is a file name resolved against the current directory. The file must exist and be a
// database: the connection never creates one.
#pragma once

#include "store/Statement.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace store {

inline constexpr std::string_view kProvider = "Velmorant.SQLite";

// How long a connection waits for another program to finish writing before it gives up.
inline constexpr std::chrono::milliseconds kBusyWait{5000};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;

    void setConnectionString(std::string_view connectionString) { m_connectionString = connectionString; }
    const std::string& connectionString() const { return m_connectionString; }

    // Opens the database named by `connectionString`, or by the one set before when it is empty.
    void open(std::string_view connectionString = {});
    // Opens the database file at `path` itself, whatever characters its name holds.
    void openFile(const std::filesystem::path& path);
    bool isOpen() const { return m_db != nullptr; }

    // The full path of the open file.
    const std::filesystem::path& path() const { return m_path; }

    void setBusyWait(std::chrono::milliseconds wait);
    std::chrono::milliseconds busyWait() const { return m_busyWait; }

    // Throws FileReplaced when the file at path() is no longer the one this connection opened: moved
    // away, deleted, or replaced by another file. Reads and writes of stored charts call this first, so
    // that nothing is read from or written to the wrong file and no new file is made.
    void checkSameFile() const;

    // Called by a write transaction just before it commits: checkSameFile(), so that a write never ends
    // in a file no longer at the path. A test's hook, if one is set, runs first.
    void checkBeforeCommit() const;

    // Whether the database has a table (or view) of this name, letter case ignored.
    bool hasTable(std::string_view name) const;

    // Runs the program's own fixed SQL, which returns no rows.
    void execute(std::string_view sql);

    Statement prepare(std::string_view sql) const { return Statement(*this, sql); }

    // The key of the row the last insert on this connection added.
    std::int64_t lastInsertRowid() const;

private:
    friend class Statement;
    friend struct BeforeCommitHook; // tests only
    sqlite3* handle() const;

    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };

    std::string m_connectionString;
    std::filesystem::path m_path;
    std::unique_ptr<sqlite3, Closer> m_db;
    std::chrono::milliseconds m_busyWait = kBusyWait;
    unsigned long m_device = 0; // of the file opened, to tell it from another at the same path
    std::function<void()> m_beforeCommit;
};

} // namespace store
