// The store over a real file: values and their conversions, statements and transactions, the reference
// tables read whole; and the stored charts through the store's interface, in a file and on a server
// alike. The chart suite runs at several table sizes, since nothing the store does may depend on how many
// charts there are.
#include "store/ChartStore.h"

#include "safety/Process.h"
#include "store/Charts.h"
#include "store/Connection.h"
#include "store/Error.h"
#include "store/FileStore.h"
#include "store/Recordset.h"
#include "store/Transaction.h"
#include "support/Errors.h"
#include "support/PgCluster.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <tuple>
#include <type_traits>
#include <unistd.h>

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

// The stored charts, through the store's interface, in either engine: a database file, and a database
// on the test program's own PostgreSQL server. What one does the other must do the same way.
enum class Engine { File, Server };

std::string engineName(Engine engine) {
    return engine == Engine::File ? "File" : "Server";
}

// A fresh store of one engine, and SQL run outside the store as another program would run it (the SQL
// the tests use is the same for both).
struct StoreUnderTest {
    explicit StoreUnderTest(Engine kind)
        : engine(kind)
        , location(kind == Engine::File ? (dir / "velmorant.mdb").string()
                                        : testing_support::PgCluster::shared().createStore()) {
        if (engine == Engine::File)
            testing_support::makeDatabase(location);
    }

    std::unique_ptr<store::ChartStore> open() const { return store::openStore(location); }
    void runSql(std::string_view sql) const {
        if (engine == Engine::File)
            testing_support::runSql(location, sql);
        else
            testing_support::PgClient(location).execute(sql);
    }
    std::vector<std::string> query(std::string_view sql) const {
        return engine == Engine::File ? queryColumn(location, sql)
                                      : testing_support::PgClient(location).column(sql);
    }

    Engine engine;
    testing_support::TempDir dir;
    std::string location;
};

store::NewChart chart(const std::string& name, std::optional<store::BirthData> birth = {}) {
    return {name, {{{5, "0", "59"}, {2, "24", "30"}, {12, "29", "0"}, {1, "7", "7"}}}, std::move(birth)};
}

const store::BirthData kBirth{"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"};

std::vector<std::string> namesOf(const store::ChartIndex& index) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < index.size(); ++i)
        names.emplace_back(index.name(i));
    return names;
}

// Stored charts: "chart 0", "chart 1"... with every third name null, at several table sizes.
class SizedChartTest : public testing::TestWithParam<std::tuple<Engine, int>> {
protected:
    void SetUp() override {
        const std::string count = std::to_string(size());
        db.runSql(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i + 1 < " + count +
            ") insert into Int_Velmorant (name, sunsign, sundeg, sunmin) select case when i % 3 = 2 then"
            " null else 'chart ' || i end, 1 + i % 12, '7', '59' from n where " +
            count + " > 0");
        store = db.open();
    }

    int size() const { return std::get<1>(GetParam()); }
    static std::string expectedName(int i) { return i % 3 == 2 ? "" : "chart " + std::to_string(i); }

    StoreUnderTest db{std::get<0>(GetParam())};
    std::unique_ptr<store::ChartStore> store;
};

TEST_P(SizedChartTest, TheIndexListsEveryChartInTheOrderStored) {
    // An index on the names (a database made elsewhere may have one) must not reorder the list.
    db.runSql("create index by_name on Int_Velmorant (name desc)");
    const store::ChartIndex index = store->readIndex();
    ASSERT_EQ(index.size(), static_cast<std::size_t>(size()));
    for (int i = 0; i < size(); ++i)
        ASSERT_EQ(index.name(static_cast<std::size_t>(i)), expectedName(i)) << i;
}

TEST_P(SizedChartTest, TheRecordsetReadsEachChartByItsListPosition) {
    store::ChartRecordset rs;
    rs.open(*store);
    EXPECT_EQ(rs.eof(), size() == 0);
    for (const int i : {0, size() / 2, size() - 1}) {
        if (i < 0 || i >= size())
            continue;
        SCOPED_TRACE(i);
        rs.moveFirst();
        rs.move(i);
        EXPECT_EQ(rs.field("name").toText(), expectedName(i));
        EXPECT_EQ(rs.field(store::kFirstPositionOrdinal).toInt16(), 1 + i % 12);
        EXPECT_EQ(rs.field("sunmin").toText(), "59");
    }
    rs.moveFirst();
    rs.move(size());
    EXPECT_TRUE(rs.eof());
}

// The same charts, at the sizes that have one to remove.
class ListedChartTest : public SizedChartTest {};

