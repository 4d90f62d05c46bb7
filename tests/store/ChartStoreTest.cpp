// The store over a real file: values and their conversions, statements and transactions, the reference
// tables read whole, and the stored charts through the chart index and its recordset. The chart suite
// runs at several table sizes, since nothing the store does may depend on how many charts there are.
#include "store/Charts.h"
#include "store/Connection.h"
#include "store/Error.h"
#include "store/FileStore.h"
#include "store/Recordset.h"
#include "store/Transaction.h"
#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <type_traits>

using store::Errc;
using testing_support::errorOf;
using testing_support::queryColumn;

namespace {

static_assert(std::is_nothrow_move_constructible_v<store::Statement> &&
              !std::is_copy_constructible_v<store::Statement>);

class StoreTest : public testing::Test {
protected:
    void open(std::string_view sql = {}) {
        testing_support::makeDatabase(path, sql);
        con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
    }

    testing_support::TempDir dir;
    std::filesystem::path path = dir / "velmorant.mdb";
    store::Connection con;
};

TEST(FieldConversions, TextAndSixteenBitWholeNumbers) {
    struct Case {
        store::Value value;
        const char* text; // nullptr: toText throws
        std::optional<int> whole;
        Errc refusal; // what toInt16 throws when `whole` is empty
    };
    const Case cases[] = {
        {store::Value(), nullptr, std::nullopt, Errc::NullValue},
        {store::Value(7), "7", 7, {}},
        {store::Value(" 12 "), " 12 ", 12, {}},
        {store::Value("07"), "07", 7, {}},
        {store::Value(5.0), "5", 5, {}},
        {store::Value(5.5), "5.5", std::nullopt, Errc::NotWholeNumber},
        {store::Value("Leo"), "Leo", std::nullopt, Errc::NotWholeNumber},
        {store::Value(40000), "40000", std::nullopt, Errc::NumberTooLarge},
        {store::Value("99999999999999999999"), "99999999999999999999", std::nullopt, Errc::NumberTooLarge},
    };
    for (const Case& c : cases) {
        const store::Field field("sunsign", c.value);
        SCOPED_TRACE(c.text ? c.text : "null");
        if (c.text)
            EXPECT_EQ(field.toText(), c.text);
        else
            EXPECT_EQ(errorOf([&] { field.toText(); }).code(), Errc::NullValue);
        if (c.whole)
            EXPECT_EQ(field.toInt16(), *c.whole);
        else
            EXPECT_EQ(errorOf([&] { field.toInt16(); }).code(), c.refusal);
    }
}

TEST_F(StoreTest, AStatementBindsValuesAndReadsTypedColumns) {
    open();
    store::Statement statement = con.prepare("select ?, ?, ?, ?");
    statement.bind(1, std::int64_t{42})
        .bind(2, "it's; drop table tithi")
        .bind(3, store::Value())
        .bind(4, 2.5);
    store::Statement moved = std::move(statement);
    ASSERT_TRUE(moved.step());
    EXPECT_EQ(moved.getInt64(0), 42);
    EXPECT_EQ(moved.getText(1), "it's; drop table tithi");
    EXPECT_TRUE(moved.isNull(2));
    EXPECT_EQ(moved.getValue(3), store::Value(2.5));
    EXPECT_FALSE(moved.step());
}

TEST_F(StoreTest, ATransactionLeftWithoutCommitKeepsNothing) {
    open();
    {
        store::Transaction write(con);
        con.execute("insert into Int_Velmorant (name) values ('kept?')");
    }
    EXPECT_TRUE(queryColumn(path, "select name from Int_Velmorant").empty());
    {
        store::Transaction write(con);
        con.execute("insert into Int_Velmorant (name) values ('kept')");
        write.commit();
    }
    EXPECT_EQ(queryColumn(path, "select name from Int_Velmorant"), std::vector<std::string>{"kept"});
}

TEST_F(StoreTest, AMissingTableIsFoundFromTheSchemaAndNamed) {
    open("drop table karana; create table Yoga2 (x)");
    EXPECT_TRUE(con.hasTable("YOGA"));
    store::Recordset rs;
    const store::Error error = errorOf([&] { rs.open("karana", *store::FileStore::openFile(path)); });
    EXPECT_EQ(error.code(), Errc::MissingTable);
    EXPECT_NE(std::string(error.what()).find("karana"), std::string::npos);
    EXPECT_FALSE(rs.isOpen());
}

TEST_F(StoreTest, AReferenceRecordsetMovesByPositionAndReadsByNameOrOrdinal) {
    open();
    store::Recordset rs;
    const auto file = store::FileStore::openFile(path);
    rs.open("yoga", *file);
    EXPECT_FALSE(rs.bof());
    rs.move(26);
    EXPECT_EQ(rs.field("NAME").toText(), "Vaidhriti");
    EXPECT_EQ(rs.field(1).toText(), "Vaidhriti");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorOf([&] { rs.field("name"); }).code(), Errc::ReadAtEnd);
    EXPECT_EQ(errorOf([&] { rs.moveNext(); }).code(), Errc::MovePastEnd);
    rs.moveFirst();
    rs.move(-1);
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(errorOf([&] { rs.move(-1); }).code(), Errc::MoveBeforeStart);
    EXPECT_EQ(errorOf([&] { rs.field("planet"); }).code(), Errc::ReadBeforeStart);
    rs.close();
    EXPECT_EQ(errorOf([&] { rs.close(); }).code(), Errc::RecordsetClosed);
}

