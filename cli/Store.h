// The chart store of the commands that use one, found as the window finds it: the store --database
// names, or the file --file names, or else the one VELMORANT_DATABASE names, or else velmorant.mdb in
// the current folder.
#pragma once

#include "store/ChartStore.h"

#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace cli {

struct StoreChoice {
    std::string file;
    std::string database;
};

// Adds --file and --database to `command`; they exclude each other.
void addStoreOptions(CLI::App& command, StoreChoice& choice);

// The location `choice` names, by the order above.
std::string storeLocation(const StoreChoice& choice);

std::unique_ptr<store::ChartStore> openChosenStore(const StoreChoice& choice);

} // namespace cli
