// Peak memory of the real program: velmorant started offscreen on N stored charts, left until its
// window is up and it sits idle in the event loop, then stopped. The figure is the kernel's peak
// resident size for that program (VmHWM). Not the child's rusage: that would also count the pages of
// this benchmark process that the child shared between fork and exec.
#include "ChartFiles.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

std::filesystem::path programPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "velmorant";
}

// CPU time the process has used so far, in clock ticks; -1 once it is gone.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return -1;
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long user = 0;
    long system = 0;
    for (int n = 3; fields >> field; ++n) {
        if (n == 3 && field == "Z")
            return -1;
        if (n == 14)
            user = std::stol(field);
        if (n == 15) {
            system = std::stol(field);
            break;
        }
    }
    return user + system;
}

// The peak resident size of the program the process runs now, in kilobytes; -1 if unknown.
long peakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Waits until the process has used no CPU for half a second: start-up is over.
bool waitUntilIdle(pid_t pid) {
    long last = cpuTicks(pid);
    for (int quiet = 0; quiet < 10;) {
        std::this_thread::sleep_for(50ms);
        const long now = cpuTicks(pid);
        if (now < 0)
            return false;
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
    return true;
}

void PeakMemory(benchmark::State& state) {
    const auto folder = bench::chartFolder(state.range(0));
    const auto program = programPath();
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(127);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const bool started = waitUntilIdle(pid);
        const long peak = peakKilobytes(pid);
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!started || peak < 0) {
            state.SkipWithError("the program ended before its window was up");
            return;
        }
        state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
    }
}

BENCHMARK(PeakMemory)->Apply(bench::chartCounts)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
