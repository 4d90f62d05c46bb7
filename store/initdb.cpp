// velmorant-initdb [PATH]: writes a new database with the reference tables and no stored charts.
// PATH defaults to ./velmorant.mdb. An existing file is never touched.
#include "store/Error.h"
#include "store/Schema.h"

#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv) {
    if (argc > 2 ||
        (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help"))) {
        std::cerr << "usage: velmorant-initdb [PATH]   (default ./velmorant.mdb)\n";
        return argc > 2 ? 2 : 0;
    }
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
