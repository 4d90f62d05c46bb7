#include "bench/Programs.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace bench {

std::string programPath(const char* program) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / program).string();
}

int spawn(const std::vector<std::string>& words, const std::filesystem::path& in,
          const std::filesystem::path& out, rusage* used) {
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) == 0)
        wait4(pid, &status, 0, used);
    posix_spawn_file_actions_destroy(&files);
    return status;
}

bool succeeded(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace bench
