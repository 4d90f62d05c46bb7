// Our RAII layer over libpq, as Connection and Statement are over SQLite: one connection to a PostgreSQL
// database, the rows a statement returns, and the values bound to it. Values are always bound ($1, $2...),
// never written into the text. Errors are store::Error, chosen by the SQLSTATE the server gives.
//
// The location is handed to libpq as the user wrote it (a postgresql:// URI or a keyword string), so
// that libpq's own means supply the password (~/.pgpass, PGPASSWORD, a service file) and the SSL mode;
// nothing here copies it into a message. libpq-fe.h stays private to store/.
#pragma once

#include "store/Error.h"
#include "store/Value.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

namespace store::pg {

// An error the server reported, with its SQLSTATE ("23P01"), for the few callers that tell one apart.
class ServerError : public Error {
public:
    ServerError(Errc code, std::string_view subject, std::string sqlstate)
        : Error(code, subject)
        , m_sqlstate(std::move(sqlstate)) {}
    const std::string& sqlstate() const { return m_sqlstate; }
    // A unique or exclusion constraint refused a second row of the same value.
    bool isDuplicate() const { return m_sqlstate == "23505" || m_sqlstate == "23P01"; }

private:
    std::string m_sqlstate;
};

// The values for a statement's parameters, in order. Texts go as their bytes with their length, so that
// every byte arrives as it is; numbers go as their decimal text.
class Params {
public:
    Params& add(std::int64_t value);
    Params& add(std::string_view text);
    Params& add(const std::string& text) { return add(std::string_view(text)); }
    Params& add(const char* text) { return add(std::string_view(text)); }
    Params& add(const Value& value);
    Params& addNull();

private:
    friend class Connection;
    std::vector<std::string> m_values;
    std::vector<bool> m_null;
    std::vector<int> m_formats; // 0 text, 1 binary
    std::vector<unsigned> m_types;
};

// The rows of one statement, held whole.
class Result {
public:
    explicit Result(pg_result* result);

    int rows() const;
    int columns() const;
    std::string_view columnName(int column) const;
    bool isNull(int row, int column) const;
    std::string_view text(int row, int column) const;
    std::int64_t integer(int row, int column) const;
    // The value as its column's type has it: whole numbers as numbers, texts as text.
    Value value(int row, int column) const;
    // How many rows an insert, update or delete touched.
    std::int64_t affected() const;
    // The command's tag: "COMMIT", or "ROLLBACK" for a commit of a transaction an error ended.
    std::string_view command() const;

private:
    friend class Connection;
    struct Clear {
        void operator()(pg_result* result) const noexcept;
    };
    std::unique_ptr<pg_result, Clear> m_result;
};

class Connection {
public:
    // Remembers where to connect; `sessionSql`, the program's own fixed SQL, runs after every connect.
    explicit Connection(std::string location, std::string sessionSql = {});
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects now. Throws ServerUnreachable, naming the database and its host, when it cannot, and
    // BadConnectionString when libpq cannot read the location.
    void connect();

    // "velmorant on db.example.org", or the socket's folder for a local socket; never a password.
    std::string where() const;

    // Runs one statement of the program's own SQL with `params` bound to $1, $2... A connection lost
    // since the last statement is made again first, unless a transaction was open on it: that
    // transaction is gone, and the statement throws ServerUnreachable.
    Result exec(std::string_view sql, const Params& params = {});
    // The same, with the statement prepared once per connection, for statements run many times over.
    Result execPrepared(std::string_view sql, const Params& params = {});
    // Runs the program's own fixed SQL, which may hold several statements and binds nothing.
    void execScript(std::string_view sql);

    // One statement of the program's own fixed SQL sent without waiting for its rows, and its rows
    // taken later by receive(), which throws as exec() does. Nothing else may run on the connection
    // in between.
    void sendQuery(std::string_view sql);
    Result receive(std::string_view sql);

    // Rows sent to the server in COPY's text format: begun by a "copy … from stdin" statement, each
    // send()'s data queued by libpq, ended by endCopy(), which throws as exec() does for the rows the
    // server refused.
    void beginCopy(std::string_view sql);
    void sendCopy(std::string_view rows);
    void endCopy();
    // Ends the rows sent so far without keeping them, for an import given up; never throws.
    void abandonCopy() noexcept;

    // Whether a Transaction is open on this connection.
    bool inTransaction() const { return m_inTransaction; }
    // Counts the connections made so far: it moves when a lost connection is made again.
    int session() const { return m_session; }
    // How many notifications came from other connections since the last call, read without waiting
    // for any. None, never an error, when the connection is down.
    int takeNotifications();
    // Makes a lost connection again without ever waiting: the connecting runs on a thread of its own,
    // begun at most every two seconds, and a later call takes what it made. True once it is made (its
    // session() moves). Never throws; for a store asked after changes while no action runs.
    bool reconnectQuietly() noexcept;

private:
    friend class Transaction;
    bool isUp() const;
    void ensureConnected();
    // A new connection set up: the session's settings, and the program's own session SQL.
    void startSession();
    Result check(pg_result* result, std::string_view sql);
    [[noreturn]] void raise(const pg_result* result);
    std::string reason(const pg_result* result) const;

    std::string m_location;
    std::string m_sessionSql;
    pg_conn* m_conn = nullptr;
    struct Attempt;
    void abandonAttempt() noexcept;
    std::shared_ptr<Attempt> m_attempt; // a connection being made again by reconnectQuietly()
    std::chrono::steady_clock::time_point m_nextTry;
    int m_session = 0;
    bool m_broken = false; // a statement found the connection lost
    bool m_inTransaction = false;
    std::unordered_map<std::string, std::string> m_prepared; // SQL → statement name, this session
};

// A transaction on the connection: kept only by commit(), rolled back when left any other way.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& m_connection;
    int m_session;
    bool m_open = true;
};

} // namespace store::pg
