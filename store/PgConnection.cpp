#include "store/PgConnection.h"

#include "store/Connection.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <libpq-fe.h>
#include <mutex>
#include <optional>
#include <poll.h>
#include <thread>
#include <type_traits>
#include <utility>
#include <variant>

namespace store::pg {

namespace {

// The type numbers of PostgreSQL's built-in types, as its catalog fixes them.
constexpr Oid kBool = 16;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kText = 25;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The first line of libpq's words, without what the store says itself: the server named again
// ("connection to server at ... failed: ") and the severity ("FATAL:  ").
std::string firstLine(std::string_view message) {
    std::string_view line = trim(message.substr(0, message.find('\n')));
    if (const auto failed = line.find(" failed: ");
        line.starts_with("connection to server") && failed != std::string_view::npos)
        line = line.substr(failed + 9);
    for (const std::string_view severity : {"FATAL:", "ERROR:", "PANIC:"})
        if (line.starts_with(severity))
            line = trim(line.substr(severity.size()));
    return std::string(line);
}

// The values of the location's keywords, or none when libpq cannot read it.
std::optional<std::unordered_map<std::string, std::string>> parseLocation(const std::string& location) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(location.c_str(), &error);
    if (!options) {
        PQfreemem(error);
        return std::nullopt;
    }
    std::unordered_map<std::string, std::string> values;
    for (const PQconninfoOption* option = options; option->keyword; ++option)
        if (option->val && *option->val)
            values.emplace(option->keyword, option->val);
    PQconninfoFree(options);
    return values;
}

bool isConnectionLost(const std::string& sqlstate) {
    // Class 08 is the connection's own trouble; 57P01-57P03: the server shutting down or starting up.
    return sqlstate.starts_with("08") || sqlstate == "57P01" || sqlstate == "57P02" || sqlstate == "57P03";
}

bool isBusy(const std::string& sqlstate) {
    // A lock not had within lock_timeout, a transaction the server gave up to let another through,
    // a statement cancelled.
    return sqlstate == "55P03" || sqlstate == "40001" || sqlstate == "40P01" || sqlstate == "57014";
}

bool isRefusal(const std::string& sqlstate) {
    // Data the server will not keep (class 22, 23), no right to it (42501), a read-only server (25006),
    // no room (class 53).
    return sqlstate.starts_with("22") || sqlstate.starts_with("23") || sqlstate == "42501" ||
           sqlstate == "25006" || sqlstate.starts_with("53");
}

// The quoted name in a message such as `relation "karana" does not exist`.
std::string quotedName(std::string_view message) {
    const auto open = message.find('"');
    const auto close = open == std::string_view::npos ? open : message.find('"', open + 1);
    return close == std::string_view::npos ? std::string(message)
                                           : std::string(message.substr(open + 1, close - open - 1));
}

} // namespace

Params& Params::add(std::int64_t value) {
    m_values.push_back(std::to_string(value));
    m_null.push_back(false);
    m_formats.push_back(0);
    m_types.push_back(0);
    return *this;
}

Params& Params::add(std::string_view text) {
    m_values.emplace_back(text);
    m_null.push_back(false);
    m_formats.push_back(1); // text's binary form is its bytes: sent with its length, a quote is a quote
    m_types.push_back(kText);
    return *this;
}

Params& Params::addNull() {
    m_values.emplace_back();
    m_null.push_back(true);
    m_formats.push_back(0);
    m_types.push_back(0);
    return *this;
}

Params& Params::add(const Value& value) {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                addNull();
            } else if constexpr (std::is_same_v<T, double>) {
                char buffer[32];
                const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
                m_values.emplace_back(buffer, ec == std::errc{} ? end : buffer);
                m_null.push_back(false);
                m_formats.push_back(0);
                m_types.push_back(0);
            } else {
                add(v);
            }
        },
        value.data());
    return *this;
}

void Result::Clear::operator()(pg_result* result) const noexcept {
    PQclear(result);
}

Result::Result(pg_result* result)
    : m_result(result) {}

int Result::rows() const {
    return PQntuples(m_result.get());
}

int Result::columns() const {
    return PQnfields(m_result.get());
}

std::string_view Result::columnName(int column) const {
    return PQfname(m_result.get(), column);
}

bool Result::isNull(int row, int column) const {
    return PQgetisnull(m_result.get(), row, column) != 0;
}

std::string_view Result::text(int row, int column) const {
    return {PQgetvalue(m_result.get(), row, column),
            static_cast<std::size_t>(PQgetlength(m_result.get(), row, column))};
}

