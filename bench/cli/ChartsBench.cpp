// velmorant-cli calc --batch, charts export, import, rename and delete at a million, each as a process
// beside a baseline measured in the same run; `ratio` is the figure the goal is set on:
//   CliCalcBatch     ≤ 3 × a plain pass reading the same input and writing as many bytes
//   CliChartsExport  ≤ 2 × sqlite3 -csv of the chart table
//   CliChartsImport  ≤ 2 × the sqlite3 shell's .import of the same CSV into a plain table
//   CliChartsRename, CliChartsDelete  ≤ 2 × the same at 1,000 charts
//   CliEndlessLine   ≤ 64 MB of memory for each batch command on input without a line break
#include "bench/ChartFiles.h"
#include "bench/Programs.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kMillion = 1'000'000;

using bench::folder;

// The same, as it should end: returns the seconds it took, or throws when it fails.
double run(const std::vector<std::string>& words, const std::filesystem::path& in = "/dev/null",
           const std::filesystem::path& out = "/dev/null") {
    const auto start = Clock::now();
    const int status = bench::spawn(words, in, out);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!bench::succeeded(status))
        throw std::runtime_error(words[0] + " " + words[1] + " failed");
    return seconds;
}

// A new database with no charts at `path`, made by velmorant-initdb.
void emptyDatabase(const std::filesystem::path& path) {
    std::filesystem::remove(path);
    run({bench::programPath("velmorant-initdb"), path.string()});
}

// Measures `program` and `baseline` once each per iteration, the baseline outside the benchmark's own
// time, and reports their ratio. `prepare` runs untimed before each.
template <typename Prepare, typename Program, typename Baseline>
void measure(benchmark::State& state, Prepare&& prepare, Program&& program, Baseline&& baseline) {
    double measured = 0;
    double base = 0;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            prepare();
            base += baseline();
            prepare();
            state.ResumeTiming();
            measured += program();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.counters["baseline_s"] = base / static_cast<double>(state.iterations());
    state.counters["ratio"] = measured / base;
}

// A million lines of twelve numbers, made once.
std::filesystem::path calcInput() {
    const auto path = folder() / "calc-1000000.csv";
    if (std::filesystem::exists(path))
        return path;
    std::ofstream out(folder() / "calc.partial", std::ios::binary);
    std::mt19937 random(2026);
    std::string line;
    for (long i = 0; i < kMillion; ++i) {
        line.clear();
        for (int body = 0; body < 4; ++body) {
            line += std::to_string(1 + random() % 12) + ',' + std::to_string(random() % 30) + ',' +
                    std::to_string(random() % 60);
            line += body == 3 ? '\n' : ',';
        }
        out << line;
    }
    out.close();
    std::filesystem::rename(folder() / "calc.partial", path);
    return path;
}

// The plain pass: reads `in` a mebibyte at a time finding every line, and writes `bytes` bytes to `out`
// a mebibyte at a time.
double plainPass(const std::filesystem::path& in, const std::filesystem::path& out, std::size_t bytes) {
    const auto start = Clock::now();
    std::vector<char> block(std::size_t{1} << 20, 'x');
    const int input = ::open(in.c_str(), O_RDONLY);
    const int output = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    long lines = 0;
    for (ssize_t got; (got = ::read(input, block.data(), block.size())) > 0;)
        for (const char *at = block.data(), *end = at + got;
             (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)))); ++at)
            ++lines;
    for (std::size_t left = bytes; left > 0;) {
        const ssize_t wrote = ::write(output, block.data(), std::min(left, block.size()));
        if (wrote <= 0)
            break;
        left -= static_cast<std::size_t>(wrote);
    }
    ::close(input);
    ::close(output);
    benchmark::DoNotOptimize(lines);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CliCalcBatch(benchmark::State& state) {
    const auto input = calcInput();
    const auto database = bench::chartDatabase(0);
    const auto output = folder() / "calc-out.csv";
    const std::vector<std::string> program{bench::programPath("velmorant-cli"), "calc", "--batch", "--file",
                                           database.string()};
    std::size_t bytes = 0;
    measure(
        state, [] {}, [&] { return run(program, input, output); },
        [&] {
            if (bytes == 0) {
                run(program, input, output);
                bytes = std::filesystem::file_size(output);
            }
            return plainPass(input, output, bytes);
        });
    state.SetItemsProcessed(state.iterations() * kMillion);
}

