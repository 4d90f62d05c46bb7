// What every command of velmorant-cli shares: where it reads and writes, and what its exit status means.
#pragma once

#include <iosfwd>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The streams a command uses, so that it never reaches for the process's own. Names and input echoed
// to a terminal are shown escaped (see Shown.h).
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;     // some input was skipped, or the work could not be done
inline constexpr int kUsage = 2;       // invalid arguments or unreadable input; nothing was done
inline constexpr int kFileTrouble = 3; // the database file, or a file to read or write, is unusable

// Invalid arguments found after parsing. The message starts with the option it is about ("--date: ...").
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file named on the command line that cannot be read or written. The database file's own troubles
// come as store::Error and end the same way.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Stops a command whose output can no longer be written; run() then says why, once.
class OutputLost : public std::runtime_error {
public:
    OutputLost()
        : std::runtime_error("the output cannot be written") {}
};

// Gathers output into blocks of a mebibyte before handing it on: a command writing a line per chart or
// per input line would otherwise pass the stream millions of little pieces.
class BlockBuffer final : public std::streambuf {
public:
    explicit BlockBuffer(std::ostream& target)
        : m_target(target)
        , m_block(std::size_t{1} << 20) {
        setp(m_block.data(), m_block.data() + m_block.size());
    }
    BlockBuffer(const BlockBuffer&) = delete;
    BlockBuffer& operator=(const BlockBuffer&) = delete;

protected:
    int_type overflow(int_type c) override {
        drain();
        if (!m_target)
            return traits_type::eof(); // the stream writing here goes bad too
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }

    int sync() override {
        drain();
        m_target.flush();
        return m_target ? 0 : -1;
    }

private:
    void drain() {
        m_target.write(pbase(), pptr() - pbase());
        setp(m_block.data(), m_block.data() + m_block.size());
    }

    std::ostream& m_target;
    std::vector<char> m_block;
};

} // namespace cli
