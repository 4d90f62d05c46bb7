// velmorant-cli calc as a user runs it: both pairs named from the file's own tables, as text, JSON and
// a batch, and the arguments and lines it refuses.
#include "Program.h"

namespace {

using cli_test::Database;
using cli_test::Finished;

const std::vector<std::string> kExample{"calc", "Aries,0,0", "taurus,24,30", "PISCES,29,59", "Aries,0,0"};
constexpr std::string_view kBatchHeader = "external_tithi,external_elongation,external_rashi,nakshatra,"
                                          "external_yoga,external_karana,internal_tithi,internal_elongation,"
                                          "internal_rashi,internal_yoga,internal_karana\n";
constexpr std::string_view kExampleLine =
    "Shukla Panchami,1S 24deg 30mins,Vrishabha,Mrigashira,Shobhana,Balava,"
    "Shukla Pratipada,0S 0deg 1mins,Mesha,Vaidhriti,Kimstughna\n";

TEST(Calc, BothPairsAsTheWindowShowsThem) {
    const Database database;
    const Finished text = database.run(kExample);
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "External Tithi   Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)\n"
                        "Nakshatra        Mrigashira\n"
                        "External Yoga    Shobhana (Sun) Deity - Brihaspati\n"
                        "External Karana  Balava\n"
                        "Internal Tithi   Shukla Pratipada - 0S 0deg 1mins(0deg 1mins in Mesha)\n"
                        "Internal Yoga    Vaidhriti (Jupiter) Deity - Diti\n"
                        "Internal Karana  Kimstughna\n");

