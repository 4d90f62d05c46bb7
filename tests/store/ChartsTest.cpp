// The window's load and shutdown, saving and recalling stored charts: the handlers on an in-memory
// window over a real database file.
#include "store/Charts.h"

#include "almanac/Calculation.h"
#include "store/AlmanacDatabase.h"
#include "support/Errors.h"
#include "support/FakeForm.h"
#include "support/TempDir.h"
#include "support/WindowOnDatabase.h"

#include <gtest/gtest.h>

using store::Errc;
using testing_support::errorOf;
using testing_support::FakeForm;
using testing_support::queryColumn;

namespace {

using ChartsTest = testing_support::WindowOnDatabase;

struct LoadCase {
    const char* what;
    const char* sql;
    std::vector<std::string> listed;
};

TEST(LoadForm, ListsStoredNamesInStoredOrder) {
    const LoadCase cases[] = {
        {"no stored charts", "", {}},
        {"B, A, B: nothing sorted or merged",
         "insert into Int_Velmorant (name) values ('B'), ('A'), ('B')",
         {"B", "A", "B"}},
        {"a name left empty by another program",
         "insert into Int_Velmorant (name) values (null), ('x'), ('')",
         {"", "x", ""}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TempDir dir;
        testing_support::makeDatabase(dir / "velmorant.mdb", c.sql);
        store::AlmanacDatabase db;
        db.con.open("Provider=Velmorant.SQLite;Data Source=" + (dir / "velmorant.mdb").string());
        FakeForm form;
        store::loadForm(form, db);
        EXPECT_EQ(form.names.entries, c.listed);
        EXPECT_EQ(form.names.visible, !c.listed.empty());
        EXPECT_EQ(form.clickToOpen.visible, !c.listed.empty());
        EXPECT_EQ(form.names.selected, -1);
        EXPECT_FALSE(form.captions[7].visible);
        EXPECT_FALSE(form.nakshatra[1].visible);
        EXPECT_TRUE(db.rsrecords.eof());
        EXPECT_TRUE(form.messages.empty());
    }
}

TEST_F(ChartsTest, ExitClosesTheSixRecordsetsInItsOwnOrderAndKeepsTheConnection) {
    start();
    using Member = store::Recordset store::AlmanacDatabase::*;
    const Member order[] = {&store::AlmanacDatabase::rsnakshatra, &store::AlmanacDatabase::rsyoga,
                            &store::AlmanacDatabase::rskarana,    &store::AlmanacDatabase::rstithi,
                            &store::AlmanacDatabase::rsrecords,   &store::AlmanacDatabase::rsrashi};
    // Closing one beforehand stops the shutdown at that one: those before it are closed by then, those
    // after it are not.
    for (std::size_t stop = 0; stop < std::size(order); ++stop) {
        SCOPED_TRACE(stop);
        for (Member m : order)
            if (!(db.*m).isOpen())
                (db.*m).open("select * from rashi", db.con);
        (db.*order[stop]).close();
        EXPECT_EQ(errorOf([&] { store::closeRecordsets(db); }).code(), Errc::RecordsetClosed);
        for (std::size_t i = 0; i < std::size(order); ++i)
            EXPECT_EQ((db.*order[i]).isOpen(), i > stop) << i;
    }
    EXPECT_TRUE(db.con.isOpen());
}

TEST(LoadFormFailures, AMissingTableStopsTheLoadThere) {
    testing_support::TempDir dir;
    testing_support::makeDatabase(dir / "velmorant.mdb", "drop table yoga");
    store::AlmanacDatabase db;
    db.con.open("Provider=Velmorant.SQLite;Data Source=" + (dir / "velmorant.mdb").string());
    FakeForm form;
    const store::Error error = errorOf([&] { store::loadForm(form, db); });
    EXPECT_EQ(error.code(), Errc::MissingTable);
    EXPECT_NE(std::string(error.what()).find("yoga"), std::string::npos);
    EXPECT_TRUE(db.rstithi.isOpen());
    EXPECT_FALSE(db.rskarana.isOpen());
    EXPECT_FALSE(db.rsrecords.isOpen());
}

TEST_F(ChartsTest, AShortReferenceTableFailsTheLookupThatNeedsAMissingRow) {
    start("delete from karana where id > 50");
    form.name.value = "Asha";
    form.chooseAll({{{1, 0, 0}, {12, 29, 59}, {1, 0, 0}, {1, 0, 0}}}); // karana 59 outside, 0 inside
    store::RecordsetTables tables(db);
    const store::Error error = errorOf([&] { almanac::calculate(form, tables); });
    EXPECT_EQ(error.code(), Errc::ShortTable);
    EXPECT_STREQ(error.what(), "The table karana has fewer rows than the almanac needs.");
    EXPECT_EQ(form.yoga[0].text, "Vaidhriti (Jupiter) Deity - Diti")
        << "captions set before the failure stay";
}

TEST_F(ChartsTest, CalculateNamesFromTheRealTables) {
    start();
    form.name.value = "Asha";
    form.chooseAll({{{1, 0, 0}, {2, 24, 30}, {1, 0, 0}, {2, 24, 30}}});
    store::RecordsetTables tables(db);
    almanac::calculate(form, tables);
    EXPECT_EQ(form.results(),
              (std::vector<std::string>{"Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)",
                                        "Mrigashira", "Shobhana (Sun) Deity - Brihaspati", "Balava",
                                        "Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)",
                                        "Mrigashira", "Shobhana (Sun) Deity - Brihaspati", "Balava"}));
}

} // namespace
