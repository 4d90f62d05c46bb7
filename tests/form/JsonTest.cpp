#include "form/Json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, EscapesWhatAStringMayNotHoldAndKeepsTheRest) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Sun", R"("Sun")"},
        {R"(say "AK")", R"("say \"AK\"")"},
        {R"(C:\ephe)", R"("C:\\ephe")"},
        {"two\nlines\r\tend", R"("two\nlines\r\tend")"},
        {std::string_view("\x01\x1f", 2), R"("\u0001\u001f")"},
        {std::string_view("nul\0", 4), R"("nul\u0000")"},
        {"27°05'11.4\"", R"("27°05'11.4\"")"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(form::jsonString(text), expected);
}

} // namespace
