// The real velmorant-cli and velmorant-initdb, each run in a process of its own as a user runs them:
// arguments passed as they are, with no shell between, standard input from a file.
#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace cli_test {

struct Finished {
    int status = -1; // the exit status; -1 when ended by a signal
    std::string out;
    std::string err;
};

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Files to stand for standard input or output, such as a folder or /dev/full, instead of the input given
// and a file read back afterwards.
struct Redirect {
    std::filesystem::path in;
    std::filesystem::path out;
};

// A program started and not yet waited for.
class Running {
public:
    Running(const std::string& program, std::vector<std::string> arguments, std::string_view input = {},
            const Redirect& redirect = {}) {
        std::ofstream(m_folder / "in", std::ios::binary) << input;
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (std::string& word : arguments)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        const auto in = redirect.in.empty() ? m_folder / "in" : redirect.in;
        const auto out = redirect.out.empty() ? m_folder / "out" : redirect.out;
        posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_addopen(&files, 2, (m_folder / "err").c_str(), O_WRONLY | O_CREAT, 0600);
        if (posix_spawn(&m_pid, program.c_str(), &files, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&files);
    }

    // True until it has ended; it is still there to wait for either way.
    bool stillRunning() const {
        siginfo_t info{};
        return m_pid > 0 &&
               ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == 0;
    }

    Finished finish() {
        int status = 0;
        while (m_pid > 0 && ::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        return {m_pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(m_folder / "out"),
                fileText(m_folder / "err")};
    }

private:
    testing_support::TempDir m_folder;
    pid_t m_pid = -1;
};

inline Finished runCli(const std::vector<std::string>& arguments, std::string_view input = {}) {
    return Running(VELMORANT_CLI, arguments, input).finish();
}

// A new database made by velmorant-initdb, and velmorant-cli run on it.
struct Database {
    testing_support::TempDir folder;
    std::filesystem::path path = folder / "velmorant.mdb";

    Database() {
        const Finished made = Running(VELMORANT_INITDB, {path.string()}).finish();
        EXPECT_EQ(made.status, 0) << made.err;
    }

    Finished run(std::vector<std::string> arguments, std::string_view input = {},
                 const Redirect& redirect = {}) const {
        arguments.insert(arguments.end(), {"--file", path.string()});
        return Running(VELMORANT_CLI, arguments, input, redirect).finish();
    }
    Finished import(std::string_view csv, std::vector<std::string> more = {}) const {
        more.insert(more.begin(), {"charts", "import", "-", "--format", "csv"});
        return run(more, csv);
    }
    std::vector<std::string> names() const {
        return testing_support::queryColumn(path, "select name from Int_Velmorant order by rowid");
    }
};

} // namespace cli_test
