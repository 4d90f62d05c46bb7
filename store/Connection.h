// The connection to the database file.
//
// The connection string has the form
//     Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Persist Security Info= False
// The data source is a file name resolved against the current directory. The file must exist and be a
// database: the connection never creates one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

struct sqlite3;

namespace store {

inline constexpr std::string_view kProvider = "Velmorant.SQLite";

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(std::string_view connectionString) { m_connectionString = connectionString; }
    const std::string& connectionString() const { return m_connectionString; }

    // Opens the database named by `connectionString`, or by the one set before when it is empty. User
    // and password must be empty and options -1 (nothing asked of the engine).
    void open(std::string_view connectionString = {}, std::string_view user = {},
              std::string_view password = {}, int options = -1);
    bool isOpen() const { return m_db != nullptr; }

    // The full path of the open file.
    const std::filesystem::path& path() const { return m_path; }

    // For the data layer itself.
    sqlite3* handle() const;

private:
    std::string m_connectionString;
    std::filesystem::path m_path;
    sqlite3* m_db = nullptr;
};

// How long a connection waits for another program to finish writing before it gives up.
inline constexpr int kBusyTimeoutMs = 5000;

} // namespace store
