// Databases of many stored charts for the benchmarks, made once and kept in the temporary folder, one
// set per schema.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace bench {

// Every benchmark over stored charts runs at these counts: none, 1,000, 100,000 and 1,000,000.
inline void chartCounts(benchmark::internal::Benchmark* b) {
    b->Arg(0)->Arg(1'000)->Arg(100'000)->Arg(1'000'000);
}

// The same without none, for what needs at least one chart.
inline void someChartCounts(benchmark::internal::Benchmark* b) {
    b->Arg(1'000)->Arg(100'000)->Arg(1'000'000);
}

// The folder the benchmarks keep their files in.
std::filesystem::path folder();

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
