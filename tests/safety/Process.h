// Running a program, or a piece of this test program, as a separate process.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct Finished {
    bool exited = false; // ended by itself, with `status`
    int status = -1;
    int signal = 0;     // or killed by this signal
    std::string output; // everything it wrote to standard output
};

struct Launch {
    std::filesystem::path folder; // its current folder
    bool unprivileged = false;    // run as an ordinary user even when the tests run as root
};

// Runs `program` with `arguments` and waits for it to end; one that hangs is killed after a minute.
Finished runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                    const Launch& launch);

// Starts `body` in a child process whose standard output goes to the returned descriptor; the child
// ends when `body` returns (status 0) or throws (status 2, the error's text written to stderr).
struct Child {
    int pid = -1;
    int output = -1;
};
Child startChild(const std::function<void()>& body);

// Waits for a child started above; closes its output.
Finished waitFor(Child& child);

} // namespace testing_support
