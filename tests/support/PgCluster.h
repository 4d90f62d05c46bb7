// A PostgreSQL server of the test program's own: a throwaway cluster in a temporary folder, reached by
// a Unix socket in that folder and by nothing else, trusting whoever reaches the socket. Never a system
// service. PostgreSQL refuses to run as root: when the tests do, the server runs as nobody.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct pg_conn;

namespace testing_support {

class PgCluster {
public:
    // The cluster this test program shares, made and started at its first use (from the main thread),
    // stopped and removed when the program ends. Each test program has its own, so that several can run
    // at once.
    static PgCluster& shared();
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // A new, empty database for one test; its location, as store::openStore takes it.
    std::string createDatabase();
    // A new database with Velmorant's tables, made as velmorant-initdb makes them.
    std::string createStore();
    // The location of the database `name`.
    std::string location(std::string_view database) const;
    // The folder of the server's socket, as the store names the host.
    const std::string& socketFolder() const { return m_folder; }

    // Stops the server at once, as a crash does, ending every connection, and starts it again (start only
    // from the main thread: the server stops when the thread that started it ends).
    void stop();
    void start();

private:
    PgCluster();
    void makeData();
    void run(const std::vector<std::string>& arguments, bool wait);

    std::string m_folder;
    int m_server = -1; // the postmaster's process
    int m_databases = 0;
};

// Another client's connection to a database, kept open: SQL run outside the store, and locks held
// while a test runs.
class PgClient {
public:
    explicit PgClient(const std::string& location);
    ~PgClient();
    PgClient(const PgClient&) = delete;
    PgClient& operator=(const PgClient&) = delete;

    // Runs one or more statements; throws std::runtime_error with the server's words when one fails.
    void execute(std::string_view sql);
    // The first column of every row `sql` returns, as text ("NULL" for a null).
    std::vector<std::string> column(std::string_view sql);

private:
    ::pg_conn* m_conn = nullptr;
};

} // namespace testing_support
