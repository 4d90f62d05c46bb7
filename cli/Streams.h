// Standard output written with every failure kept, and input read in lines of bounded length: a full
// disk is an error, and no input, however long its lines, takes more than a few mebibytes.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace cli {

// A descriptor written through a buffer. The first write that fails is kept, and everything after it
// is dropped, so that the stream writing here goes bad and stays bad.
class OutputFile final : public std::streambuf {
public:
    explicit OutputFile(int descriptor);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes what is buffered and closes the descriptor; returns the first failure, if any.
    std::error_code close();

    std::error_code error() const { return m_error; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool drain();
    bool writeAll(const char* data, std::size_t size);

    int m_descriptor;
    std::vector<char> m_buffer;
    std::error_code m_error;
};

// The longest line a command reads: one longer is bad input, and nothing after it is read.
inline constexpr std::size_t kLongestLine = std::size_t{1} << 20;

// "cannot read standard input: it is a folder", from what the system said.
std::string readFailure(std::string_view name, std::error_code error);

// Reads the first bytes of `in` at once, so that input that cannot be read at all (a folder on standard
// input) is refused before anything is done. Throws FileError naming `name`.
void startReading(std::istream& in, std::string_view name);

// The lines of a stream, read a mebibyte at a time. A line within a block is given in place; only one
// that two blocks share is copied.
class LineReader {
public:
    // Reads the first block at once, as startReading() does.
    LineReader(std::istream& in, std::string name);

    // The next line without its '\n' (a '\r' before it stays), good until the next call; none after the
    // last. The byte just past the line can be read: its '\n', or a NUL. Throws UsageError for a line
    // longer than kLongestLine and FileError when the input cannot be read.
    std::optional<std::string_view> next();

    // The number of the line next() gave last, from 1.
    long number() const { return m_number; }

private:
    void fill();
    void keep(const char* from, const char* to);

    std::streambuf& m_in;
    std::string m_name;
    std::vector<char> m_block;
    const char* m_at = nullptr;
    const char* m_end = nullptr;
    bool m_ended = false;
    std::string m_split; // the start of a line that the end of a block cut
    std::string m_line;
    long m_number = 0;
};

} // namespace cli
