#include "cli/Streams.h"

#include "cli/Command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace cli {

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;
constexpr std::size_t kOutputBuffer = std::size_t{64} << 10;

} // namespace

OutputFile::OutputFile(int descriptor)
    : m_descriptor(descriptor)
    , m_buffer(kOutputBuffer) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

bool OutputFile::writeAll(const char* data, std::size_t size) {
    while (size > 0 && !m_error) {
        const ssize_t written = ::write(m_descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = std::error_code(written < 0 ? errno : EIO, std::generic_category());
            break;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return !m_error;
}

bool OutputFile::drain() {
    const bool written = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return written;
}

OutputFile::int_type OutputFile::overflow(int_type c) {
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize OutputFile::xsputn(const char* data, std::streamsize size) {
    const auto wanted = static_cast<std::size_t>(size);
    if (wanted <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, wanted);
        pbump(static_cast<int>(wanted));
        return size;
    }
    // Too much for what is left of the buffer: what is buffered goes first, then this, unbuffered.
    return drain() && writeAll(data, wanted) ? size : 0;
}

int OutputFile::sync() {
    return drain() ? 0 : -1;
}

std::error_code OutputFile::close() {
    drain();
    if (m_descriptor >= 0 && ::close(m_descriptor) != 0 && !m_error && errno != EINTR && errno != EBADF)
        m_error = std::error_code(errno, std::generic_category());
    m_descriptor = -1;
    return m_error;
}

std::string readFailure(std::string_view name, std::error_code error) {
    std::string message = "cannot read " + std::string(name);
    if (error == std::errc::is_a_directory)
        return message + ": it is a folder";
    if (error.category() == std::generic_category() || error.category() == std::system_category())
        return message + ": " + error.message();
    return message;
}

void startReading(std::istream& in, std::string_view name) {
    try {
        in.rdbuf()->sgetc();
    } catch (const std::system_error& e) {
        throw FileError(readFailure(name, e.code()));
    }
}

LineReader::LineReader(std::istream& in, std::string name)
    : m_in(*in.rdbuf())
    , m_name(std::move(name))
    , m_block(kBlock) {
    fill();
}

void LineReader::fill() {
    std::streamsize got = 0;
    try {
        got = m_in.sgetn(m_block.data(), static_cast<std::streamsize>(m_block.size()));
    } catch (const std::system_error& e) {
        throw FileError(readFailure(m_name, e.code()));
    }
    m_at = m_block.data();
    m_end = m_at + std::max<std::streamsize>(got, 0);
    m_ended = got <= 0;
}

void LineReader::keep(const char* from, const char* to) {
    if (m_split.size() + static_cast<std::size_t>(to - from) > kLongestLine)
        throw UsageError("line " + std::to_string(m_number + 1) +
                         ": longer than 1 MiB (1048576 bytes); nothing after it was read");
    m_split.append(from, to);
}

std::optional<std::string_view> LineReader::next() {
    for (;;) {
        if (m_at == m_end) {
            if (!m_ended)
                fill();
            if (m_ended) {
                if (m_split.empty())
                    return std::nullopt;
                ++m_number;
                m_line.swap(m_split);
                m_split.clear();
                return m_line;
            }
        }
        const auto* const lineEnd =
            static_cast<const char*>(std::memchr(m_at, '\n', static_cast<std::size_t>(m_end - m_at)));
        if (lineEnd == nullptr) {
            keep(m_at, m_end);
            m_at = m_end;
            continue;
        }
        const char* const start = m_at;
        m_at = lineEnd + 1;
        if (m_split.empty()) {
            ++m_number;
            return std::string_view(start, static_cast<std::size_t>(lineEnd - start));
        }
        keep(start, lineEnd);
        ++m_number;
        m_line.swap(m_split);
        m_split.clear();
        return m_line;
    }
}

} // namespace cli
