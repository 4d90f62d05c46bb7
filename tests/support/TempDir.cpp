#include "support/TempDir.h"

#include "store/Schema.h"

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

std::unique_ptr<sqlite3, Closer> openDirect(const std::filesystem::path& path) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, Closer> db(raw);
    if (rc != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.string() + ": " + sqlite3_errstr(rc));
    sqlite3_busy_timeout(db.get(), 5000);
    return db;
}

} // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmorant-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern;
    // Wide open, so that a test running part of itself as an ordinary user can reach its files.
    std::filesystem::permissions(m_path, std::filesystem::perms::all);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void makeDatabase(const std::filesystem::path& path, std::string_view extraSql) {
    store::createDatabase(path);
    if (!extraSql.empty())
        runSql(path, extraSql);
}

void runSql(const std::filesystem::path& path, std::string_view sql) {
    auto db = openDirect(path);
    char* error = nullptr;
    if (sqlite3_exec(db.get(), std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("SQL failed: " + message);
    }
}

std::vector<std::string> queryColumn(const std::filesystem::path& path, std::string_view sql) {
    auto db = openDirect(path);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("SQL failed: ") + sqlite3_errmsg(db.get()));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    std::vector<std::string> values;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        values.emplace_back(
            sqlite3_column_type(raw, 0) == SQLITE_NULL
                ? "NULL"
                : std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(raw, 0))));
    }
    return values;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string asUnprivilegedUser(const std::function<std::string()>& body) {
    if (::geteuid() != 0)
        return body();
    int channel[2];
    if (::pipe(channel) != 0)
        return "cannot make a pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result;
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            result = "cannot become an ordinary user";
        else
            result = body();
        if (!result.empty() && ::write(channel[1], result.data(), result.size()) < 0)
            ::_exit(3);
        ::_exit(result.empty() ? 0 : 1);
    }
    ::close(channel[1]);
    std::string output;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return "the unprivileged part of the test did not finish";
    return WEXITSTATUS(status) == 0 ? std::string() : output;
}

OtherProgram::OtherProgram(const std::filesystem::path& path)
    : m_db(openDirect(path).release()) {}

OtherProgram::~OtherProgram() {
    sqlite3_close_v2(m_db);
}

void OtherProgram::execute(std::string_view sql) {
    if (sqlite3_exec(m_db, std::string(sql).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("SQL failed: ") + sqlite3_errmsg(m_db));
}

CurrentDir::CurrentDir(const std::filesystem::path& path)
    : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
}

CurrentDir::~CurrentDir() {
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
}

} // namespace testing_support
