// The new database: its tables, their columns in order, and the reference rows in traditional order.
#include "store/Schema.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using testing_support::queryColumn;
using testing_support::TempDir;

namespace {

std::vector<std::string> column(const std::filesystem::path& db, const std::string& table,
                                const std::string& name) {
    return queryColumn(db, "select " + name + " from " + table + " order by rowid");
}

TEST(Schema, HasTheReferenceTablesWithTheirRowsInOrder) {
    TempDir dir;
    const auto db = dir / "velmorant.mdb";
    store::createDatabase(db);

    struct Spot {
        const char* table;
        const char* column;
        std::size_t rows;
        std::size_t row;
        const char* value;
    };
    const Spot spots[] = {
        {"tithi", "tithi_name", 30, 0, "Shukla Pratipada"},
        {"tithi", "tithi_name", 30, 14, "Purnima"},
        {"tithi", "tithi_name", 30, 15, "Krishna Pratipada"},
        {"tithi", "tithi_name", 30, 29, "Amavasya"},
        {"rashi", "rashi_name", 12, 0, "Mesha"},
        {"rashi", "rashi_name", 12, 11, "Mina"},
        {"nakshatra", "nak_name", 27, 0, "Ashwini"},
        {"nakshatra", "nak_name", 27, 26, "Revati"},
        {"yoga", "name", 27, 0, "Vishkumbha"},
        {"yoga", "name", 27, 26, "Vaidhriti"},
        {"yoga", "deity", 27, 24, "Ashvini Kumaras"},
        {"karana", "name", 60, 0, "Kimstughna"},
        {"karana", "name", 60, 57, "Shakuni"},
        {"karana", "name", 60, 59, "Naga"},
    };
    for (const Spot& s : spots) {
        SCOPED_TRACE(testing::Message() << s.table << " row " << s.row);
        const auto values = column(db, s.table, s.column);
        ASSERT_EQ(values.size(), s.rows);
        EXPECT_EQ(values[s.row], s.value);
    }
    EXPECT_TRUE(queryColumn(db, "select * from Int_Velmorant").empty());
}

TEST(Schema, RepeatingCyclesRunInOrder) {
    TempDir dir;
    const auto db = dir / "velmorant.mdb";
    store::createDatabase(db);

    const std::vector<std::string> movable{"Bava", "Balava", "Kaulava", "Taitila",
                                           "Gara", "Vanija", "Vishti"};
    const auto karana = column(db, "karana", "name");
    for (std::size_t row = 1; row <= 56; ++row)
        EXPECT_EQ(karana[row], movable[(row - 1) % 7]) << "karana row " << row;

    // The lord of each yoga follows the nine nakshatra lords, three times over.
    const std::vector<std::string> lords{"Saturn", "Mercury", "Ketu", "Venus",  "Sun",
                                         "Moon",   "Mars",    "Rahu", "Jupiter"};
    const auto lord = column(db, "yoga", "lord");
    for (std::size_t row = 0; row < lord.size(); ++row)
        EXPECT_EQ(lord[row], lords[row % 9]) << "yoga row " << row;
}

TEST(Schema, StoredChartColumnsStandInTheirFixedOrder) {
    TempDir dir;
    const auto db = dir / "velmorant.mdb";
    store::createDatabase(db);
    EXPECT_EQ(
        queryColumn(db, "select name || ':' || type from pragma_table_info('Int_Velmorant') order by cid"),
        (std::vector<std::string>{"id:INTEGER", "name:TEXT", "sunsign:INTEGER", "sundeg:TEXT", "sunmin:TEXT",
                                  "monsign:INTEGER", "mondeg:TEXT", "monmin:TEXT", "aksign:INTEGER",
                                  "akdeg:TEXT", "akmin:TEXT", "amksign:INTEGER", "amkdeg:TEXT",
                                  "amkmin:TEXT"}));
}

TEST(Schema, NeverTouchesAnExistingFile) {
    TempDir dir;
    const auto db = dir / "velmorant.mdb";
    testing_support::makeDatabase(db, "insert into Int_Velmorant (name) values ('precious')");
    const std::string before = testing_support::fileBytes(db);
    try {
        store::createDatabase(db);
        FAIL() << "an existing file was accepted";
    } catch (const std::filesystem::filesystem_error& e) {
        EXPECT_EQ(e.code(), std::errc::file_exists);
    }
    EXPECT_EQ(testing_support::fileBytes(db), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no scratch file is left";
}

int runInitdb(const std::string& arguments) {
    const int status =
        std::system((std::string(VELMORANT_INITDB) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InitdbTool, WritesANewDatabaseAndRefusesAnExistingOne) {
    TempDir dir;
    {
        testing_support::CurrentDir cwd(dir.path());
        EXPECT_EQ(runInitdb(""), 0);
    }
    ASSERT_TRUE(std::filesystem::exists(dir / "velmorant.mdb")) << "the default is ./velmorant.mdb";
    EXPECT_EQ(column(dir / "velmorant.mdb", "tithi", "tithi_name").size(), 30u);

    const auto named = dir / "charts.mdb";
    EXPECT_EQ(runInitdb(named.string()), 0);
    testing_support::runSql(named, "insert into Int_Velmorant (name) values ('kept')");
    const std::string before = testing_support::fileBytes(named);
    EXPECT_EQ(runInitdb(named.string()), 1);
    EXPECT_EQ(testing_support::fileBytes(named), before);
    EXPECT_EQ(runInitdb((dir / "no-such-folder" / "x.mdb").string()), 1);
}

} // namespace