TEST_P(ListedChartTest, AChartRemovedOrReplacedAfterListingIsGoneNotAnother) {
    store::ChartRecordset rs;
    rs.open(*store);
    // A file gives the last key again to the next chart stored once its own chart is removed.
    db.runSql("delete from Int_Velmorant where id = (select max(id) from Int_Velmorant);"
              "insert into Int_Velmorant (name, sunsign) values ('newcomer', 3)");
    rs.moveFirst();
    rs.move(size() - 1);
    EXPECT_EQ(errorOf([&] { rs.field(store::kFirstPositionOrdinal); }).code(), Errc::ChartGone);
}

TEST_P(SizedChartTest, ASaveTestsTheNameInsideItsWriteAndListsTheChartLast) {
    EXPECT_FALSE(store->isNameStored("Asha"));
    ASSERT_TRUE(store->saveChart(chart("Asha")).saved);
    const store::ChartIndex names = store->readIndex();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(size()) + 1);
    EXPECT_EQ(names.name(names.size() - 1), "Asha");
    const store::Table row = store->readChart(names.rowid(names.size() - 1));
    EXPECT_EQ(row.columns(), (std::vector<std::string>{"id", "name", "sunsign", "sundeg", "sunmin", "monsign",
                                                       "mondeg", "monmin", "aksign", "akdeg", "akmin",
                                                       "amksign", "amkdeg", "amkmin"}));
    ASSERT_EQ(row.rowCount(), 1u);
    const std::vector<store::Value> values{"Asha", 5, "0", "59", 2, "24", "30", 12, "29", "0", 1, "7", "7"};
    for (std::size_t column = 1; column < row.columns().size(); ++column)
        EXPECT_EQ(row.at(0, column), values[column - 1]) << row.columns()[column] << ": typed as stored";

    EXPECT_TRUE(store->isNameStored("Asha"));
    EXPECT_FALSE(store->isNameStored("asha"));
    EXPECT_FALSE(store->isNameStored("Asha "));
    EXPECT_FALSE(store->saveChart(chart("Asha")).saved) << "stored once only";
    EXPECT_EQ(db.query("select count(*) from Int_Velmorant where name = 'Asha'"),
              std::vector<std::string>{"1"});
}

std::string sizedName(const testing::TestParamInfo<std::tuple<Engine, int>>& info) {
    return engineName(std::get<0>(info.param)) + "_" + std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizedChartTest,
                         testing::Combine(testing::Values(Engine::File, Engine::Server),
                                          testing::Values(0, 1, 64, 65, 3000)),
                         sizedName);
INSTANTIATE_TEST_SUITE_P(Sizes, ListedChartTest,
                         testing::Combine(testing::Values(Engine::File, Engine::Server),
                                          testing::Values(1, 64, 65, 3000)),
                         sizedName);

// Through the store's interface, each test on an empty store of each engine.
class ChartStoreTest : public testing::TestWithParam<Engine> {
protected:
    StoreUnderTest db{GetParam()};
    std::unique_ptr<store::ChartStore> store = db.open();
};

TEST_P(ChartStoreTest, TheReferenceTablesHoldTheFilesRows) {
    testing_support::TempDir dir;
    testing_support::makeDatabase(dir / "reference.mdb");
    const auto file = store::FileStore::openFile(dir / "reference.mdb");
    for (const char* name : {"tithi", "rashi", "nakshatra", "yoga", "karana"}) {
        SCOPED_TRACE(name);
        const store::Table expected = file->readTable(name);
        const store::Table table = store->readTable(name);
        ASSERT_EQ(table.columns(), expected.columns());
        ASSERT_EQ(table.rowCount(), expected.rowCount());
        for (std::size_t row = 0; row < table.rowCount(); ++row)
            for (std::size_t column = 0; column < table.columns().size(); ++column)
                ASSERT_EQ(table.at(row, column), expected.at(row, column)) << row << ", " << column;
    }
    EXPECT_EQ(errorOf([&] { store->readTable("planets"); }).code(), Errc::MissingTable);
}

