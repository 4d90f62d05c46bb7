// The recordset: reading rows in stored order, moving by position, reading and converting fields,
// adding rows; and each failure with its number.
#include "store/Recordset.h"

#include "store/Connection.h"
#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

using store::Errc;
using store::Recordset;
using store::Value;
using testing_support::errorOf;

namespace {

class RecordsetTest : public testing::Test {
protected:
    void SetUp() override {
        testing_support::makeDatabase(path);
        con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
    }

    // Every value of `column`, walking from the first row to the end.
    std::vector<std::string> walk(Recordset& rows, std::string_view column) {
        std::vector<std::string> values;
        if (!rows.eof())
            rows.moveFirst();
        while (!rows.eof()) {
            values.push_back(rows.field(column).toText());
            rows.moveNext();
        }
        return values;
    }

    testing_support::TempDir dir;
    std::filesystem::path path = dir / "velmorant.mdb";
    store::Connection con;
    Recordset rs;
};

TEST_F(RecordsetTest, DeliversRowsInStoredOrder) {
    testing_support::runSql(path, "insert into Int_Velmorant (name) values ('B'), ('A'), ('C'), ('A')");
    rs.open("select * from Int_Velmorant", con, 2, 3, -1);
    EXPECT_EQ(walk(rs, "name"), (std::vector<std::string>{"B", "A", "C", "A"}));
    EXPECT_TRUE(rs.eof());
    rs.close();
    rs.open("select * from Int_Velmorant", con);
    EXPECT_EQ(walk(rs, "name"), (std::vector<std::string>{"B", "A", "C", "A"})) << "every open alike";
}

TEST_F(RecordsetTest, AnEmptyTableStandsAtBothEnds) {
    rs.open("select * from Int_Velmorant", con);
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.bof());
    rs.moveFirst();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorOf([&] { rs.field("name"); }).code(), Errc::ReadAtEnd);
    EXPECT_EQ(errorOf([&] { rs.moveNext(); }).code(), Errc::MovePastEnd);
}

TEST_F(RecordsetTest, OpensOnTheFirstRow) {
    rs.open("select * from tithi", con);
    EXPECT_FALSE(rs.eof());
    EXPECT_FALSE(rs.bof());
    EXPECT_EQ(rs.field("tithi_name").toText(), "Shukla Pratipada");
}

TEST_F(RecordsetTest, MovesByPositionFromTheCurrentRow) {
    rs.open("select * from karana", con);
    struct Step {
        long from, by;
        const char* expected;
    };
    // Row 0 is Kimstughna; rows 1..56 repeat the seven movable karanas; 57..59 are the last three.
    const Step steps[] = {{0, 0, "Kimstughna"}, {0, 1, "Bava"},         {0, 7, "Vishti"},
                          {0, 57, "Shakuni"},   {0, 59, "Naga"},        {59, -2, "Shakuni"},
                          {10, 3, "Vanija"},    {30, -30, "Kimstughna"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.from << " by " << s.by);
        rs.moveFirst();
        rs.move(s.from);
        rs.move(s.by);
        EXPECT_EQ(rs.field("name").toText(), s.expected);
    }
}

