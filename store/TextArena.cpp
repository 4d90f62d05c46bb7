#include "store/TextArena.h"

#include <cstring>

namespace store {

std::string_view TextArena::keep(std::string_view text) {
    if (text.empty())
        return {};
    if (text.size() > m_left) {
        if (text.size() > kBlock / 4) {
            // A long text gets a block of its own; the current block goes on filling.
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
            std::memcpy(m_blocks.back().get(), text.data(), text.size());
            return {m_blocks.back().get(), text.size()};
        }
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlock));
        m_free = m_blocks.back().get();
        m_left = kBlock;
    }
    char* kept = m_free;
    std::memcpy(kept, text.data(), text.size());
    m_free += text.size();
    m_left -= text.size();
    return {kept, text.size()};
}

void TextArena::clear() {
    m_blocks.clear();
    m_free = nullptr;
    m_left = 0;
}

} // namespace store
