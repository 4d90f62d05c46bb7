// velmorant-cli charts as a user runs it: charts carried through export and import unchanged, every
// refusal with its exit status, and a write that waits for another program's lock.
#include "Program.h"
#include "support/PgCluster.h"

#include <chrono>
#include <sys/stat.h>
#include <thread>

namespace {

using cli_test::Database;
using cli_test::Finished;
using testing_support::queryColumn;

constexpr std::string_view kHeader =
    "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_deg,"
    "ak_min,amk_sign,amk_deg,amk_min,birth_date,birth_time,birth_zone,ayanamsa,"
    "karakas,node\n";
constexpr std::string_view kBirth = ",Taurus,3,55,Capricorn,28,31,Capricorn,28,31,Aquarius,27,26,1990-05-17,"
                                    "14:30,Asia/Kolkata,raman,7,true\n";
constexpr std::string_view kNoBirth = ",Taurus,2,28,Leo,14,3,Pisces,29,59,Capricorn,0,0,,,,,,\n";

// A CSV of these names, each quoted with its quotes doubled; every other chart with birth data.
std::string csvOf(const std::vector<std::string>& names, bool birthFirst = true) {
    std::string text(kHeader);
    for (std::size_t at = 0; at < names.size(); ++at) {
        text += '"';
        for (const char c : names[at])
            text.append(c == '"' ? 2 : 1, c);
        text += '"';
        text += (at % 2 == 0) == birthFirst ? kBirth : kNoBirth;
    }
    return text;
}

std::string birthRows(const Database& database) {
    return queryColumn(database.path, "select count(*) from birth_data").front();
}

TEST(Charts, HostileNamesAndBirthDataComeBackByteForByteThroughEitherFormat) {
    std::string longName;
    for (int i = 0; i < 10'000; ++i)
        longName += static_cast<char>('a' + i % 26);
    const std::vector<std::string> names{"Asha",
                                         "He said \"no\", then left",
                                         "Robert'); DROP TABLE Int_Velmorant;--",
                                         "' OR '1'='1",
                                         longName,
                                         "\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 \u200fabc",
                                         "a\nb",
                                         "a\r\nb",
                                         "Doe, Jane",
                                         " padded ",
                                         "tab\there"};
    const Database first;
    ASSERT_EQ(first.import(csvOf(names)).status, 0);
    ASSERT_EQ(first.names(), names);
    EXPECT_EQ(birthRows(first), "6");
    const std::string csv = first.run({"charts", "export"}).out;

    for (const std::string format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const std::string text = first.run({"charts", "export", "--format", format}).out;
        const Database second;
        std::ofstream(second.folder / ("charts." + format), std::ios::binary) << text;
        const Finished again =
            second.run({"charts", "import", (second.folder / ("charts." + format)).string()});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(second.names(), names);
        EXPECT_EQ(second.run({"charts", "export", "--format", format}).out, text);
        EXPECT_EQ(second.run({"charts", "export"}).out, csv);
    }
}

TEST(Charts, ABadChartStopsTheImportWithItsLineAndNothingIsStored) {
    const std::string good = csvOf({"One", "Two\nlines"});
    const struct {
        const char* format;
        std::string text;
        const char* saying;
    } cases[] = {
        {"csv", good + "Three,Aries,30,0,Leo,1,1,Leo,1,1,Leo,1,1,,,,,,\nFour" + std::string(kNoBirth),
         "line 5: sun_deg must be a whole number from 0 to 29"},
        {"csv", good + "Three,Aries,0,0,Leo,1,1,Leo,1,1,Leo,1,1,1990-05-17,25:00,UTC,raman,7,true\n",
         "line 5: birth_time"},
        {"json",
         "[{\"name\": \"One\", \"sun_sign\": \"Aries\", \"sun_deg\": 0, \"sun_min\": 0, \"moon_sign\": "
         "\"Leo\", \"moon_deg\": 1, \"moon_min\": 1, \"ak_sign\": \"Leo\", \"ak_deg\": 1, \"ak_min\": 1, "
         "\"amk_sign\": \"Leo\", \"amk_deg\": 1, \"amk_min\": 1},\n {\"name\": \"Two\",\n \"sun_sign\": "
         "\"Ares\"}]",
         "line 2: sun_sign \"Ares\" is not a sign"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Database database;
        const Finished finished = database.run({"charts", "import", "-", "--format", c.format}, c.text);
        EXPECT_EQ(finished.status, 2);
        EXPECT_NE(finished.err.find(c.saying), std::string::npos) << finished.err;
        EXPECT_TRUE(database.names().empty());
    }
}

TEST(Charts, StoredNamesAreSkippedAndListedOrReplaced) {
    const Database database;
    ASSERT_EQ(database.import(csvOf({"Asha", "Ravi"})).status, 0);
    const std::string again = csvOf({"Ravi", "Meera", "Asha"}, false);

    const Finished skipped = database.import(again);
    EXPECT_EQ(skipped.status, 1);
    EXPECT_NE(skipped.err.find(":\nRavi\nAsha\n"), std::string::npos) << skipped.err;
    EXPECT_EQ(database.names(), (std::vector<std::string>{"Asha", "Ravi", "Meera"}));
    EXPECT_EQ(birthRows(database), "2");

    const Finished replaced = database.import(again, {"--replace"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(database.names(), (std::vector<std::string>{"Ravi", "Meera", "Asha"}));
    EXPECT_EQ(database.run({"charts", "show", "Asha"}).out,
              "Sun  Taurus 2°28'\nMoon Leo 14°03'\nAK   Pisces 29°59'\nAmK  Capricon 0°00'\n");
    EXPECT_EQ(birthRows(database), "1");

    // A name twice in one file: the first stays, with or without --replace, and the second is named.
    for (const std::vector<std::string>& more : {std::vector<std::string>{}, {"--replace"}}) {
        const Finished twice = database.import(csvOf({"Kavya", "Kavya"}), more);
        EXPECT_EQ(twice.status, 1);
        EXPECT_EQ(twice.err, "velmorant-cli: skipped 1 chart whose name appears twice in the file:\nKavya\n");
        EXPECT_NE(database.run({"charts", "show", "Kavya"}).out.find("Born 1990-05-17"), std::string::npos);
    }
    // A rename to the name it has writes nothing.
    const std::string before = cli_test::fileText(database.path);
    EXPECT_EQ(database.run({"charts", "rename", "Asha", "Asha"}).status, 0);
    EXPECT_TRUE(cli_test::fileText(database.path) == before);
}

TEST(Charts, EachCommandSaysWhatItDidOrRefused) {
    const Database database;
    ASSERT_EQ(database.import(csvOf({"Asha", "Ravi", "Asha"})).status, 1);
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string saying; // on standard output when it succeeds, else on standard error
    } calls[] = {
        {{"charts", "list"}, 0, "Asha\nRavi\n"},
        {{"charts", "list", "--json"}, 0, "[\"Asha\", \"Ravi\"]\n"},
        {{"charts", "show", "Asha"},
         0,
         "Sun  Taurus 3°55'\nMoon Capricon 28°31'\nAK   Capricon 28°31'\nAmK  Aquarius 27°26'\n"
         "Born 1990-05-17 14:30 Asia/Kolkata, Raman ayanamsa, 7 karakas, true node\n"},
        {{"charts", "show", "Meera"}, 1, "no chart named \"Meera\" is stored"},
        {{"charts", "rename", "Asha", "Ravi"}, 1, "This record already exists!"},
        {{"charts", "rename", "Meera", "Kavya"}, 1, "no chart named \"Meera\""},
        {{"charts", "rename", "Asha", ""}, 2, "NEW: "},
        {{"charts", "delete", "Meera"}, 1, "no chart named \"Meera\""},
        {{"charts", "export", "--format", "xml"}, 2, "--format"},
        {{"charts", "import", "charts.txt"}, 2, "--format: charts.txt ends in neither .csv nor .json"},
        {{"charts", "import", "nowhere.csv"}, 3, "cannot read nowhere.csv"},
        {{"charts", "rename", "Asha", "Meera"}, 0, ""},
        {{"charts", "delete", "Ravi"}, 0, ""},
        {{"charts", "show", "Meera"}, 0, "Born 1990-05-17"},
        {{"charts", "list"}, 0, "Meera\n"},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.arguments));
        const Finished finished = database.run(call.arguments);
        EXPECT_EQ(finished.status, call.status) << finished.err;
        EXPECT_NE((call.status == 0 ? finished.out : finished.err).find(call.saying), std::string::npos)
            << finished.out << finished.err;
    }
    EXPECT_EQ(birthRows(database), "1");
}

TEST(Charts, AFileThatIsNotThereIsStatusThree) {
    const testing_support::TempDir folder;
    const std::string missing = (folder / "missing.mdb").string();
    std::ofstream(folder / "in.csv") << kHeader;
    for (std::vector<std::string> call : std::vector<std::vector<std::string>>{
             {"charts", "list"},
             {"charts", "show", "A"},
             {"charts", "rename", "A", "B"},
             {"charts", "delete", "A"},
             {"charts", "export"},
             {"charts", "import", (folder / "in.csv").string()},
             {"calc", "Aries,0,0", "Aries,0,0", "Aries,0,0", "Aries,0,0"}}) {
        SCOPED_TRACE(testing::PrintToString(call));
        call.insert(call.end(), {"--file", missing});
        const Finished finished = cli_test::runCli(call);
        EXPECT_EQ(finished.status, 3);
        EXPECT_NE(finished.err.find(missing + " was not found"), std::string::npos) << finished.err;
    }
}

TEST(Charts, AnExportToAFileAppearsWholeWithTheModeTheUmaskGives) {
    const Database database;
    ASSERT_EQ(database.import(csvOf({"Asha", "Ravi"})).status, 0);
    const auto json = database.folder / "charts.JSON";
    const auto none = database.folder / "none.csv";
    const mode_t previous = ::umask(002);
    const Finished written = database.run({"charts", "export", "--output", json.string()});
    const Finished refused = cli_test::runCli({"charts", "export", "--output", none.string(), "--file",
                                               (database.folder / "missing.mdb").string()});
    ::umask(previous);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(cli_test::fileText(json), database.run({"charts", "export", "--format", "json"}).out);
    EXPECT_EQ(std::filesystem::status(json).permissions(), static_cast<std::filesystem::perms>(0664));
    EXPECT_EQ(refused.status, 3);
    EXPECT_FALSE(std::filesystem::exists(none)) << "no empty file is left behind";
    EXPECT_EQ(
        database.run({"charts", "export", "--output", (database.folder / "charts.txt").string()}).status, 2);
}

std::vector<std::string> copyCall(const Database& from, const Database& to,
                                  std::vector<std::string> more = {}) {
    more.insert(more.begin(), {"charts", "copy", "--from", from.path.string(), "--to", to.path.string()});
    return more;
}

TEST(Charts, ACopyCarriesEveryChartWithItsBirthDataAndSkipsOrReplacesNamesStoredAlready) {
    const Database source;
    const Database target;
    ASSERT_EQ(source.import(csvOf({"Asha", "Ravi", "Meera"})).status, 0);
    ASSERT_EQ(target.import(csvOf({"Ravi"}, false)).status, 0);

    const Finished skipped = cli_test::runCli(copyCall(source, target));
    EXPECT_EQ(skipped.status, 1);
    EXPECT_EQ(skipped.out, "Copied 2 charts from " + source.path.string() + " to " + target.path.string() +
                               "; 1 skipped, its name stored already.\n");
    EXPECT_EQ(skipped.err, "velmorant-cli: skipped 1 chart whose name is stored already:\nRavi\n");
    EXPECT_EQ(target.names(), (std::vector<std::string>{"Ravi", "Asha", "Meera"}));

    const Finished replaced = cli_test::runCli(copyCall(source, target, {"--replace"}));
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(replaced.out,
              "Copied 3 charts from " + source.path.string() + " to " + target.path.string() + ".\n");
    EXPECT_EQ(target.run({"charts", "export"}).out, source.run({"charts", "export"}).out)
        << "every chart and its birth data, in stored order";

    const Finished itself = cli_test::runCli({"charts", "copy", "--from", source.path.string(), "--to",
                                              (source.folder / "." / "velmorant.mdb").string()});
    EXPECT_EQ(itself.status, 2);
    EXPECT_NE(itself.err.find("a store cannot be copied onto itself"), std::string::npos) << itself.err;
}

TEST(Charts, AFileMovesOntoAServerAndBackWithOneCommandEach) {
    const Database file;
    ASSERT_EQ(file.import(csvOf({"Asha", "Ravi \"R\" O'Neil", "Meera"})).status, 0);
    testing_support::PgCluster& cluster = testing_support::PgCluster::shared();
    const std::string server = cluster.createStore();
    const Finished moved = cli_test::runCli({"charts", "copy", "--from", file.path.string(), "--to", server});
    EXPECT_EQ(moved.status, 0) << moved.err;
    const std::string database = server.substr(server.rfind("dbname=") + 7);
    EXPECT_EQ(moved.out, "Copied 3 charts from " + file.path.string() + " to " + database + " on " +
                             cluster.socketFolder() + ".\n");

    const Database back;
    ASSERT_EQ(cli_test::runCli({"charts", "copy", "--from", server, "--to", back.path.string()}).status, 0);
    EXPECT_EQ(back.run({"charts", "export"}).out, file.run({"charts", "export"}).out) << "byte for byte";

    const std::string sameServer =
        "postgresql:///" + database + "?host=" + cluster.socketFolder() + "&user=postgres";
    const Finished itself = cli_test::runCli({"charts", "copy", "--from", server, "--to", sameServer});
    EXPECT_EQ(itself.status, 2) << "one database, named two ways";

    // A name an older version kept in bytes that are not UTF-8: a file keeps it, a server cannot.
    testing_support::runSql(file.path,
                            "update Int_Velmorant set name = cast(x'52617669ff' as text) where rowid = 2");
    const std::string other = cluster.createStore();
    const Finished refused =
        cli_test::runCli({"charts", "copy", "--from", file.path.string(), "--to", other});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("the chart \"\\Ravi\\xFF\" has a name that is not UTF-8 text"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(cli_test::runCli({"charts", "list", "--database", other}).out, "") << "nothing copied";
}

TEST(Charts, ACopyStoppedMidwayCopiesNothing) {
    const struct {
        const char* what;
        const char* sourceSql; // run on the source after its charts are stored
        const char* targetSql;
        int status;
        const char* saying;
    } cases[] = {
        {"a chart the target refuses", "",
         "create trigger refuse before insert on Int_Velmorant when new.name = 'Meera'"
         " begin select raise(abort, 'no Meera here'); end",
         3, "no Meera here"},
        {"a chart no store takes", "update Int_Velmorant set monsign = 'x' where name = 'Meera'", "", 2,
         "the chart \"Meera\" holds \"x\" in monsign"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Database source;
        const Database target;
        ASSERT_EQ(source.import(csvOf({"Asha", "Ravi", "Meera", "Kavya"}, false)).status, 0);
        testing_support::runSql(source.path, c.sourceSql);
        testing_support::runSql(target.path, c.targetSql);
        const Finished finished = cli_test::runCli(copyCall(source, target));
        EXPECT_EQ(finished.status, c.status);
        EXPECT_NE(finished.err.find(c.saying), std::string::npos) << finished.err;
        EXPECT_TRUE(finished.out.empty()) << finished.out;
        EXPECT_TRUE(target.names().empty()) << "Asha and Ravi came before, in the same write";
        EXPECT_EQ(birthRows(target), "0");
    }
}

TEST(Charts, ADeleteWaitsForAnotherProgramsWriteAndGivesUpAfterFiveSeconds) {
    const Database database;
    ASSERT_EQ(database.import(csvOf({"Asha", "Ravi"})).status, 0);
    testing_support::OtherProgram other(database.path);

    other.execute("begin immediate");
    cli_test::Running waiting(VELMORANT_CLI, {"charts", "delete", "Asha", "--file", database.path.string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(waiting.stillRunning()) << "it gave up while the other program held the lock";
    other.execute("commit");
    const Finished deleted = waiting.finish();
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(database.names(), std::vector<std::string>{"Ravi"});
    EXPECT_EQ(birthRows(database), "0");

    other.execute("begin immediate");
    const Finished refused = database.run({"charts", "delete", "Ravi"});
    other.execute("rollback");
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("is in use by another program"), std::string::npos) << refused.err;
    EXPECT_EQ(database.names(), std::vector<std::string>{"Ravi"});
}

} // namespace
