// velmorant-cli calc: the results of both pairs from the four positions, named from the file's
// reference tables; one chart from the arguments, or many read as CSV.
#pragma once

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace cli {

// Adds the command to `app`; when it runs, its exit status goes to `status`.
void addCalcCommand(CLI::App& app, Io io, int& status);

} // namespace cli
