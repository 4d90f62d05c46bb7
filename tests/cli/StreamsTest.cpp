// velmorant-cli's input and output at their limits: a full disk, lines past the longest taken, a folder
// or a pipe where a file should be, and names that would command a terminal.
#include "Program.h"
#include "cli/Shown.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

using cli_test::Database;
using cli_test::Finished;
using cli_test::Redirect;

constexpr std::string_view kCharts = "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_"
                                     "deg,ak_min,amk_sign,amk_deg,amk_min\n"
                                     "Asha,Aries,0,0,Taurus,24,30,Pisces,29,59,Aries,0,0\n";
constexpr std::string_view kMoment = "1990-05-17,14:30,UTC\n";
constexpr std::string_view kPositions = "1,0,0,2,24,30,12,29,59,1,0,0\n";

std::string repeated(std::string_view line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

Finished runOn(const Database& database, std::vector<std::string> arguments, std::string_view input,
               const Redirect& redirect) {
    if (arguments.front() == "positions" || arguments.front() == "--help")
        return cli_test::Running(VELMORANT_CLI, arguments, input, redirect).finish();
    return database.run(arguments, input, redirect);
}

TEST(Streams, EveryCommandWritingToAFullDiskSaysSoOnceWithStatusThree) {
    const Database database;
    ASSERT_EQ(database.import(kCharts).status, 0);
    const auto moment =
        std::vector<std::string>{"positions", "--date", "1990-05-17", "--time", "14:30", "--zone", "UTC"};
    const auto withJson = [](std::vector<std::string> arguments) {
        arguments.push_back("--json");
        return arguments;
    };
    const std::vector<std::string> chart{"calc", "Aries,0,0", "Taurus,24,30", "Pisces,29,59", "Aries,0,0"};
    const struct {
        std::vector<std::string> arguments;
        std::string input;
    } calls[] = {
        {moment, ""},
        {withJson(moment), ""},
        {{"positions", "--batch"}, repeated(kMoment, 2'000)},
        {chart, ""},
        {withJson(chart), ""},
        {{"calc", "--batch"}, repeated(kPositions, 200'000)},
        {{"charts", "list"}, ""},
        {{"charts", "list", "--json"}, ""},
        {{"charts", "show", "Asha"}, ""},
        {{"charts", "export"}, ""},
        {{"charts", "export", "--format", "json"}, ""},
        {{"--help"}, ""},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.arguments));
        const Finished finished = runOn(database, call.arguments, call.input, {.in = {}, .out = "/dev/full"});
        EXPECT_EQ(finished.status, 3);
        EXPECT_EQ(finished.err, "velmorant-cli: cannot write to standard output: No space left on device\n");
    }
}

TEST(Streams, InputThatCannotBeTakenStopsWithItsStatusAndNothingAfterIt) {
    const Database database;
    const std::string longLine(std::size_t{1} << 20, 'x');
    const auto folder = database.folder / "folder.csv";
    const auto pipe = database.folder / "pipe.csv";
    std::filesystem::create_directory(folder);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::vector<std::string> arguments;
        std::string input;
        std::filesystem::path in;
        int status;
        std::string saying;
        std::size_t linesOut;
    } calls[] = {
        {{"positions", "--batch"},
         std::string(kMoment) + longLine + "x\n" + std::string(kMoment),
         {},
         2,
         "velmorant-cli: line 2: longer than 1 MiB",
         2},
        {{"calc", "--batch"},
         std::string(kPositions) + longLine + "x\n" + std::string(kPositions),
         {},
         2,
         "velmorant-cli: line 2: longer than 1 MiB",
         2},
        {{"calc", "--batch"},
         std::string(longLine.size(), '9'),
         {},
         1,
         "velmorant-cli: line 1: expected twelve numbers",
         1},
        {{"positions", "--batch"}, "", folder, 3, "cannot read standard input: it is a folder", 0},
        {{"calc", "--batch"}, "", folder, 3, "cannot read standard input: it is a folder", 0},
        {{"charts", "import", "-", "--format", "csv"}, "", folder, 3, "standard input: it is a folder", 0},
        {{"charts", "import", folder.string()},
         "",
         {},
         3,
         "folder.csv: it is a folder, not a regular file",
         0},
        {{"charts", "import", pipe.string()}, "", {}, 3, "pipe.csv: it is not a regular file", 0},
        {{"charts", "import", "/dev/null", "--format", "csv"},
         "",
         {},
         3,
         "null: it is not a regular file",
         0},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.arguments));
        const Finished finished = runOn(database, call.arguments, call.input, {.in = call.in, .out = {}});
        EXPECT_EQ(finished.status, call.status);
        EXPECT_NE(finished.err.find(call.saying), std::string::npos) << finished.err;
        EXPECT_EQ(std::ranges::count(finished.err, '\n'), 1) << finished.err;
        EXPECT_EQ(static_cast<std::size_t>(std::ranges::count(finished.out, '\n')), call.linesOut);
    }
}

TEST(Streams, ATerminalIsShownControlsEscapedAndAnythingElseGetsTheBytes) {
    const struct {
        std::string_view text;
        std::string_view onTerminal;
    } cases[] = {
        {"Asha Rao", "Asha Rao"},
        {"\x1b]0;PWNED\a", "\\033]0;PWNED\\a"},
        {"\x1b[2J", "\\033[2J"},
        {"a\nb\tc\rd\be\vf\fg", "a\\nb\\tc\\rd\\be\\vf\\fg"},
        {std::string_view("\0\x1f\x7f", 3), "\\000\\037\\177"},
        {"C:\\path", "C:\\\\path"},
        {"\u0936\u094d\u0930\u0940 \u00e9 \U0001f319", "\u0936\u094d\u0930\u0940 \u00e9 \U0001f319"},
        {"\xc2\x9b"
         "2J",
         "\\302\\2332J"}, // CSI as a C1 control
        {"\xff\xc0\xaf|\xe0\xa4|\xed\xa0\x80", "\\377\\300\\257|\\340\\244|\\355\\240\\200"}, // not UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(cli::shown(c.text, true), c.onTerminal);
        EXPECT_EQ(cli::shown(c.text, false), c.text);
    }
    EXPECT_EQ(cli::shownMessage("line 1: \"\x1b[2J\"\nline 2", true), "line 1: \"\\033[2J\"\nline 2");
}

} // namespace
