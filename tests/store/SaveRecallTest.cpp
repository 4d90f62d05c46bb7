// "Save" and recall from the list of stored names, on an in-memory window over a real database.
#include "store/AlmanacDatabase.h"
#include "store/Charts.h"
#include "support/Errors.h"
#include "support/FakeForm.h"
#include "support/TempDir.h"
#include "support/WindowOnDatabase.h"

#include <gtest/gtest.h>

using testing_support::FakeForm;
using testing_support::queryColumn;

namespace {

using Rows = std::array<std::array<int, 3>, 4>;
constexpr Rows kRows{{{5, 0, 59}, {2, 24, 30}, {12, 29, 0}, {1, 7, 7}}};

class SaveRecallTest : public testing_support::WindowOnDatabase {
protected:
    void save(const std::string& name, const Rows& rows = kRows) {
        form.name.value = name;
        form.chooseAll(rows);
        store::saveChart(form, db);
    }

    std::vector<std::string> storedNames() {
        return queryColumn(path, "select name from Int_Velmorant order by rowid");
    }

    void select(int entry) { form.names.setListIndex(entry); }

    // What the twelve selectors show, as {sign, degree, minute} positions.
    Rows shownRows() const {
        Rows rows{};
        for (std::size_t row = 0; row < 4; ++row)
            rows[row] = {form.signs[row].selected, form.degrees[row].selected - 1,
                         form.minutes[row].selected - 1};
        return rows;
    }
};

struct RefusalCase {
    const char* what;
    std::string name;
    std::function<void(FakeForm&)> spoil;
    const char* message;
    int focusMoves;
};

TEST_F(SaveRecallTest, RefusalsComeInOrderAndStoreNothing) {
    start("insert into Int_Velmorant (name) values ('Asha')");
    const RefusalCase cases[] = {
        {"empty name, incomplete rows", "", [](FakeForm& f) { f.signs[0].selected = 0; }, "Enter your Name",
         1},
        {"stored name with incomplete rows", "Asha", [](FakeForm& f) { f.signs[2].selected = -1; },
         "This record already exists!", 0},
        {"Sun degrees and Moon sign missing", "Ravi",
         [](FakeForm& f) { f.degrees[0].selected = 0, f.signs[1].selected = 0; }, "Enter the sign of Moon",
         0},
        {"only the AmK minutes missing", "Ravi", [](FakeForm& f) { f.minutes[3].selected = -1; },
         "Enter the minutes of AmK", 0},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        form.messages.clear();
        form.name.focusCount = 0;
        form.name.value = c.name;
        form.chooseAll(kRows);
        c.spoil(form);
        store::saveChart(form, db);
        EXPECT_EQ(form.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(form.name.focusCount, c.focusMoves);
        EXPECT_EQ(storedNames(), std::vector<std::string>{"Asha"});
        EXPECT_EQ(form.names.entries, std::vector<std::string>{"Asha"});
    }
}

TEST_F(SaveRecallTest, StoresTheSelectionsAsTheyStand) {
    start();
    save("Asha");
    EXPECT_EQ(form.messages, std::vector<std::string>{"Your Record Has Been Saved"});
    EXPECT_EQ(
        queryColumn(path,
                    "select name || '|' || sunsign || '|' || typeof(sunsign) || '|' || sundeg || '|' ||"
                    " sunmin || '|' || monsign || '|' || mondeg || '|' || monmin || '|' || aksign || '|' ||"
                    " akdeg || '|' || akmin || '|' || amksign || '|' || amkdeg || '|' || amkmin"
                    " from Int_Velmorant"),
        std::vector<std::string>{"Asha|5|integer|0|59|2|24|30|12|29|0|1|7|7"});
}

TEST_F(SaveRecallTest, TheFirstSaveShowsTheListWithNothingSelected) {
    start();
    ASSERT_FALSE(form.names.visible);
    form.whileMessageOpen = [this](const std::string&) {
        EXPECT_TRUE(form.names.entries.empty()) << "the list still shows the old names while the box is open";
    };
    save("Asha");
    EXPECT_TRUE(form.names.visible);
    EXPECT_TRUE(form.clickToOpen.visible);
    EXPECT_EQ(form.names.entries, std::vector<std::string>{"Asha"});
    EXPECT_EQ(form.names.selected, -1);
    EXPECT_EQ(form.name.value, "Asha");
    EXPECT_EQ(shownRows(), kRows) << "the form keeps what was chosen";
}

TEST_F(SaveRecallTest, NamesDifferingOnlyInCaseOrBlanksAreNewRecords) {
    start();
    for (const char* name : {"Asha", "asha", "Asha ", " Asha", "   "})
        save(name);
    save("Asha");
    EXPECT_EQ(form.messages.back(), "This record already exists!");
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Asha", "asha", "Asha ", " Asha", "   "}));
}

TEST_F(SaveRecallTest, SavingWithAnEntrySelectedSelectsItAgainAndRecallsIt) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, akdeg, "
          "akmin,"
          " amksign, amkdeg, amkmin) values ('Ravi', 3, '1', '2', 4, '5', '6', 7, '8', '9', 10, '11', '12'),"
          " ('Meera', 1, '0', '0', 1, '0', '0', 1, '0', '0', 1, '0', '0')");
    select(0);
    save("Kavya");
    EXPECT_EQ(form.names.entries, (std::vector<std::string>{"Ravi", "Meera", "Kavya"}));
    EXPECT_EQ(form.names.selected, 0);
    EXPECT_EQ(form.name.value, "Ravi");
    EXPECT_EQ(shownRows(), (Rows{{{3, 1, 2}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}}));
    EXPECT_EQ(storedNames().back(), "Kavya");
}

