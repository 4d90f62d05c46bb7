// What every command of velmorant-cli shares: where it reads and writes, and what its exit status means.
#pragma once

#include "charts/BlockBuffer.h"

#include <iosfwd>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cli {

// The streams a command uses, so that it never reaches for the process's own. Names and input echoed
// to a terminal are shown escaped (see Shown.h).
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;     // some input was skipped, or the work could not be done
inline constexpr int kUsage = 2;       // invalid arguments or unreadable input; nothing was done
inline constexpr int kFileTrouble = 3; // the database file, or a file to read or write, is unusable

// Invalid arguments found after parsing. The message starts with the option it is about ("--date: ...").
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file named on the command line that cannot be read or written. The database file's own troubles
// come as store::Error and end the same way.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Stops a command whose output can no longer be written; run() then says why, once.
class OutputLost : public std::runtime_error {
public:
    OutputLost()
        : std::runtime_error("the output cannot be written") {}
};

// Output gathered into blocks of a mebibyte, for a command that writes a line per chart or input line.
using charts::BlockBuffer;

} // namespace cli