TEST_P(ChartStoreTest, RenameAndDeleteFindTheChartByKeyAndNameAndTakeTheBirthDataAlong) {
    store->saveChart(chart("Asha", kBirth));
    const std::int64_t asha = *store->findChart("Asha");
    store->saveChart(chart("Ravi"));
    using store::Change;
    const struct {
        const char* what;
        std::function<Change()> change;
        Change expected;
    } steps[] = {
        {"to a stored name", [&] { return store->renameChart(asha, "Asha", "Ravi"); }, Change::NameTaken},
        {"under another name", [&] { return store->renameChart(asha, "Uma", "Lata"); }, Change::Gone},
        {"to its own name", [&] { return store->renameChart(asha, "Asha", "Asha"); }, Change::Done},
        {"renamed", [&] { return store->renameChart(asha, "Asha", "Uma"); }, Change::Done},
        {"deleted under its old name", [&] { return store->deleteChart(asha, "Asha"); }, Change::Gone},
    };
    for (const auto& step : steps)
        EXPECT_EQ(step.change(), step.expected) << step.what;
    EXPECT_EQ(namesOf(store->readIndex()), (std::vector<std::string>{"Uma", "Ravi"})) << "in its place";
    EXPECT_EQ(store->readBirthData(asha), kBirth);

    EXPECT_EQ(store->deleteChart(asha, "Uma"), Change::Done);
    EXPECT_EQ(store->deleteChart(asha, "Uma"), Change::Gone);
    EXPECT_EQ(store->renameChart(asha, "Uma", "Asha"), Change::Gone);
    EXPECT_EQ(store->readBirthData(asha), std::nullopt);
    EXPECT_EQ(store->findChart("Uma"), std::nullopt);
    EXPECT_EQ(db.query("select count(*) from birth_data"), std::vector<std::string>{"0"});
}

TEST_P(ChartStoreTest, AnImportKeepsTheFirstOfARepeatedNameAndNothingBeforeItsCommit) {
    store::BirthData later = kBirth;
    later.time = "06:05";
    store->saveChart(chart("kept", kBirth));
    {
        const auto import = store->beginImport(false);
        for (const char* name : {"kept", "new", "new"})
            import->add(chart(name));
        EXPECT_FALSE(db.open()->isNameStored("new")) << "not before the commit";
    }
    EXPECT_EQ(namesOf(store->readIndex()), std::vector<std::string>{"kept"}) << "no commit, nothing kept";
    {
        const auto import = store->beginImport(true);
        import->add(chart("kept", later));
        import->add(chart("kept"));
        import->add(chart("other"));
        const store::ImportOutcome outcome = import->commit();
        EXPECT_EQ(outcome.stored, 2u);
        EXPECT_EQ(outcome.repeated, std::vector<std::string>{"kept"});
        EXPECT_TRUE(outcome.skipped.empty());
    }
    {
        const auto import = store->beginImport(false);
        for (const char* name : {"new", "kept", "new", "newer"})
            import->add(chart(name));
        const store::ImportOutcome outcome = import->commit();
        EXPECT_EQ(outcome.stored, 2u);
        EXPECT_EQ(outcome.skipped, std::vector<std::string>{"kept"});
        EXPECT_EQ(outcome.repeated, std::vector<std::string>{"new"});
        ASSERT_TRUE(store->readChart(*store->findChart("new")).rowCount());
        store->deleteChart(*store->findChart("new"), "new");
        store->deleteChart(*store->findChart("newer"), "newer");
    }
    std::vector<std::pair<std::string, std::optional<store::BirthData>>> exported;
    store->forEachChart([&](const store::StoredChart& stored) {
        exported.emplace_back(stored.name, stored.birth);
        EXPECT_EQ(stored.positions[0], store::Value(5));
        EXPECT_EQ(stored.positions[11], store::Value("7"));
    });
    EXPECT_EQ(exported, (decltype(exported){{"kept", later}, {"other", std::nullopt}}));
}

TEST_P(ChartStoreTest, NamesOfQuotesSqlAndTenThousandCharactersComeBackByteForByte) {
    std::string longName;
    while (longName.size() < 17500)
        longName += "a\xC3\xA9'\xE0\xA4\xB2"; // a, é, ' and ल: four characters in seven bytes
    const std::vector<std::string> names{"O'Brien \"Bob\"", "x'); drop table Int_Velmorant; --",
                                         "$1 ? %s \\' \n\t;", longName};
    for (const std::string& name : names)
        ASSERT_TRUE(store->saveChart(chart(name)).saved) << name.substr(0, 40);
    EXPECT_EQ(namesOf(store->readIndex()), names);
    std::vector<std::string> exported;
    store->forEachChart([&](const store::StoredChart& stored) { exported.push_back(stored.name); });
    EXPECT_EQ(exported, names);

    for (const std::string& name : names) {
        const std::string renamed = name + "\xE2\x82\xAC"; // €
        const std::int64_t key = *store->findChart(name);
        EXPECT_EQ(store->readChart(key).at(0, 1), store::Value(name));
        EXPECT_FALSE(store->saveChart(chart(name)).saved);
        EXPECT_EQ(store->renameChart(key, name, renamed), store::Change::Done);
        EXPECT_EQ(store->findChart(renamed), key);
        EXPECT_FALSE(store->isNameStored(name));
    }
}