TEST_F(SaveRecallTest, RecallGoesByPositionNeverByName) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin) values ('Twin', 1, '1', '1'), ('Other', "
          "2, '2', '2'),"
          " ('Twin', 3, '3', '3')");
    form.tithi[0].text = "kept";
    for (int entry : {0, 2, 1}) {
        SCOPED_TRACE(entry);
        select(entry);
        EXPECT_EQ(form.signs[0].selected, entry + 1);
        EXPECT_EQ(form.degrees[0].text(), std::to_string(entry + 1));
    }
    EXPECT_EQ(form.tithi[0].text, "kept") << "recall computes nothing";
    EXPECT_TRUE(form.messages.empty());
}

TEST_F(SaveRecallTest, HostileNamesAreStoredAndRecalledExactly) {
    start();
    const std::string names[] = {"O'Brien\"; drop table Int_Velmorant; --",
                                 "%_*?",
                                 "नमस्ते 🌕",
                                 "\u05e9\u05dc\u05d5\u05dd \u0627\u0644\u0633\u0644\u0627\u0645",
                                 std::string(10000, 'n'),
                                 "tab\there"};
    for (const std::string& name : names)
        save(name);
    EXPECT_EQ(storedNames(), std::vector<std::string>(std::begin(names), std::end(names)));
    for (std::size_t entry = 0; entry < std::size(names); ++entry) {
        form.name.value.clear();
        select(static_cast<int>(entry));
        EXPECT_EQ(form.name.value, names[entry]);
        EXPECT_TRUE(form.name.enabled);
    }
}

TEST_F(SaveRecallTest, DamagedRowsLoadWhatCanBeLoaded) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, akdeg, "
          "akmin,"
          " amksign, amkdeg, amkmin) values"
          " (null, 13, '07', null, null, 'x', '59', 'Leo', '3', '3', 0, '29', '0')");
    const std::string before = testing_support::fileBytes(path);
    form.chooseAll(kRows);
    select(0);
    EXPECT_EQ(form.name.value, "");
    EXPECT_EQ(shownRows(), (Rows{{{-1, -2, -2}, {-1, -2, 59}, {-1, 3, 3}, {0, 29, 0}}}));
    EXPECT_TRUE(form.messages.empty());
    EXPECT_EQ(testing_support::fileBytes(path), before);
}

TEST_F(SaveRecallTest, RecallWithNothingSelectedDoesNothing) {
    start("insert into Int_Velmorant (name) values ('Asha')");
    form.name.value = "typed";
    store::recallChart(form, db);
    EXPECT_EQ(form.name.value, "typed");
}

TEST_F(SaveRecallTest, AChartSavedByAnotherCopyCountsAsStored) {
    start();
    store::AlmanacDatabase other;
    other.con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
    FakeForm otherForm;
    store::loadForm(otherForm, other);
    otherForm.name.value = "Asha";
    otherForm.chooseAll(kRows);
    store::saveChart(otherForm, other);

    save("Asha");
    EXPECT_EQ(form.messages, std::vector<std::string>{"This record already exists!"});
    EXPECT_EQ(storedNames(), std::vector<std::string>{"Asha"});
}

TEST_F(SaveRecallTest, ASaveTheFileRefusesFailsAndStoresNothing) {
    start("insert into Int_Velmorant (name) values ('kept')");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const std::string before = testing_support::fileBytes(path);
    const std::string problem = testing_support::asUnprivilegedUser([&]() -> std::string {
        store::AlmanacDatabase readOnly;
        readOnly.con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
        FakeForm f;
        store::loadForm(f, readOnly);
        f.name.value = "new";
        f.chooseAll(kRows);
        try {
            store::saveChart(f, readOnly);
        } catch (const store::Error& e) {
            return e.code() == store::Errc::WriteRefused && f.messages.empty() ? "" : e.what();
        }
        return "the save went through";
    });
    EXPECT_EQ(problem, "");
    EXPECT_EQ(testing_support::fileBytes(path), before);
}

} // namespace