TEST_F(RecordsetTest, StepsJustOutsideTheRowsButNoFurther) {
    rs.open("select * from rashi", con);
    rs.moveFirst();
    rs.move(-1);
    EXPECT_TRUE(rs.bof());
    EXPECT_FALSE(rs.eof());

    struct Failure {
        const char* what;
        std::function<void()> call;
        Errc code;
        int number;
    };
    const Failure failures[] = {
        {"read before the first row", [&] { rs.field("rashi_name"); }, Errc::ReadBeforeStart, 3022},
        {"move back from before the first row", [&] { rs.move(-1); }, Errc::MoveBeforeStart, 3024},
        {"move from the first row by -2", [&] { rs.moveFirst(), rs.move(-2); }, Errc::MoveBeforeStart, 3024},
        {"move from the first row past the end", [&] { rs.moveFirst(), rs.move(13); }, Errc::MovePastEnd,
         3023},
        {"read after the last row", [&] { rs.moveFirst(), rs.move(12), rs.field(1); }, Errc::ReadAtEnd, 3021},
        {"next after the last row", [&] { rs.moveFirst(), rs.move(12), rs.moveNext(); }, Errc::MovePastEnd,
         3023},
        {"a field that is not there", [&] { rs.moveFirst(), rs.field("name"); }, Errc::UnknownField, 3013},
        {"an ordinal that is not there", [&] { rs.moveFirst(), rs.field(2); }, Errc::UnknownField, 3013},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        const store::Error error = errorOf(f.call);
        EXPECT_EQ(error.code(), f.code);
        EXPECT_EQ(error.number(), f.number);
        EXPECT_NE(std::string(error.what()).find(error.code() == Errc::UnknownField ? "field" : "rashi"),
                  std::string::npos)
            << error.what();
    }
}

TEST_F(RecordsetTest, ReadsFieldsByNameInAnyCaseAndByOrdinal) {
    rs.open("select * from yoga", con);
    rs.move(2);
    EXPECT_EQ(rs.fieldCount(), 4);
    EXPECT_EQ(rs.field("NAME").toText(), "Ayushman");
    EXPECT_EQ(rs.field(1).toText(), "Ayushman");
    EXPECT_EQ(rs.field("lord").toText(), "Ketu");
    EXPECT_EQ(rs.field("Deity").toText(), "Chandra");
    EXPECT_EQ(rs.field(0).toText(), "3") << "the key column reads as its decimal text";
}

TEST_F(RecordsetTest, ConvertsFieldsToTextAndSmallWholeNumbers) {
    testing_support::runSql(
        path, "create table t (v); insert into t values (5), ('7'), (' 12 '), (-32768), (32767),"
              " (2.0), ('0'), (''), (null), ('abc'), (5.5), ('5.5'), (32768), (-40000), "
              " ('99999999999999999999'), (x'4142')");
    rs.open("select * from t", con);
    struct Expected {
        const char* text; // nullptr: toText throws NullValue
        int number;       // 0..: the 16-bit value; -1: NotWholeNumber; -2: NumberTooLarge; -3: NullValue
    };
    const Expected rows[] = {
        {"5", 5},    {"7", 7},    {" 12 ", 12},  {"-32768", -32768}, {"32767", 32767},
        {"2", 2},    {"0", 0},    {"", -1},      {nullptr, -3},      {"abc", -1},
        {"5.5", -1}, {"5.5", -1}, {"32768", -2}, {"-40000", -2},     {"99999999999999999999", -2},
        {"AB", -1}};
    for (const Expected& e : rows) {
        SCOPED_TRACE(e.text ? e.text : "null");
        const store::Field field = rs.field("v");
        if (e.text)
            EXPECT_EQ(field.toText(), e.text);
        else
            EXPECT_EQ(errorOf([&] { field.toText(); }).number(), 3031);
        if (e.number >= -32768 && e.number != -1 && e.number != -2 && e.number != -3)
            EXPECT_EQ(field.toInt16(), e.number);
        else
            EXPECT_EQ(errorOf([&] { field.toInt16(); }).number(), e.number == -1   ? 3032
                                                                  : e.number == -2 ? 3033
                                                                                   : 3031);
        rs.moveNext();
    }
    EXPECT_TRUE(rs.eof());
}

