// velmorant-cli: parses the command line, runs the command it names, and returns the exit status.
#pragma once

#include "cli/Command.h"

namespace cli {

int run(int argc, const char* const* argv, Io io);

} // namespace cli