std::int64_t Result::integer(int row, int column) const {
    const std::string_view digits = text(row, column);
    std::int64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

Value Result::value(int row, int column) const {
    if (isNull(row, column))
        return {};
    switch (PQftype(m_result.get(), column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return integer(row, column);
    case kBool:
        return std::int64_t{text(row, column) == "t"};
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return std::strtod(PQgetvalue(m_result.get(), row, column), nullptr);
    default:
        return text(row, column);
    }
}

std::string_view Result::command() const {
    return PQcmdStatus(m_result.get());
}

std::int64_t Result::affected() const {
    const std::string_view count = PQcmdTuples(m_result.get());
    std::int64_t value = 0;
    std::from_chars(count.data(), count.data() + count.size(), value);
    return value;
}

Connection::Connection(std::string location, std::string sessionSql)
    : m_location(std::move(location))
    , m_sessionSql(std::move(sessionSql)) {}

Connection::~Connection() {
    abandonAttempt();
    PQfinish(m_conn);
}

namespace {

// What a connection is made with. Ours first: whatever the location says overrides them. A server that
// does not answer, on connecting or later (the network cut, the server's machine gone), is given up
// after some seconds rather than holding the window for as long as the network would.
struct ConnectParams {
    explicit ConnectParams(const std::string& location) {
        keywords = {"fallback_application_name", "tcp_user_timeout", "keepalives_idle", "keepalives_interval",
                    "keepalives_count"};
        values = {"velmorant", "10000", "10", "5", "3"};
        if (!std::getenv("PGCONNECT_TIMEOUT")) {
            keywords.push_back("connect_timeout");
            values.push_back("10");
        }
        keywords.push_back("dbname");
        values.push_back(location.c_str());
        keywords.push_back(nullptr);
        values.push_back(nullptr);
    }
    std::vector<const char*> keywords;
    std::vector<const char*> values;
};

} // namespace

void Connection::connect() {
    // libpq's own words about a location it cannot read may quote any part of it, the password too.
    const auto options = parseLocation(m_location);
    if (!options)
        throw Error(Errc::BadConnectionString, "PostgreSQL cannot read it");
    abandonAttempt(); // this one comes first
    PQfinish(m_conn);
    m_conn = nullptr;
    const ConnectParams params(m_location);
    m_conn = PQconnectdbParams(params.keywords.data(), params.values.data(), 1);
    if (!m_conn)
        throw Error(Errc::ServerUnreachable, where() + ": out of memory");
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw Error(Errc::ServerUnreachable, where() + ": " + reason(nullptr));
    startSession();
}

void Connection::startSession() {
    m_prepared.clear();
    m_inTransaction = false;
    m_broken = false;
    ++m_session;
    // The server's notices (a warning as it shuts down) are not for the user's terminal.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
    // The program's texts are UTF-8 whatever the database's encoding; a write waits for another desk's
    // lock as long as it would for a file's; an import's charts, gathered in a table of its own, stay
    // in memory (taken only as used).
    execScript("set client_encoding = 'UTF8'; set lock_timeout = " + std::to_string(kBusyWait.count()) +
               "; set temp_buffers = '256MB'");
    if (!m_sessionSql.empty())
        execScript(m_sessionSql);
}

// A connection made on a thread of its own. The thread ends it itself when nobody takes it any more.
struct Connection::Attempt {
    std::mutex mutex;
    pg_conn* made = nullptr;
    bool done = false;
    bool abandoned = false;
};

void Connection::abandonAttempt() noexcept {
    if (!m_attempt)
        return;
    const std::lock_guard lock(m_attempt->mutex);
    if (m_attempt->done)
        PQfinish(m_attempt->made);
    else
        m_attempt->abandoned = true;
    m_attempt.reset();
}

bool Connection::reconnectQuietly() noexcept {
    if (isUp() || m_inTransaction)
        return false;
    try {
        if (!m_attempt) {
            const auto now = std::chrono::steady_clock::now();
            if (now < m_nextTry || !parseLocation(m_location))
                return false;
            m_nextTry = now + std::chrono::seconds(2);
            // Looking up the host's name, and a server that does not answer, may each take seconds.
            m_attempt = std::make_shared<Attempt>();
            std::thread([attempt = m_attempt, location = m_location] {
                const ConnectParams params(location);
                pg_conn* made = PQconnectdbParams(params.keywords.data(), params.values.data(), 1);
                const std::lock_guard lock(attempt->mutex);
                if (attempt->abandoned)
                    PQfinish(made);
                else
                    attempt->made = made;
                attempt->done = true;
            }).detach();
            return false;
        }
        pg_conn* made = nullptr;
        {
            const std::lock_guard lock(m_attempt->mutex);
            if (!m_attempt->done)
                return false;
            made = std::exchange(m_attempt->made, nullptr);
        }
        m_attempt.reset();
        if (PQstatus(made) != CONNECTION_OK) {
            PQfinish(made);
            return false;
        }
        PQfinish(m_conn);
        m_conn = made;
        startSession();
        return true;
    } catch (...) {
        return false; // the next action says what is wrong
    }
}

std::string Connection::where() const {
    std::string database = m_conn && PQdb(m_conn) ? PQdb(m_conn) : "";
    std::string host = m_conn && PQhost(m_conn) ? PQhost(m_conn) : "";
    if (database.empty() || host.empty()) {
        // Never connected: what the location and the environment say.
        auto options = parseLocation(m_location).value_or(std::unordered_map<std::string, std::string>{});
        const auto option = [&](const char* keyword, const char* variable) {
            if (const auto found = options.find(keyword); found != options.end())
                return found->second;
            const char* value = std::getenv(variable);
            return std::string(value ? value : "");
        };
        if (database.empty())
            database = option("dbname", "PGDATABASE");
        if (host.empty())
            host = option("host", "PGHOST");
        if (database.empty() && options.contains("service"))
            return "service " + options["service"];
        if (database.empty())
            database = "the default database";
        if (host.empty())
            host = "this computer";
    }
    return database + " on " + host;
}

bool Connection::isUp() const {
    return m_conn && !m_broken && PQstatus(m_conn) == CONNECTION_OK;
}

void Connection::ensureConnected() {
    if (isUp()) {
        if (m_inTransaction)
            return;
        // A connection the server closed while it stood idle (the server restarted, an administrator
        // ended it) is found here without waiting: its socket reads as ready, and then as closed.
        for (int round = 0; round < 4 && isUp(); ++round) {
            pollfd ready{PQsocket(m_conn), POLLIN, 0};
            if (::poll(&ready, 1, 0) <= 0)
                return;
            PQconsumeInput(m_conn);
        }
        if (isUp())
            return;
    }
    if (m_inTransaction)
        throw Error(Errc::ServerUnreachable, where() + ": the connection was lost");
    connect();
}

std::string Connection::reason(const pg_result* result) const {
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    std::string why = primary
                          ? std::string(primary)
                          : firstLine(result && *PQresultErrorMessage(result) ? PQresultErrorMessage(result)
                                      : m_conn                                ? PQerrorMessage(m_conn)
                                                                              : "");
    if (why.empty())
        why = "no reason given";
    // libpq never echoes the password, but a message must not be the place where it first does.
    if (const auto options = parseLocation(m_location)) {
        if (const auto password = options->find("password"); password != options->end())
            for (auto at = why.find(password->second); at != std::string::npos;
                 at = why.find(password->second, at + 3))
                why.replace(at, password->second.size(), "***");
    }
    return why;
}

void Connection::raise(const pg_result* result) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    std::string sqlstate = state ? state : "";
    const std::string why = reason(result);
    // libpq's own errors have no SQLSTATE: the connection failed. It may still say CONNECTION_OK until
    // the next statement finds the socket closed; it is made again before that.
    if (!isUp() || sqlstate.empty() || isConnectionLost(sqlstate)) {
        m_broken = true;
        throw ServerError(Errc::ServerUnreachable, where() + ": " + why, std::move(sqlstate));
    }
    if (isBusy(sqlstate))
        throw ServerError(Errc::ServerBusy, where(), std::move(sqlstate));
    if (sqlstate == "42P01")
        throw ServerError(Errc::MissingTable, quotedName(why), std::move(sqlstate));
    if (isRefusal(sqlstate))
        throw ServerError(Errc::ServerRefused, why, std::move(sqlstate));
    throw ServerError(Errc::DatabaseFault, why, std::move(sqlstate));
}

Result Connection::check(pg_result* raw, std::string_view sql) {
    Result result(raw);
    const ExecStatusType status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    if (status == PGRES_EMPTY_QUERY)
        throw Error(Errc::DatabaseFault, "an empty statement: " + std::string(sql));
    raise(raw);
}

namespace {

struct Bound {
    std::vector<const char*> values;
    std::vector<int> lengths;
};

} // namespace

Result Connection::exec(std::string_view sql, const Params& params) {
    ensureConnected();
    Bound bound;
    for (std::size_t i = 0; i < params.m_values.size(); ++i) {
        bound.values.push_back(params.m_null[i] ? nullptr : params.m_values[i].c_str());
        bound.lengths.push_back(static_cast<int>(params.m_values[i].size()));
    }
    return check(PQexecParams(m_conn, std::string(sql).c_str(), static_cast<int>(bound.values.size()),
                              params.m_types.data(), bound.values.data(), bound.lengths.data(),
                              params.m_formats.data(), 0),
                 sql);
}

void Connection::sendQuery(std::string_view sql) {
    ensureConnected();
    if (PQsendQuery(m_conn, std::string(sql).c_str()) != 1)
        raise(nullptr);
}

Result Connection::receive(std::string_view sql) {
    Result result = check(PQgetResult(m_conn), sql);
    // A statement's results end with a null.
    while (pg_result* more = PQgetResult(m_conn))
        PQclear(more);
    return result;
}

void Connection::beginCopy(std::string_view sql) {
    ensureConnected();
    Result result(PQexec(m_conn, std::string(sql).c_str()));
    if (!result.m_result || PQresultStatus(result.m_result.get()) != PGRES_COPY_IN)
        raise(result.m_result.get());
}

void Connection::sendCopy(std::string_view rows) {
    if (PQputCopyData(m_conn, rows.data(), static_cast<int>(rows.size())) != 1)
        raise(nullptr);
}

void Connection::endCopy() {
    if (PQputCopyEnd(m_conn, nullptr) != 1)
        raise(nullptr);
    check(PQgetResult(m_conn), "copy");
    // The statement's results end with a null.
    while (pg_result* more = PQgetResult(m_conn))
        PQclear(more);
}

void Connection::abandonCopy() noexcept {
    if (!isUp() || PQputCopyEnd(m_conn, "the import was given up") != 1)
        return;
    while (pg_result* more = PQgetResult(m_conn))
        PQclear(more);
}

Result Connection::execPrepared(std::string_view sql, const Params& params) {
    ensureConnected();
    auto found = m_prepared.find(std::string(sql));
    if (found == m_prepared.end()) {
        const std::string name = "velmorant_" + std::to_string(m_prepared.size() + 1);
        check(PQprepare(m_conn, name.c_str(), std::string(sql).c_str(),
                        static_cast<int>(params.m_types.size()), params.m_types.data()),
              sql);
        found = m_prepared.emplace(sql, name).first;
    }
    Bound bound;
    for (std::size_t i = 0; i < params.m_values.size(); ++i) {
        bound.values.push_back(params.m_null[i] ? nullptr : params.m_values[i].c_str());
        bound.lengths.push_back(static_cast<int>(params.m_values[i].size()));
    }
    return check(PQexecPrepared(m_conn, found->second.c_str(), static_cast<int>(bound.values.size()),
                                bound.values.data(), bound.lengths.data(), params.m_formats.data(), 0),
                 sql);
}

void Connection::execScript(std::string_view sql) {
    ensureConnected();
    check(PQexec(m_conn, std::string(sql).c_str()), sql);
}

int Connection::takeNotifications() {
    if (!isUp() || !PQconsumeInput(m_conn))
        return 0;
    int count = 0;
    while (PGnotify* notice = PQnotifies(m_conn)) {
        if (notice->be_pid != PQbackendPID(m_conn))
            ++count;
        PQfreemem(notice);
    }
    return count;
}

Transaction::Transaction(Connection& connection)
    : m_connection(connection) {
    if (connection.m_inTransaction)
        throw Error(Errc::DatabaseFault, "a write began while another was still open");
    connection.exec("begin");
    connection.m_inTransaction = true;
    m_session = connection.m_session;
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    m_connection.m_inTransaction = false;
    // On a lost connection the server has rolled it back already.
    if (m_connection.m_session == m_session && m_connection.isUp())
        PQclear(PQexec(m_connection.m_conn, "rollback"));
}

void Transaction::commit() {
    if (m_connection.m_session != m_session)
        throw Error(Errc::ServerUnreachable, m_connection.where() + ": the connection was lost");
    const Result done = m_connection.exec("commit");
    m_open = false;
    m_connection.m_inTransaction = false;
    // A transaction an error ended already answers a commit with a rollback.
    if (done.command() != "COMMIT")
        throw Error(Errc::DatabaseFault, "the write was undone by an earlier error");
}

} // namespace store::pg