void CliChartsExport(benchmark::State& state) {
    const auto database = bench::chartDatabase(kMillion).string();
    const auto output = folder() / "export-out.csv";
    measure(
        state, [] {},
        [&] {
            return run({bench::programPath("velmorant-cli"), "charts", "export", "--file", database},
                       "/dev/null", output);
        },
        [&] {
            return run({"sqlite3", "-csv", database, "select * from Int_Velmorant"}, "/dev/null", output);
        });
    state.SetItemsProcessed(state.iterations() * kMillion);
}

// The export of the million charts, made once.
std::filesystem::path importInput() {
    const auto path = folder() / "import-1000000.csv";
    if (!std::filesystem::exists(path)) {
        run({bench::programPath("velmorant-cli"), "charts", "export", "--file",
             bench::chartDatabase(kMillion).string()},
            "/dev/null", folder() / "import.partial");
        std::filesystem::rename(folder() / "import.partial", path);
    }
    return path;
}

void CliChartsImport(benchmark::State& state) {
    const auto input = importInput().string();
    const auto database = folder() / "import.mdb";
    measure(
        state, [&] { emptyDatabase(database); },
        [&] {
            return run({bench::programPath("velmorant-cli"), "charts", "import", input, "--file",
                        database.string()});
        },
        [&] {
            return run({"sqlite3", database.string(), ".import --csv " + input + " plain"});
        });
    state.SetItemsProcessed(state.iterations() * kMillion);
}

// A fresh copy of chartDatabase(count), on the disk: with the copy still in the page cache, the first
// sync of the change would write the whole copy out, which is the copy's cost, not the command's.
std::filesystem::path settledCopy(long count) {
    const auto path = bench::scratchCopy(count);
    const int file = ::open(path.c_str(), O_RDONLY);
    ::fsync(file);
    ::close(file);
    return path;
}

// The same change to the chart in the middle of a fresh copy of 1,000 charts (the baseline) and of a
// million.
void changeAtTwoSizes(benchmark::State& state, const char* command, const std::vector<std::string>& more) {
    const auto once = [&](long count) {
        std::vector<std::string> words{bench::programPath("velmorant-cli"), "charts", command,
                                       bench::chartName(count / 2)};
        words.insert(words.end(), more.begin(), more.end());
        words.insert(words.end(), {"--file", settledCopy(count).string()});
        return [words] {
            return run(words);
        };
    };
    double measured = 0;
    double base = 0;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            base += once(1'000)();
            const auto atMillion = once(kMillion);
            state.ResumeTiming();
            measured += atMillion();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.counters["baseline_s"] = base / static_cast<double>(state.iterations());
    state.counters["ratio"] = measured / base;
}

void CliChartsRename(benchmark::State& state) {
    changeAtTwoSizes(state, "rename", {"Renamed chart"});
}

void CliChartsDelete(benchmark::State& state) {
    changeAtTwoSizes(state, "delete", {});
}

// The peak resident size of each batch command reading input without a line break (/dev/zero): the
// largest of the three, in megabytes. Each stops at the line's limit; none may grow with the input.
void CliEndlessLine(benchmark::State& state) {
    const std::string file = (folder() / "endless.mdb").string();
    emptyDatabase(file);
    const std::vector<std::vector<std::string>> commands{
        {bench::programPath("velmorant-cli"), "positions", "--batch"},
        {bench::programPath("velmorant-cli"), "calc", "--batch", "--file", file},
        {bench::programPath("velmorant-cli"), "charts", "import", "-", "--format", "csv", "--file", file}};
    long peak = 0;
    for (auto _ : state) {
        for (const auto& words : commands) {
            rusage used{};
            const int status = bench::spawn(words, "/dev/zero", "/dev/null", &used);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 2) {
                state.SkipWithError((words[1] + " did not refuse the endless line").c_str());
                return;
            }
            peak = std::max(peak, used.ru_maxrss); // kilobytes
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
}

BENCHMARK(CliEndlessLine)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliCalcBatch)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliChartsExport)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliChartsImport)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliChartsRename)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CliChartsDelete)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
