// Databases of many stored charts for the benchmarks, made once and kept in the temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace bench {

// A database holding `count` stored charts with varied names and positions. Made fast, in one
// transaction, the first time it is asked for; later runs reuse it.
std::filesystem::path chartDatabase(long count);

// A fresh copy of chartDatabase(count), for benchmarks that write.
std::filesystem::path scratchCopy(long count);

// A folder whose velmorant.mdb is chartDatabase(count), for starting the program in; and one whose
// velmorant.mdb is a fresh copy of it, for benchmarks that save.
std::filesystem::path chartFolder(long count);
std::filesystem::path scratchFolder(long count);

// The name of the chart stored at position `index`.
std::string chartName(long index);

} // namespace bench
