// What every command of velmorant-cli shares: where it reads and writes, and what its exit status means.
#pragma once

#include <iosfwd>
#include <stdexcept>

namespace cli {

// The streams a command uses, so that it never reaches for the process's own.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1; // some input was skipped, or the work could not be done
inline constexpr int kUsage = 2;   // invalid arguments; nothing was done

// Invalid arguments found after parsing. The message starts with the option it is about ("--date: ...").
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace cli