// Each writes one letter per round: 's' saved, 'd' found stored already.
void saveEachRound(const std::string& location, int go, int rounds) {
    const auto store = store::openStore(location);
    for (int round = 0; round < rounds; ++round) {
        char start = 0;
        if (::read(go, &start, 1) != 1)
            throw std::runtime_error("no go");
        const char outcome = store->saveChart(chart("race " + std::to_string(round))).saved ? 's' : 'd';
        if (::write(STDOUT_FILENO, &outcome, 1) != 1)
            throw std::runtime_error("cannot report a save");
    }
}

TEST_P(ChartStoreTest, TwoProcessesSavingOneNameAtOnceStoreItOnceAndTheOtherHearsSo) {
    constexpr int kRounds = 200;
    int go[2][2];
    ASSERT_EQ(::pipe(go[0]), 0);
    ASSERT_EQ(::pipe(go[1]), 0);
    testing_support::Child racers[2];
    for (int i = 0; i < 2; ++i)
        racers[i] = testing_support::startChild([&, i] { saveEachRound(db.location, go[i][0], kRounds); });
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_EQ(::write(go[0][1], "g", 1), 1);
        ASSERT_EQ(::write(go[1][1], "g", 1), 1);
        char outcome[2] = {};
        ASSERT_EQ(::read(racers[0].output, &outcome[0], 1), 1);
        ASSERT_EQ(::read(racers[1].output, &outcome[1], 1), 1);
        EXPECT_TRUE((outcome[0] == 's') != (outcome[1] == 's'))
            << "round " << round << ": " << outcome[0] << outcome[1];
    }
    for (auto& pipe : go)
        for (const int end : pipe)
            ::close(end);
    for (auto& racer : racers) {
        const testing_support::Finished ended = testing_support::waitFor(racer);
        EXPECT_TRUE(ended.exited && ended.status == 0);
    }
    EXPECT_EQ(db.query("select count(*) || ' ' || count(distinct name) from Int_Velmorant"),
              std::vector<std::string>{"200 200"});
}

TEST_P(ChartStoreTest, AnotherProcessesSaveIsHeardWithinASecondAndOwnSavesAreNot) {
    store->changedElsewhere();
    store->saveChart(chart("here"));
    EXPECT_FALSE(store->changedElsewhere());
    testing_support::Child other = testing_support::startChild([&] { db.open()->saveChart(chart("there")); });
    ASSERT_EQ(testing_support::waitFor(other).status, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    bool heard = false;
    while (!heard && std::chrono::steady_clock::now() < deadline) {
        heard = store->changedElsewhere();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(heard);
    EXPECT_FALSE(store->changedElsewhere()) << "heard once";
}

INSTANTIATE_TEST_SUITE_P(Engines, ChartStoreTest, testing::Values(Engine::File, Engine::Server),
                         [](const auto& engine) { return engineName(engine.param); });

// Files from before birth data and before places: what only a file can be.
class OlderFileTest : public StoreTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        open(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i + 1 < " +
            std::to_string(GetParam()) +
            ") insert into Int_Velmorant (name, sunsign, sundeg, sunmin) select case when i % 3 = 2 then null"
            " else 'chart ' || i end, 1 + i % 12, '7', '59' from n where " +
            std::to_string(GetParam()) + " > 0");
    }
};

TEST_P(OlderFileTest, BirthDataIsKeptWithItsChartAndAnOlderFileGetsItsTable) {
    con.execute("drop table birth_data"); // a file from before birth data
    store::saveChart(con, chart("no birth"));
    EXPECT_FALSE(con.hasTable(store::kBirthTable)) << "no table until there is birth data to keep";

    const store::BirthData birth{"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"};
    store::saveChart(con, chart("born", birth));
    const std::int64_t key = *store::findChart(con, "born");
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
    store::saveChart(con, chart("placed", placed));
    EXPECT_TRUE(store::hasPlaceColumns(con));
    EXPECT_EQ(store::readBirthData(con, *store::findChart(con, "placed")), placed);
    EXPECT_EQ(store::readBirthData(con, key), birth);

    // Some other program removes the chart but not its birth data; the key comes back for a new chart.
    testing_support::runSql(path, "delete from Int_Velmorant where rowid = " + std::to_string(key));
    testing_support::runSql(path, "delete from Int_Velmorant where name = 'placed'");
    store::saveChart(con, chart("reborn"));
    ASSERT_EQ(store::findChart(con, "reborn"), key);
    EXPECT_EQ(store::readBirthData(con, key), std::nullopt) << "a new chart never inherits birth data";
}

INSTANTIATE_TEST_SUITE_P(Sizes, OlderFileTest, testing::Values(0, 1, 64, 65, 3000));

} // namespace