// Stored charts: "chart 0", "chart 1"... with every third name null.
class ChartStoreTest : public StoreTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        open(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i + 1 < " +
            std::to_string(GetParam()) +
            ") insert into Int_Velmorant (name, sunsign, sundeg, sunmin) select case when i % 3 = 2 then null"
            " else 'chart ' || i end, 1 + i % 12, '7', '59' from n where " +
            std::to_string(GetParam()) + " > 0");
    }

    static std::string expectedName(int i) { return i % 3 == 2 ? "" : "chart " + std::to_string(i); }

    static store::NewChart chart(const std::string& name, std::optional<store::BirthData> birth = {}) {
        return {name, {{{5, "0", "59"}, {2, "24", "30"}, {12, "29", "0"}, {1, "7", "7"}}}, std::move(birth)};
    }
};

TEST_P(ChartStoreTest, TheIndexListsEveryChartInTableOrder) {
    // An index on the names (a file made elsewhere may have one) must not reorder the list.
    con.execute("create index by_name on Int_Velmorant (name desc)");
    const store::ChartIndex index = store::ChartIndex::read(con);
    ASSERT_EQ(index.size(), static_cast<std::size_t>(GetParam()));
    for (int i = 0; i < GetParam(); ++i)
        ASSERT_EQ(index.name(static_cast<std::size_t>(i)), expectedName(i)) << i;
}

TEST_P(ChartStoreTest, TheRecordsetReadsEachChartByItsListPosition) {
    const auto file = store::FileStore::openFile(path);
    store::ChartRecordset rs;
    rs.open(*file);
    EXPECT_EQ(rs.eof(), GetParam() == 0);
    for (const int i : {0, GetParam() / 2, GetParam() - 1}) {
        if (i < 0 || i >= GetParam())
            continue;
        SCOPED_TRACE(i);
        rs.moveFirst();
        rs.move(i);
        EXPECT_EQ(rs.field("name").toText(), expectedName(i));
        EXPECT_EQ(rs.field(store::kFirstPositionOrdinal).toInt16(), 1 + i % 12);
        EXPECT_EQ(rs.field("sunmin").toText(), "59");
    }
    rs.moveFirst();
    rs.move(GetParam());
    EXPECT_TRUE(rs.eof());
}

// The same charts, at the sizes that have one to remove.
class ListedChartTest : public ChartStoreTest {};

TEST_P(ListedChartTest, AChartRemovedOrReplacedAfterListingIsGoneNotAnother) {
    const auto file = store::FileStore::openFile(path);
    store::ChartRecordset rs;
    rs.open(*file);
    const int last = GetParam() - 1;
    // The last key is taken again by the next chart stored once its own chart is removed.
    testing_support::runSql(path,
                            "delete from Int_Velmorant where rowid = (select max(rowid) from Int_Velmorant);"
                            "insert into Int_Velmorant (name, sunsign) values ('newcomer', 3)");
    rs.moveFirst();
    rs.move(last);
    EXPECT_EQ(errorOf([&] { rs.field(store::kFirstPositionOrdinal); }).code(), Errc::ChartGone);
}

