// Small tables are read whole at open and large ones as needed; both must behave the same.
#include "store/Connection.h"
#include "store/Recordset.h"
#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <random>

using store::Recordset;
using store::Value;

namespace {

class RecordsetSizeTest : public testing::TestWithParam<long> {
protected:
    void SetUp() override {
        testing_support::makeDatabase(
            path, "with recursive n(i) as (select 0 union all select i + 1 from n where i + 1 < " +
                      std::to_string(rows()) +
                      ") insert into Int_Velmorant (name, sunsign, sundeg)"
                      " select 'chart ' || i, i % 12 + 1, cast(i % 30 as text) from n");
        con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
        rs.open("select * from Int_Velmorant", con);
    }

    long rows() const { return GetParam(); }
    static std::string nameOf(long row) { return "chart " + std::to_string(row); }

    void expectRow(long row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        rs.moveFirst();
        rs.move(row);
        EXPECT_EQ(rs.field("name").toText(), nameOf(row));
        EXPECT_EQ(rs.field(2).toInt16(), row % 12 + 1);
        EXPECT_EQ(rs.field(3).toText(), std::to_string(row % 30));
    }

    testing_support::TempDir dir;
    std::filesystem::path path = dir / "velmorant.mdb";
    store::Connection con;
    Recordset rs;
};

TEST_P(RecordsetSizeTest, WalksEveryRowInOrder) {
    long row = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++row)
        ASSERT_EQ(rs.field("name").toText(), nameOf(row));
    EXPECT_EQ(row, rows());
    // A second walk, now over columns already read, and one over a column read for the first time.
    row = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++row)
        ASSERT_EQ(rs.field("sunsign").toInt16(), row % 12 + 1) << row;
    EXPECT_EQ(row, rows());
}

TEST_P(RecordsetSizeTest, JumpsToAnyRow) {
    std::mt19937 random(7);
    const long fixed[] = {0, 1, rows() - 1, rows() / 2, 31, 32, 33};
    for (long row : fixed)
        expectRow(row);
    for (int i = 0; i < 200; ++i)
        expectRow(static_cast<long>(random() % static_cast<unsigned long>(rows())));
    // Walking past where recall looked, then stepping back to it.
    for (long row = rows() - 40; row < rows(); ++row)
        expectRow(row);
    expectRow(3);
}

// Each move from a fresh open, before anything has read or counted the rows.
TEST_P(RecordsetSizeTest, MovesToAndPastTheEndsFromAFreshOpen) {
    struct Case {
        const char* what;
        std::function<void(Recordset&)> act;
        bool eof;
        std::optional<store::Errc> error;
    };
    const long n = rows();
    const Case cases[] = {
        {"nothing", [](Recordset&) {}, false, {}},
        {"to the last row", [n](Recordset& r) { r.move(n - 1); }, false, {}},
        {"just after the last row", [n](Recordset& r) { r.move(n); }, true, {}},
        {"beyond that", [n](Recordset& r) { r.move(n + 1); }, false, store::Errc::MovePastEnd},
        {"on from the end", [n](Recordset& r) { r.move(n), r.moveNext(); }, true, store::Errc::MovePastEnd},
        {"one back from the end", [n](Recordset& r) { r.move(n), r.move(-1); }, false, {}},
        {"step by step to the end",
         [n](Recordset& r) {
             for (long i = 0; i < n; ++i)
                 r.moveNext();
         },
         true,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rs.close();
        rs.open("select * from Int_Velmorant", con);
        EXPECT_FALSE(rs.bof());
        if (c.error) {
            EXPECT_EQ(testing_support::errorOf([&] { c.act(rs); }).code(), *c.error);
        } else {
            c.act(rs);
        }
        EXPECT_EQ(rs.eof(), c.eof);
    }
}

TEST_P(RecordsetSizeTest, AnAddedRowJoinsAtTheEnd) {
    // Read some columns in full first, so that both read and unread columns must take in the new row.
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        rs.field("name");
    const std::array<std::string_view, 3> columns{"name", "sunsign", "sundeg"};
    const std::array<Value, 3> values{Value("added"), Value(std::int16_t{9}), Value("17")};
    rs.addNew(columns, values);
    EXPECT_EQ(rs.field("name").toText(), "added");

    rs.moveFirst();
    rs.move(rows());
    EXPECT_EQ(rs.field("name").toText(), "added");
    EXPECT_EQ(rs.field("sunsign").toInt16(), 9);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());

    std::vector<std::string> degrees;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        degrees.push_back(rs.field("sundeg").toText());
    ASSERT_EQ(degrees.size(), static_cast<std::size_t>(rows() + 1));
    EXPECT_EQ(degrees.back(), "17");
}

TEST_P(RecordsetSizeTest, KeepsTheRowsOfItsOpenWhileAnotherProgramAdds) {
    testing_support::runSql(path, "insert into Int_Velmorant (name) values ('from elsewhere')");
    long row = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        ++row;
    EXPECT_EQ(row, rows());
    rs.close();
    rs.open("select * from Int_Velmorant", con);
    rs.moveFirst();
    rs.move(rows());
    EXPECT_EQ(rs.field("name").toText(), "from elsewhere") << "a reopen sees it";
}

