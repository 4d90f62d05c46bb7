// The real programs run from a benchmark: velmorant-cli and velmorant-initdb, found beside it.
#pragma once

#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace bench {

// The path of `program` in the benchmark's own folder.
std::string programPath(const char* program);

// Runs `words` (the program found on the PATH when it has no folder), standard input from `in` and
// standard output to `out`, and waits for it; returns its wait status, with what it used in `used`.
int spawn(const std::vector<std::string>& words, const std::filesystem::path& in = "/dev/null",
          const std::filesystem::path& out = "/dev/null", rusage* used = nullptr);

// Whether a wait status is a clean exit with status 0.
bool succeeded(int status);

} // namespace bench
