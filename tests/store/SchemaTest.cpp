// The new database: its tables, their columns in order, and a file that is never overwritten.
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

TEST(Schema, HasEveryReferenceRowTheAlmanacNeeds) {
    TempDir dir;
    const auto db = dir / "velmorant.mdb";
    store::createDatabase(db);
    const struct {
        const char* table;
        const char* columns;
        std::size_t rows;
    } tables[] = {{"tithi", "tithi_name", 30},
                  {"rashi", "rashi_name", 12},
                  {"nakshatra", "nak_name", 27},
                  {"yoga", "name || lord || deity", 27},
                  {"karana", "name", 60}};
    for (const auto& t : tables) {
        SCOPED_TRACE(t.table);
        const auto values = column(db, t.table, t.columns);
        EXPECT_EQ(values.size(), t.rows);
        for (const std::string& value : values)
            EXPECT_FALSE(value.empty() || value == "NULL");
    }
    EXPECT_TRUE(queryColumn(db, "select * from Int_Velmorant").empty());
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
