// "Save" and recall on a fake window over a real database.
#include "store/ChartIndex.h"
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <functional>

using testing_support::FakeWindow;
using testing_support::Rows;

namespace {

constexpr Rows kRows{{{5, 0, 59}, {2, 24, 30}, {12, 29, 0}, {1, 7, 7}}};

class SaveRecallTest : public testing_support::FormOnDatabase {};

struct RefusalCase {
    const char* what;
    std::string name;
    std::function<void(FakeWindow&)> spoil;
    const char* message;
    int focusMoves;
};

TEST_F(SaveRecallTest, RefusalsComeInOrderAndStoreNothing) {
    start("insert into Int_Velmorant (name) values ('Asha')");
    const auto listed = db.rsrecords.names();
    const RefusalCase cases[] = {
        {"empty name, incomplete rows", "", [](FakeWindow& w) { w.signs[0].selected = 0; }, "Enter your Name",
         1},
        {"stored name with incomplete rows", "Asha", [](FakeWindow& w) { w.signs[2].selected = -1; },
         "This record already exists!", 0},
        {"Sun degrees and Moon sign missing", "Ravi",
         [](FakeWindow& w) { w.degrees[0].selected = 0, w.signs[1].selected = 0; }, "Enter the sign of Moon",
         0},
        {"only the AmK minutes missing", "Ravi", [](FakeWindow& w) { w.minutes[3].selected = -1; },
         "Enter the minutes of AmK", 0},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        window.messages.clear();
        window.name.focusCount = 0;
        window.name.value = c.name;
        window.chooseAll(kRows);
        c.spoil(window);
        run(&form::MainForm::cmd_save_Click);
        EXPECT_EQ(window.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(window.name.focusCount, c.focusMoves);
        EXPECT_EQ(storedNames(), std::vector<std::string>{"Asha"});
        EXPECT_EQ(db.rsrecords.names(), listed) << "the stored charts were not read again";
    }
}

TEST_F(SaveRecallTest, TheFirstSaveShowsTheListWithNothingSelected) {
    start();
    ASSERT_FALSE(window.names.visible);
    ASSERT_FALSE(window.clickToOpen.visible);
    window.whileMessageOpen = [this](const std::string&) {
        EXPECT_TRUE(window.names.entries().empty()) << "the list shows the old names while the box is open";
    };
    save("Asha", kRows);
    EXPECT_EQ(window.messages, std::vector<std::string>{"Your Record Has Been Saved"});
    EXPECT_TRUE(window.names.visible);
    EXPECT_TRUE(window.clickToOpen.visible);
    EXPECT_EQ(window.names.entries(), std::vector<std::string>{"Asha"});
    EXPECT_EQ(window.names.selected, -1);
    EXPECT_EQ(window.shownRows(), kRows) << "the form keeps what was chosen";
}

TEST_F(SaveRecallTest, SavingWithAnEntrySelectedSelectsItAgainAndRecallsIt) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, akdeg,"
          " akmin, amksign, amkdeg, amkmin) values ('Ravi', 3, '1', '2', 4, '5', '6', 7, '8', '9', 10, '11', "
          "'12'),"
          " ('Meera', 1, '0', '0', 1, '0', '0', 1, '0', '0', 1, '0', '0')");
    select(0);
    save("Kavya", kRows);
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Ravi", "Meera", "Kavya"}));
    EXPECT_EQ(window.names.selected, 0);
    EXPECT_EQ(window.name.value, "Ravi");
    EXPECT_EQ(window.shownRows(), (Rows{{{3, 1, 2}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}}));
    EXPECT_EQ(storedNames().back(), "Kavya");
}

TEST_F(SaveRecallTest, RecallGoesByPositionNeverByNameAndComputesNothing) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin) values ('Twin', 1, '1', '1'),"
          " ('Other', 2, '2', '2'), ('Twin', 3, '3', '3')");
    window.tithi[0].text = "kept";
    for (int entry : {0, 2, 1, 1}) {
        SCOPED_TRACE(entry);
        window.signs[0].selected = -1;
        select(entry);
        EXPECT_EQ(window.signs[0].selected, entry + 1);
        EXPECT_EQ(window.degrees[0].text(), std::to_string(entry + 1));
    }
    EXPECT_EQ(window.tithi[0].text, "kept");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(SaveRecallTest, HostileNamesAreStoredAndRecalledExactly) {
    start();
    const std::string names[] = {"O'Brien\"; drop table Int_Velmorant; --",
                                 "%_*?",
                                 "नमस्ते 🌕",
                                 "\u05e9\u05dc\u05d5\u05dd \u0627\u0644\u0633\u0644\u0627\u0645",
                                 std::string(10000, 'n'),
                                 "line\nbreak"};
    for (const std::string& name : names)
        save(name, kRows);
    EXPECT_EQ(storedNames(), std::vector<std::string>(std::begin(names), std::end(names)));
    for (std::size_t entry = 0; entry < std::size(names); ++entry) {
        window.name.value.clear();
        select(static_cast<int>(entry));
        EXPECT_EQ(window.name.value, names[entry]);
        EXPECT_TRUE(window.name.enabled);
    }
}

TEST_F(SaveRecallTest, DamagedRowsLoadWhatCanBeLoaded) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, akdeg,"
          " akmin, amksign, amkdeg, amkmin) values"
          " (null, 13, '07', null, null, 'x', '59', 'Leo', '3', '3', 0, '29', '0')");
    const std::string before = testing_support::fileBytes(path);
    window.chooseAll(kRows);
    select(0);
    EXPECT_EQ(window.name.value, "");
    EXPECT_EQ(window.shownRows(), (Rows{{{-1, -2, -2}, {-1, -2, 59}, {-1, 3, 3}, {0, 29, 0}}}));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(testing_support::fileBytes(path), before);
}

TEST_F(SaveRecallTest, AChartSavedByAnotherCopyCountsAsStored) {
    start();
    testing_support::runSql(path, "insert into Int_Velmorant (name) values ('Asha')");
    save("Asha", kRows);
    EXPECT_EQ(window.messages, std::vector<std::string>{"This record already exists!"});
    EXPECT_EQ(storedNames(), std::vector<std::string>{"Asha"});
}

} // namespace