INSTANTIATE_TEST_SUITE_P(ReadWhole, RecordsetSizeTest, testing::Values(40L));
INSTANTIATE_TEST_SUITE_P(ReadAsNeeded, RecordsetSizeTest, testing::Values(5000L));

// 5,000 stored charts: the row for i = 0 to 4999 has the `values` (SQL over i) in the `columns`;
// `more` SQL runs after, and the file is opened.
class RecordsetLargeTable : public testing::Test {
protected:
    void make(const std::string& columns, const std::string& values, const std::string& more = {}) {
        testing_support::makeDatabase(
            path, "with recursive n(i) as (select 0 union all select i + 1 from n where i < 4999)"
                  " insert into Int_Velmorant (" +
                      columns + ") select " + values + " from n;" + more);
        con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
    }

    testing_support::TempDir dir;
    std::filesystem::path path = dir / "velmorant.mdb";
    store::Connection con;
};

TEST_F(RecordsetLargeTable, AfterAWalkEachPositionReadsItsOwnRowDespiteGapsInTheKeys) {
    make("name, sundeg", "'chart ' || i, 'deg ' || i",
         "delete from Int_Velmorant where rowid % 7 = 3 or rowid between 2000 and 2100");
    const std::vector<std::string> degrees =
        testing_support::queryColumn(path, "select sundeg from Int_Velmorant order by rowid");
    Recordset rs;
    rs.open("select * from Int_Velmorant", con);
    long walked = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        ++walked, rs.field("name");
    ASSERT_EQ(walked, static_cast<long>(degrees.size()));
    std::mt19937 random(11);
    for (int i = 0; i < 300; ++i) {
        const auto row = static_cast<long>(random() % degrees.size());
        rs.moveFirst();
        rs.move(row);
        ASSERT_EQ(rs.field("sundeg").toText(), degrees[static_cast<std::size_t>(row)]) << "position " << row;
    }
}

// Reading whole rows one after another, as a user stepping through the list of names does, fetches
// each row by itself and never reads a column in full (which at a million charts would cost a pause
// and tens of megabytes a column). A change made elsewhere to a row not yet read shows which it was.
TEST_F(RecordsetLargeTable, SteppingThroughWholeRowsReadsNoColumnInFull) {
    make("name, sunsign, sundeg", "'chart ' || i, 1, '0'");
    Recordset rs;
    rs.open("select * from Int_Velmorant", con);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        rs.field("name");
    for (long row = 100; row < 140; ++row) {
        rs.moveFirst();
        rs.move(row);
        for (int column = 0; column < rs.fieldCount(); ++column)
            rs.field(column);
    }
    testing_support::runSql(path,
                            "update Int_Velmorant set sunsign = 7, sundeg = '7' where name = 'chart 3000'");
    rs.moveFirst();
    rs.move(3000);
    EXPECT_EQ(rs.field("sunsign").toInt16(), 7);
    EXPECT_EQ(rs.field("sundeg").toText(), "7");
}

// The first full read of a large table fixes what each position means; a row that another program
// removes after that is reported, never silently replaced by its neighbour.
TEST_F(RecordsetLargeTable, RowsRemovedByAnotherProgramAreReportedNotMisread) {
    make("name", "'chart ' || i");
    const auto walk = [](Recordset& rs, const char* column) {
        long rows = 0;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++rows)
            rs.field(column);
        return rows;
    };
    const std::function<void(Recordset&)> reads[] = {
        [&](Recordset& rs) { walk(rs, "sunsign"); },
        [](Recordset& rs) { rs.moveFirst(), rs.move(4000), rs.field("sunsign"); },
    };
    for (const auto& read : reads) {
        Recordset rs;
        rs.open("select * from Int_Velmorant", con);
        ASSERT_EQ(walk(rs, "name"), 5000);
        testing_support::runSql(path, "delete from Int_Velmorant where name in ('chart 10', 'chart 4000')");
        const store::Error error = testing_support::errorOf([&] { read(rs); });
        EXPECT_EQ(error.code(), store::Errc::TableChanged);
        EXPECT_EQ(error.number(), 3025);
        testing_support::runSql(path, "insert into Int_Velmorant (rowid, name) values (11, 'chart 10'),"
                                      " (4001, 'chart 4000')");
    }

    // Removed between the open and the first read, a row is simply not there.
    Recordset rs;
    rs.open("select * from Int_Velmorant", con);
    testing_support::runSql(path, "delete from Int_Velmorant where name = 'chart 4000'");
    EXPECT_EQ(walk(rs, "name"), 4999);
    rs.moveFirst();
    rs.move(4000);
    EXPECT_EQ(rs.field("name").toText(), "chart 4001");
    EXPECT_EQ(rs.field("sunsign").isNull(), true);
}

} // namespace
