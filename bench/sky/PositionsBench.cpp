// velmorant-cli positions --batch over 100,000 moments, against the ephemeris alone computing the same
// bodies at the same moments in a plain loop, measured in the same run. Goal: `ratio` at most 1.3.
#include "bench/Beside.h"
#include "bench/Programs.h"
#include "sky/Ephemeris.h"
#include "sky/Time.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {

using namespace date::literals;

constexpr int kMoments = 100'000;

// Dates from 1900 to 2099 in six zones; times from 04:00 on, clear of every clock change they make.
struct Workload {
    std::filesystem::path csv = std::filesystem::temp_directory_path() / "velmorant-bench-positions.csv";
    std::vector<double> julianDays; // the same moments in UT

    Workload() {
        std::ofstream out(csv);
        const char* const zones[] = {"Asia/Kolkata",     "America/New_York", "Europe/London",
                                     "Australia/Sydney", "+05:30",           "UTC"};
        std::mt19937 random(17'05'1990);
        std::uniform_int_distribution<int> day(0, 73'048), minute(4 * 60, 24 * 60 - 1), zone(0, 5);
        for (int i = 0; i < kMoments; ++i) {
            const date::year_month_day ymd{date::sys_days{1900_y / 1 / 1} + date::days(day(random))};
            const int minutes = minute(random);
            const char* name = zones[zone(random)];
            char line[64];
            std::snprintf(line, sizeof line, "%04d-%02u-%02u,%02d:%02d,%s\n", static_cast<int>(ymd.year()),
                          static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), minutes / 60,
                          minutes % 60, name);
            out << line;
            julianDays.push_back(sky::julianDay(
                sky::universalTime(ymd, std::chrono::minutes(minutes), sky::Zone::parse(name))));
        }
    }
    ~Workload() {
        std::error_code ignored;
        std::filesystem::remove(csv, ignored);
    }
    Workload(const Workload&) = delete;
    Workload& operator=(const Workload&) = delete;
};

const Workload& workload() {
    static const Workload made;
    return made;
}

void CliBatchPositions(benchmark::State& state) {
    const Workload& work = workload();
    std::optional<sky::Ephemeris> ephemeris;
    try {
        ephemeris.emplace();
    } catch (const std::exception& e) { // another benchmark's window still holding the library
        state.SkipWithError(e.what());
        return;
    }
    bench::beside(
        state,
        [&] {
            for (const double julianDay : work.julianDays)
                benchmark::DoNotOptimize(ephemeris->positions(julianDay));
        },
        [&] {
            if (!bench::succeeded(
                    bench::spawn({bench::programPath("velmorant-cli"), "positions", "--batch"}, work.csv)))
                throw std::runtime_error("velmorant-cli positions --batch failed");
        });
    state.SetItemsProcessed(state.iterations() * kMoments);
}
BENCHMARK(CliBatchPositions)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