TEST_F(RecordsetTest, AddsARowThatIsInTheFileAtOnce) {
    rs.open("select * from Int_Velmorant", con);
    const std::array<std::string_view, 4> columns{"name", "sunsign", "sundeg", "sunmin"};
    const std::array<Value, 4> values{Value("Asha"), Value(std::int16_t{5}), Value("0"), Value("59")};
    rs.addNew(columns, values);

    // Seen by another connection straight away, with no further call.
    EXPECT_EQ(testing_support::queryColumn(
                  path, "select name || '|' || sunsign || '|' || typeof(sunsign) || '|' ||"
                        " sundeg || '|' || sunmin || '|' || quote(monsign) from Int_Velmorant"),
              std::vector<std::string>{"Asha|5|integer|0|59|NULL"});
    // And the recordset stands on it.
    EXPECT_EQ(rs.field("name").toText(), "Asha");
    EXPECT_EQ(rs.field(2).toInt16(), 5);
}

TEST_F(RecordsetTest, StoresAnyTextExactlyAndNeverAsSql) {
    rs.open("select * from Int_Velmorant", con);
    const std::string hostile[] = {"Robert'); drop table Int_Velmorant; --",
                                   "\"quoted\"",
                                   "  ",
                                   "",
                                   "नमस्ते 🌕 שלום",
                                   std::string(10000, 'x')};
    const std::array<std::string_view, 1> columns{"name"};
    for (const std::string& name : hostile) {
        const std::array<Value, 1> values{Value(name)};
        rs.addNew(columns, values);
    }
    rs.close();
    rs.open("select * from Int_Velmorant", con);
    EXPECT_EQ(walk(rs, "name"), std::vector<std::string>(std::begin(hostile), std::end(hostile)));
}

TEST_F(RecordsetTest, RefusesWhatItCannotDo) {
    struct Failure {
        const char* what;
        std::function<void()> call;
        Errc code;
        int number;
        const char* mentions;
    };
    const std::array<std::string_view, 1> unknown{"nickname"};
    const std::array<Value, 1> one{Value("x")};
    const Failure failures[] = {
        {"a missing table",
         [&] {
             Recordset r;
             r.open("select * from panchang", con);
         },
         Errc::MissingTable, 3011, "panchang"},
        {"a closed recordset",
         [&] {
             Recordset r;
             r.eof();
         },
         Errc::RecordsetClosed, 3012, "not open"},
        {"closing twice",
         [&] {
             Recordset r;
             r.open("select * from tithi", con);
             r.close();
             r.close();
         },
         Errc::RecordsetClosed, 3012, "tithi"},
        {"an unknown column",
         [&] {
             Recordset r;
             r.open("select * from Int_Velmorant", con);
             r.addNew(unknown, one);
         },
         Errc::UnknownField, 3013, "nickname"},
        {"adding to a query",
         [&] {
             Recordset r;
             r.open("select name from Int_Velmorant where 0", con);
             r.addNew(unknown, one);
         },
         Errc::NotUpdatable, 3041, "select name"},
        {"a closed connection",
         [&] {
             store::Connection closed;
             Recordset r;
             r.open("select * from tithi", closed);
         },
         Errc::ConnectionClosed, 3007, "not open"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        const store::Error error = errorOf(f.call);
        EXPECT_EQ(error.code(), f.code);
        EXPECT_EQ(error.number(), f.number);
        EXPECT_NE(std::string(error.what()).find(f.mentions), std::string::npos) << error.what();
    }
}

TEST_F(RecordsetTest, AWriteTheFileRefusesIsReportedAndStoresNothing) {
    testing_support::runSql(path, "insert into Int_Velmorant (name) values ('kept')");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const std::string before = testing_support::fileBytes(path);
    const std::string problem = testing_support::asUnprivilegedUser([&]() -> std::string {
        store::Connection readOnly;
        readOnly.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
        Recordset r;
        r.open("select * from Int_Velmorant", readOnly);
        const std::array<std::string_view, 1> columns{"name"};
        const std::array<Value, 1> values{Value("new")};
        try {
            r.addNew(columns, values);
        } catch (const store::Error& e) {
            return e.code() == Errc::WriteRefused && e.number() == 3042 ? "" : e.what();
        }
        return "the write was accepted";
    });
    EXPECT_EQ(problem, "");
    EXPECT_EQ(testing_support::fileBytes(path), before);
}

} // namespace
