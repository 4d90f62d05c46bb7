// Texts kept in the arena must stay where they are, and unchanged, however much is kept after them.
#include "store/TextArena.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(TextArenaTest, KeptTextsStayPutAcrossBlocks) {
    store::TextArena arena;
    std::vector<std::pair<std::string, std::string_view>> kept;
    // Names of every length, some empty, some too long to share a block, enough of them to fill many.
    for (int i = 0; i < 200'000; ++i) {
        std::string text = i % 50'000 == 7 ? std::string(700'000, static_cast<char>('a' + i % 26))
                           : i % 97 == 0   ? std::string()
                                           : "chart " + std::to_string(i) + std::string(i % 40, 'x');
        const std::string_view view = arena.keep(text);
        kept.emplace_back(std::move(text), view);
    }
    for (const auto& [text, view] : kept)
        ASSERT_EQ(view, text);
}

TEST(TextArenaTest, ClearThenKeepAgain) {
    store::TextArena arena;
    (void)arena.keep("first");
    arena.clear();
    EXPECT_EQ(arena.keep("second"), "second");
}

} // namespace
