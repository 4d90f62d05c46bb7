// velmorant-cli charts: the stored charts of a database file listed, shown, renamed, deleted, exported
// and imported.
#pragma once

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace cli {

// Adds the command and its subcommands to `app`; when one runs, its exit status goes to `status`.
void addChartsCommand(CLI::App& app, Io io, int& status);

} // namespace cli
