// velmorant-cli positions: sidereal positions and chara karakas at one moment, or at many read as CSV.
#pragma once

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace cli {

// Adds the command to `app`; when it runs, its exit status goes to `status`.
void addPositionsCommand(CLI::App& app, Io io, int& status);

} // namespace cli
