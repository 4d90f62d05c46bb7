// Throwaway folders and databases for tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

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

// Sets the current directory for the lifetime of the object.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& path);
    ~CurrentDir();

private:
    std::filesystem::path m_previous;
};

} // namespace testing_support
