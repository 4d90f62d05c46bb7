// Databases of many stored charts for the benchmarks, made once and kept in the temporary folder.
#pragma once

#include <filesystem>

namespace bench {

// A database holding `count` stored charts with varied names and positions. Made fast, in one
// transaction, the first time it is asked for; later runs reuse it.
std::filesystem::path chartDatabase(long count);

// A fresh copy of chartDatabase(count), for benchmarks that write.
std::filesystem::path scratchCopy(long count);

} // namespace bench