    // The Moon 12 degrees ahead: the second tithi and the third karana have only just begun.
    const Finished json =
        database.run({"calc", "Aries,0,0", "Aries,12,0", "Capricorn,0,0", "Leo,1,1", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(
        json.out,
        "{\"external\": {\"tithi\": \"Shukla Dwitiya\", \"elongation\": {\"degrees\": 12, \"minutes\": 0, "
        "\"sign\": 0}, \"rashi\": \"Mesha\", \"nakshatra\": \"Ashwini\", \"yoga\": \"Vishkumbha\", "
        "\"lord\": \"Saturn\", \"deity\": \"Yama\", \"karana\": \"Balava\", \"details\": {\"paksha\": "
        "\"Shukla\", \"tithi_in_paksha\": 2, \"tithi_percent\": 0, \"yoga_percent\": 90, "
        "\"karana_percent\": 0, \"pada\": 4, \"nakshatra_lord\": \"Ketu\", \"nakshatra_percent\": 90, "
        "\"uncertain\": [\"tithi\", \"karana\"]}}, \"internal\": {\"tithi\": \"Krishna Tritiya\", "
        "\"elongation\": {\"degrees\": 211, \"minutes\": 1, \"sign\": 7}, \"rashi\": \"Vrishchika\", "
        "\"nakshatra\": null, \"yoga\": \"Ayushman\", \"lord\": \"Ketu\", \"deity\": \"Chandra\", "
        "\"karana\": \"Vishti\", \"details\": {\"paksha\": \"Krishna\", \"tithi_in_paksha\": 3, "
        "\"tithi_percent\": 58, \"yoga_percent\": 32, \"karana_percent\": 16, \"uncertain\": []}}}\n");
}

TEST(Calc, NamesComeFromTheFilesOwnTables) {
    const Database database;
    testing_support::runSql(database.path, "update tithi set tithi_name = 'Fifth, \"bright\"' where id = 5");
    EXPECT_TRUE(
        database.run(kExample).out.starts_with("External Tithi   Fifth, \"bright\" - 1S 24deg 30mins("));
    const Finished batch = database.run({"calc", "--batch"}, "1,0,0,2,24,30,12,29,59,1,0,0\n");
    EXPECT_TRUE(
        batch.out.substr(kBatchHeader.size()).starts_with("\"Fifth, \"\"bright\"\"\",1S 24deg 30mins,"))
        << batch.out;

    testing_support::runSql(database.path, "delete from karana where id > 59");
    const Finished shortTable = database.run(kExample);
    EXPECT_EQ(shortTable.status, 3);
    EXPECT_NE(shortTable.err.find("karana"), std::string::npos) << shortTable.err;
}

TEST(Calc, RefusesArgumentsNamingTheOneAtFault) {
    const Database database;
    const struct {
        std::vector<std::string> arguments;
        const char* saying;
    } calls[] = {
        {{"Aries,0,0", "Taurus,24,30", "Pisces,29,59"}, "AMK: missing"},
        {{"Aries,0,0", "Tauros,24,30", "Pisces,29,59", "Aries,0,0"}, "MOON: \"Tauros,24,30\" does not start"},
        {{"Aries,30,0", "Taurus,24,30", "Pisces,29,59", "Aries,0,0"}, "SUN: \"Aries,30,0\" has degrees"},
        {{"Aries,0,0", "Taurus,24,30", "Pisces,29,-1", "Aries,0,0"}, "AK: \"Pisces,29,-1\" has minutes"},
        {{"Aries,0,0", "Taurus,24,30", "Pisces,29,59", "Aries,0"}, "AMK: \"Aries,0\" is not a position"},
        {{"Aries,0,0", "Taurus,24,30", "Pisces,29,59", "Aries,0,0,0"},
         "AMK: \"Aries,0,0,0\" is not a position"},
        {{"Aries,0,0", "Taurus,24,30", "Pisces,29,59", "Aries,0,0", "Leo,1,1"}, "Leo,1,1"},
        {{"--batch", "Aries,0,0"}, "--batch: the positions come from standard input"},
        {{"--batch", "--json"}, "--json excludes --batch"},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(testing::PrintToString(call.arguments));
        std::vector<std::string> arguments{"calc"};
        arguments.insert(arguments.end(), call.arguments.begin(), call.arguments.end());
        const Finished finished = database.run(arguments);
        EXPECT_EQ(finished.status, 2);
        EXPECT_NE(finished.err.find(call.saying), std::string::npos) << finished.err;
    }
}

TEST(Calc, BatchSkipsBadLinesSayingWhereAndGoesOn) {
    const Finished finished =
        Database().run({"calc", "--batch"}, "sun_sign,sun_deg,sun_min,moon_sign,moon_deg\r\n"
                                            "1,0,0,2,24,30,12,29,59,1,0,0\r\n"
                                            "\n"
                                            "1,0,0,2,24,30,12,29,59,1,0\n"
                                            "1,0,0,2,24,30,12,29,59,13,0,0\n"
                                            "1,0,0,2,x,30,12,29,59,1,0,0\n"
                                            " 1 , 0 ,0,2,24,30,12,29,59,1,0,0");
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.err,
              "velmorant-cli: line 4: expected twelve numbers, sign,deg,min for Sun, Moon, AK and AmK\n"
              "velmorant-cli: line 5: amk_sign must be a whole number from 1 to 12, not \"13\"\n"
              "velmorant-cli: line 6: moon_deg must be a whole number from 0 to 29, not \"x\"\n");
    EXPECT_EQ(finished.out,
              std::string(kBatchHeader) + std::string(kExampleLine) + std::string(kExampleLine));
}

TEST(Calc, BatchLinesCutBetweenReadsComeOutWhole) {
    // Lines of two lengths, alternating over several mebibytes, so that reads end at every point of a line.
    const std::string_view lines[] = {"1,0,0,2,24,30,12,29,59,1,0,0\n", "01,00,00, 2,24,30,12,29,59,1,0,0\n"};
    std::string input;
    for (int i = 0; i < 100'000; ++i)
        input += lines[i % 2];
    const Finished finished = Database().run({"calc", "--batch"}, input);
    ASSERT_EQ(finished.status, 0) << finished.err.substr(0, 200);
    std::string expected(kBatchHeader);
    for (int i = 0; i < 100'000; ++i)
        expected += kExampleLine;
    EXPECT_TRUE(finished.out == expected);
}

} // namespace
