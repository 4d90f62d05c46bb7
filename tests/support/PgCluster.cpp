#include "support/PgCluster.h"

#include "store/ServerSchema.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <libpq-fe.h>
#include <memory>
#include <stdexcept>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testing_support {

namespace {

constexpr uid_t kNobody = 65534;

std::string program(std::string_view name) {
    return std::string(VELMORANT_PG_BINDIR) + "/" + std::string(name);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

PgCluster& PgCluster::shared() {
    static const std::unique_ptr<PgCluster> cluster(new PgCluster);
    return *cluster;
}

PgCluster::PgCluster() {
    // Memory is quicker than most disks for a cluster that lives a few seconds; a container's small
    // /dev/shm is left alone.
    struct statvfs shm {};
    const bool inMemory = ::statvfs("/dev/shm", &shm) == 0 && shm.f_bavail * shm.f_frsize > (1ul << 30);
    std::string pattern =
        ((inMemory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
         "velmorant-pg-XXXXXX")
            .string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the test server");
    m_folder = pattern;
    if (::geteuid() == 0 && ::chown(m_folder.c_str(), kNobody, kNobody) != 0)
        throw std::runtime_error("cannot give the test server's folder to nobody");
    makeData();
    start();
}

// A new cluster's data folder: a copy of the one this build keeps for its tests, or, the first time, made
// by initdb and then kept. Every test is a process of its own, and a copy costs a fraction of initdb.
void PgCluster::makeData() {
    const std::filesystem::path kept = VELMORANT_PG_TEMPLATE;
    const std::filesystem::path data = m_folder + "/data";
    const int lock = ::open((kept.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock >= 0)
        ::flock(lock, LOCK_EX); // released by the close: one test program makes it, the others wait
    std::error_code ec;
    // Another user's copy (a build made as root, tests run as someone else) cannot be read: made anew.
    if (std::filesystem::exists(kept / "PG_VERSION", ec))
        std::filesystem::copy(kept, data, std::filesystem::copy_options::recursive, ec);
    if (!std::filesystem::exists(data / "PG_VERSION", ec)) {
        std::filesystem::remove_all(data, ec);
        run({program("initdb"), "--pgdata=" + data.string(), "--auth=trust", "--username=postgres",
             "--encoding=UTF8", "--locale=C", "--no-sync", "--wal-segsize=1"},
            true);
        const std::filesystem::path partial = kept.string() + ".partial";
        std::filesystem::remove_all(partial, ec);
        std::filesystem::copy(data, partial, std::filesystem::copy_options::recursive, ec);
        if (!ec)
            std::filesystem::rename(partial, kept, ec);
        if (ec)
            std::filesystem::remove_all(partial, ec);
    }
    if (lock >= 0)
        ::close(lock);
    if (::geteuid() == 0) {
        bool given = ::chown(data.c_str(), kNobody, kNobody) == 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(data))
            given = given && ::lchown(entry.path().c_str(), kNobody, kNobody) == 0;
        if (!given)
            throw std::runtime_error("cannot give the test server's data to nobody");
    }
}

PgCluster::~PgCluster() {
    stop();
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}

// Runs a program of PostgreSQL's as the owner of the cluster, its output in the folder's log; waits for
// it to end, or leaves it running as the server.
void PgCluster::run(const std::vector<std::string>& arguments, bool wait) {
    std::vector<char*> argv;
    std::vector<std::string> words = arguments;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string log = m_folder + "/server.log";
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        // Only what is safe between fork and exec.
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || in < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0)
            ::_exit(126);
        ::close_range(3, ~0U, 0); // nothing of the test's: no pipe of ctest's held open by the server
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(126);
        // Should the test program die, the server stops too, rather than living on.
        if (::prctl(PR_SET_PDEATHSIG, SIGQUIT) != 0 || ::getppid() != parent)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (!wait) {
        m_server = child;
        return;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " failed:\n" + fileText(log));
}

void PgCluster::start() {
    if (m_server > 0)
        return;
    if (::gettid() != ::getpid())
        throw std::logic_error("the test server is started from the main thread only");
    run({program("postgres"), "-D", m_folder + "/data", "-k", m_folder, "-c", "listen_addresses=", "-c",
         "fsync=off"},
        false);
    const std::string admin = location("postgres");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (PQping(admin.c_str()) != PQPING_OK) {
        int status = 0;
        if (::waitpid(m_server, &status, WNOHANG) == m_server ||
            std::chrono::steady_clock::now() > deadline) {
            m_server = -1;
            throw std::runtime_error("the test server did not start:\n" + fileText(m_folder + "/server.log"));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void PgCluster::stop() {
    if (m_server <= 0)
        return;
    // An immediate shutdown, as a crash or a pulled plug: no backend finishes what it was doing.
    ::kill(m_server, SIGQUIT);
    int status = 0;
    while (::waitpid(m_server, &status, 0) < 0 && errno == EINTR) {
    }
    m_server = -1;
}

std::string PgCluster::location(std::string_view database) const {
    return "host=" + m_folder + " port=5432 user=postgres dbname=" + std::string(database);
}

std::string PgCluster::createDatabase() {
    const std::string name = "charts_" + std::to_string(++m_databases);
    PgClient(location("postgres")).execute("create database " + name);
    return location(name);
}

std::string PgCluster::createStore() {
    std::string database = createDatabase();
    store::createServerDatabase(database);
    return database;
}

PgClient::PgClient(const std::string& location)
    : m_conn(PQconnectdb(location.c_str())) {
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const std::string error = PQerrorMessage(m_conn);
        PQfinish(m_conn);
        throw std::runtime_error("cannot connect: " + error);
    }
}

PgClient::~PgClient() {
    PQfinish(m_conn);
}

namespace {

struct Clear {
    void operator()(PGresult* result) const { PQclear(result); }
};

std::unique_ptr<PGresult, Clear> checked(PGconn* conn, std::string_view sql) {
    std::unique_ptr<PGresult, Clear> result(PQexec(conn, std::string(sql).c_str()));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error("SQL failed: " + std::string(PQerrorMessage(conn)));
    return result;
}

} // namespace

void PgClient::execute(std::string_view sql) {
    checked(m_conn, sql);
}

std::vector<std::string> PgClient::column(std::string_view sql) {
    const auto result = checked(m_conn, sql);
    std::vector<std::string> values;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        values.emplace_back(PQgetisnull(result.get(), row, 0)
                                ? std::string("NULL")
                                : std::string(PQgetvalue(result.get(), row, 0),
                                              static_cast<std::size_t>(PQgetlength(result.get(), row, 0))));
    return values;
}

} // namespace testing_support