TEST_P(ChartStoreTest, ASaveTestsTheNameInsideItsWriteAndListsTheNamesAfterIt) {
    EXPECT_FALSE(store::isNameStored(con, "Asha"));
    const store::SaveResult saved = store::saveChart(con, chart("Asha"));
    ASSERT_TRUE(saved.saved);
    ASSERT_EQ(saved.names->size(), static_cast<std::size_t>(GetParam()) + 1);
    EXPECT_EQ(saved.names->name(saved.names->size() - 1), "Asha");
    EXPECT_EQ(queryColumn(path, "select name || sunsign || typeof(sunsign) || sundeg || sunmin || amksign || "
                                "amkdeg || amkmin from Int_Velmorant where name = 'Asha'"),
              std::vector<std::string>{"Asha5integer059177"});

    EXPECT_TRUE(store::isNameStored(con, "Asha"));
    EXPECT_FALSE(store::isNameStored(con, "asha"));
    EXPECT_FALSE(store::isNameStored(con, "Asha "));
    EXPECT_FALSE(store::saveChart(con, chart("Asha")).saved) << "stored once only";
    EXPECT_EQ(queryColumn(path, "select count(*) from Int_Velmorant where name = 'Asha'"),
              std::vector<std::string>{"1"});
}

TEST_P(ChartStoreTest, BirthDataIsKeptWithItsChartAndAnOlderFileGetsItsTable) {
    con.execute("drop table birth_data"); // a file from before birth data
    store::saveChart(con, chart("no birth"));
    EXPECT_FALSE(con.hasTable(store::kBirthTable)) << "no table until there is birth data to keep";

    const store::BirthData birth{"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"};
    const store::SaveResult saved = store::saveChart(con, chart("born", birth));
    const std::int64_t key = saved.names->rowid(saved.names->size() - 1);
    EXPECT_EQ(store::readBirthData(con, key), birth);
    EXPECT_EQ(store::readBirthData(con, key - 1), std::nullopt);

    // A file from before places has the table without their columns. They come with the first save
    // that has a place, and the older charts keep their birth data.
    testing_support::runSql(
        path,
        "alter table birth_data rename to older; create table birth_data (chart integer primary key,"
        " birth_date text not null, birth_time text not null, birth_zone text not null, ayanamsa text not"
        " null, karakas integer not null, node text not null); insert into birth_data select chart,"
        " birth_date, birth_time, birth_zone, ayanamsa, karakas, node from older; drop table older");
    EXPECT_FALSE(store::hasPlaceColumns(con));
    EXPECT_EQ(store::readBirthData(con, key), birth);
    store::BirthData placed = birth;
    placed.place = "Chennai, Tamil Nadu, India";
    placed.latitude = "13.0878 N";
    placed.longitude = "80.2785 E";
    const store::SaveResult withPlace = store::saveChart(con, chart("placed", placed));
    EXPECT_TRUE(store::hasPlaceColumns(con));
    EXPECT_EQ(store::readBirthData(con, withPlace.names->rowid(withPlace.names->size() - 1)), placed);
    EXPECT_EQ(store::readBirthData(con, key), birth);

    // Some other program removes the chart but not its birth data; the key comes back for a new chart.
    testing_support::runSql(path, "delete from Int_Velmorant where rowid = " + std::to_string(key));
    testing_support::runSql(path, "delete from Int_Velmorant where name = 'placed'");
    const store::SaveResult again = store::saveChart(con, chart("reborn"));
    ASSERT_EQ(again.names->rowid(again.names->size() - 1), key);
    EXPECT_EQ(store::readBirthData(con, key), std::nullopt) << "a new chart never inherits birth data";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChartStoreTest, testing::Values(0, 1, 64, 65, 3000));
INSTANTIATE_TEST_SUITE_P(Sizes, ListedChartTest, testing::Values(1, 64, 65, 3000));

} // namespace
