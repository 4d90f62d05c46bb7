#include "store/Schema.h"

#include "store/BirthData.h"
#include "store/Sqlite.h"
#include "store/WholeFile.h"

#include <cerrno>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>

namespace store {

namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
    throw std::filesystem::filesystem_error("cannot create the database", path,
                                            std::error_code(error, std::generic_category()));
}

} // namespace

void createDatabase(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found)
        fail(path, EEXIST);

    // Build the file under a private name beside the target, then link it into place; link() never
    // replaces an existing file, so a file that appeared meanwhile is left alone too.
    const std::filesystem::path temporary = makeScratchFile(path);
    try {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(temporary.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        std::unique_ptr<sqlite3, Closer> db(raw);
        sqlite::check(db.get(), rc);
        const std::string script =
            "begin;\n" + std::string(kDatabaseSql) + ";\n" + std::string(kBirthTableSql) + ";\ncommit;";
        sqlite::check(db.get(), sqlite3_exec(db.get(), script.c_str(), nullptr, nullptr, nullptr));
        db.reset();
        if (::link(temporary.c_str(), path.c_str()) != 0)
            fail(path, errno);
    } catch (...) {
        std::filesystem::remove(temporary, ec);
        throw;
    }
    std::filesystem::remove(temporary, ec);
}

} // namespace store
