// Many small texts kept side by side in large blocks. A text, once kept, never moves: growing the
// store adds a block rather than copying what is there, so filling it with a million names touches
// each byte once, and a view of a kept text stays good until clear().
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace store {

class TextArena {
public:
    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;
    TextArena(TextArena&&) noexcept = default;
    TextArena& operator=(TextArena&&) noexcept = default;

    // Copies `text` in and returns the kept copy.
    [[nodiscard]] std::string_view keep(std::string_view text);
    void clear();

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr; // where the next text goes in the last block
    std::size_t m_left = 0; // bytes left there
};

} // namespace store
