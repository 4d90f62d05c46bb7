#include "cli/Store.h"

#include <CLI/CLI.hpp>

namespace cli {

void addStoreOptions(CLI::App& command, StoreChoice& choice) {
    CLI::Option* file = command.add_option(
        "--file", choice.file, "The database file (default: velmorant.mdb in the current folder)");
    CLI::Option* database =
        command.add_option("--database", choice.database,
                           "The chart store: a database file, or a PostgreSQL database as a "
                           "postgresql:// URI or a libpq connection string (default: VELMORANT_DATABASE)");
    file->excludes(database);
}

std::string storeLocation(const StoreChoice& choice) {
    if (!choice.database.empty())
        return choice.database;
    if (!choice.file.empty())
        return choice.file;
    return store::environmentLocation().value_or("velmorant.mdb");
}

std::unique_ptr<store::ChartStore> openChosenStore(const StoreChoice& choice) {
    return store::openStore(storeLocation(choice));
}

} // namespace cli
