// velmorant-cli panchanga: the day's panchanga at a place for a run of civil dates, as text, JSON or an
// iCalendar file.
#pragma once

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace cli {

// Adds the command to `app`; when it runs, its exit status goes to `status`.
void addPanchangaCommand(CLI::App& app, Io io, int& status);

} // namespace cli
