#include "store/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace store {

namespace {

[[noreturn]] void fail(const char* what, const std::filesystem::path& target, int error) {
    throw std::filesystem::filesystem_error(what, target, std::error_code(error, std::generic_category()));
}

// Opens a new file beside `target` and returns its descriptor and name, or -1 with errno set. Not
// mkstemp: that makes the file 0600, and the rename into place keeps it, so an export would be
// unreadable to the group and others whatever the umask says. Asking open() for 0666 lets the kernel
// take the umask off, as for any file the user makes, without reading the umask (which only umask()
// itself tells, by changing it).
int openScratch(const std::filesystem::path& target, std::string& name) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target.string() + '.';
        for (int letter = 0; letter < 6; ++letter)
            name += kLetters[pick(random)];
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The scratch file while it is written: closed at the end, and removed unless it took its name.
struct Scratch {
    int fd = -1;
    std::string name;
    bool named = false;

    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() {
        if (fd >= 0)
            ::close(fd);
        if (!named && !name.empty())
            std::remove(name.c_str());
    }
};

} // namespace

std::filesystem::path makeScratchFile(const std::filesystem::path& target) {
    std::string name;
    const int fd = openScratch(target, name);
    if (fd < 0)
        fail("cannot make a file beside it", target, errno);
    ::close(fd);
    return name;
}

void writeWhole(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write) {
    Scratch scratch;
    scratch.fd = openScratch(target, scratch.name);
    if (scratch.fd < 0) {
        scratch.name.clear();
        fail("cannot make a file beside it", target, errno);
    }
    {
        std::ofstream out(scratch.name, std::ios::binary | std::ios::trunc);
        errno = 0;
        write(out);
        out.close();
        if (!out)
            fail("cannot write", target, errno ? errno : EIO);
    }
    if (::fsync(scratch.fd) != 0)
        fail("cannot write", target, errno);
    if (std::rename(scratch.name.c_str(), target.c_str()) != 0)
        fail("cannot name", target, errno);
    scratch.named = true;
}

} // namespace store
