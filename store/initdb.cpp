// velmorant-initdb [PATH | LOCATION]: writes a new database file with the reference tables and no stored
// charts (PATH, by default ./velmorant.mdb; an existing file is never touched), or makes Velmorant's
// tables in an empty PostgreSQL database (LOCATION; one that holds them already is left as it is).
#include "store/ChartStore.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/ServerSchema.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

namespace {

constexpr std::string_view kUsage =
    "usage: velmorant-initdb [PATH | LOCATION]\n"
    "  PATH      a new database file, by default ./velmorant.mdb; an existing file is never touched\n"
    "  LOCATION  an empty PostgreSQL database, as a postgresql:// URI or libpq keywords\n"
    "            (\"host=db.example.org dbname=velmorant\"); libpq finds the password, in ~/.pgpass,\n"
    "            PGPASSWORD or a service file\n";

int makeServerTables(std::string_view location) {
    try {
        const std::string where = store::createServerDatabase(location);
        std::cout << "velmorant-initdb: made Velmorant's tables in " << where << "\n";
        return 0;
    } catch (const store::Error& e) {
        // Never the location itself: it may hold a password.
        if (e.code() == store::Errc::StoreExists)
            std::cerr << "velmorant-initdb: " << e.what() << " It was left as it is.\n";
        else
            std::cerr << "velmorant-initdb: nothing was made: " << e.what() << "\n";
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 ||
        (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help"))) {
        std::cerr << kUsage;
        return argc > 2 ? 2 : 0;
    }
    if (argc == 2 && store::isServerLocation(argv[1]))
        return makeServerTables(argv[1]);
    const std::filesystem::path path = argc == 2 ? argv[1] : "velmorant.mdb";
    try {
        store::createDatabase(path);
    } catch (const std::filesystem::filesystem_error& e) {
        if (e.code() == std::errc::file_exists)
            std::cerr << "velmorant-initdb: " << path.string() << " already exists; it was left as it is.\n";
        else
            std::cerr << "velmorant-initdb: cannot create " << path.string() << ": " << e.code().message()
                      << "\n";
        return 1;
    } catch (const store::Error& e) {
        std::cerr << "velmorant-initdb: cannot create " << path.string() << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << "velmorant-initdb: wrote " << path.string() << "\n";
    return 0;
}
