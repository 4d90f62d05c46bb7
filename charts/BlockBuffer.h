// Output gathered into blocks of a mebibyte before it is handed on: writing a line per chart would
// otherwise pass the stream millions of little pieces.
#pragma once

#include <ostream>
#include <streambuf>
#include <vector>

namespace charts {

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

} // namespace charts
