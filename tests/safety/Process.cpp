#include "Process.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace {

constexpr auto kHangLimit = std::chrono::seconds(60);
constexpr uid_t kNobody = 65534;

[[noreturn]] void fail(const char* what) {
    std::perror(what);
    ::_exit(127);
}

Finished collect(int pid, int output) {
    Finished finished;
    const auto deadline = std::chrono::steady_clock::now() + kHangLimit;
    char buffer[4096];
    for (;;) {
        pollfd ready{output, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        if (::poll(&ready, 1, static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        const ssize_t n = ::read(output, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            break;
        if (n > 0)
            finished.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(output);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    finished.exited = WIFEXITED(status);
    finished.status = finished.exited ? WEXITSTATUS(status) : -1;
    finished.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return finished;
}

} // namespace

Finished runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                    const Launch& launch) {
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("cannot make a pipe");
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("cannot fork");
    if (pid == 0) {
        ::dup2(channel[1], STDOUT_FILENO);
        ::close(channel[0]);
        ::close(channel[1]);
        if (::chdir(launch.folder.c_str()) != 0)
            fail("chdir");
        // A leak report at exit would change the status the test is about.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("HOME", launch.folder.c_str(), 1);
        ::unsetenv("XDG_RUNTIME_DIR");
        if (launch.unprivileged && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            fail("setuid");
        ::execv(argv[0], argv.data());
        fail("execv");
    }
    ::close(channel[1]);
    return collect(pid, channel[0]);
}

Child startChild(const std::function<void()>& body) {
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("cannot make a pipe");
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("cannot fork");
    if (pid == 0) {
        ::close(channel[0]);
        ::dup2(channel[1], STDOUT_FILENO);
        ::close(channel[1]);
        int status = 0;
        try {
            body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "child failed: %s\n", e.what());
            status = 2;
        }
        std::fflush(nullptr);
        ::_exit(status);
    }
    ::close(channel[1]);
    return {pid, channel[0]};
}

Finished waitFor(Child& child) {
    Finished finished = collect(child.pid, child.output);
    child = {};
    return finished;
}

} // namespace testing_support
