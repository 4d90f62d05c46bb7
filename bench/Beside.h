// A figure and its baseline measured side by side: in each iteration the baseline runs outside the
// benchmark's own time, then the program inside it, so that both meet the same machine.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <exception>

namespace bench {

struct Totals {
    double program = 0; // seconds, over every iteration
    double baseline = 0;
};

// Runs `baseline` and `program` once each per iteration and reports the baseline's seconds per
// iteration (`baseline_s`) and the ratio of the two (`ratio`). An exception from either skips the
// benchmark with its message.
template <typename Baseline, typename Program>
Totals beside(benchmark::State& state, Baseline&& baseline, Program&& program) {
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](auto&& work) {
        const auto start = Clock::now();
        work();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    Totals totals;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            totals.baseline += seconds(baseline);
            state.ResumeTiming();
            totals.program += seconds(program);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return totals;
    }
    state.counters["baseline_s"] = totals.baseline / static_cast<double>(state.iterations());
    state.counters["ratio"] = totals.program / totals.baseline;
    return totals;
}

} // namespace bench
