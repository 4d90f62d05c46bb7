// Throwaway folders and databases for tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Makes the program's database at `path`, then runs `extraSql` on it (to add rows or break it).
void makeDatabase(const std::filesystem::path& path, std::string_view extraSql = {});

// Runs SQL directly through SQLite, outside the layer under test.
void runSql(const std::filesystem::path& path, std::string_view sql);

// The first column of every row that `sql` returns, as text ("NULL" for a null).
std::vector<std::string> queryColumn(const std::filesystem::path& path, std::string_view sql);

// The file's bytes, to prove that something was left exactly as it was.
std::string fileBytes(const std::filesystem::path& path);

// Runs `body` as an ordinary user, so that file permissions hold even when the tests run as root.
// `body` returns an empty string on success or a description of what went wrong.
std::string asUnprivilegedUser(const std::function<std::string()>& body);

// Another program's connection to a database file, kept open, to hold its locks while a test runs.
class OtherProgram {
public:
    explicit OtherProgram(const std::filesystem::path& path);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void execute(std::string_view sql);

private:
    ::sqlite3* m_db = nullptr;
};

// Sets the current directory for the lifetime of the object.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& path);
    ~CurrentDir();

private:
    std::filesystem::path m_previous;
};

} // namespace testing_support
