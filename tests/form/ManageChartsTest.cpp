// Renaming, deleting, exporting and importing stored charts, on a fake window over a real database.
#include "store/ChartIndex.h"
#include "store/FileStore.h"
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using testing_support::queryColumn;

namespace {

constexpr testing_support::Rows kRows{{{5, 0, 59}, {2, 24, 30}, {12, 29, 0}, {1, 7, 7}}};
const store::BirthData kBirth{
    "1990-05-17", "14:30",    "Asia/Kolkata", "lahiri", 8, "mean", "Chennai, Tamil Nadu, India",
    "13°05′16″N", "80.2785 E"};

class ManageChartsTest : public testing_support::FormOnDatabase {
protected:
    void SetUp() override {
        start(
            "insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, "
            "akdeg,"
            " akmin, amksign, amkdeg, amkmin) values ('Asha', 1, '1', '1', 1, '0', '0', 1, '0', '0', 1, '0', "
            "'0'),"
            " ('Ravi', 2, '2', '28', 10, '27', '5', 10, '27', '5', 11, '25', '59'),"
            " ('Meera', 3, '3', '3', 1, '0', '0', 1, '0', '0', 1, '0', '0');"
            " insert into birth_data (chart, birth_date, birth_time, birth_zone, ayanamsa, karakas, node,"
            " place, latitude, longitude) values (2, '1990-05-17', '14:30', 'Asia/Kolkata', 'lahiri', 8,"
            " 'mean', 'Chennai, Tamil Nadu, India', '13°05′16″N', '80.2785 E')");
    }

    void choose(int position) {
        select(position);
        window.messages.clear();
    }

    std::string birthOwners() const {
        const auto owners = queryColumn(path, "select group_concat(name) from birth_data join Int_Velmorant"
                                              " on chart = Int_Velmorant.rowid");
        return owners.front();
    }
};

TEST_F(ManageChartsTest, ARenamedChartKeepsItsPlaceItsBirthDataAndTheSelection) {
    choose(1);
    window.answerText = "Ravi Kumar";
    run([&] { logic.storedCharts().renameChart(); });
    EXPECT_EQ(window.messages, std::vector<std::string>{"Rename the chart \"Ravi\" to:"});
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Asha", "Ravi Kumar", "Meera"}));
    EXPECT_EQ(window.names.selected, 1);
    EXPECT_EQ(window.name.value, "Ravi Kumar");
    EXPECT_EQ(window.birth.fields, kBirth) << "its birth data follows it";
    EXPECT_EQ(birthOwners(), "Ravi Kumar");

    window.messages.clear();
    window.answerText = "Asha";
    run([&] { logic.storedCharts().renameChart(); });
    EXPECT_EQ(window.messages.back(), "This record already exists!");
    window.answerText.reset(); // Cancel
    run([&] { logic.storedCharts().renameChart(); });
    EXPECT_EQ(queryColumn(path, "select name from Int_Velmorant order by rowid"),
              (std::vector<std::string>{"Asha", "Ravi Kumar", "Meera"}));
}

TEST_F(ManageChartsTest, ADeleteAsksFirstAndSelectsTheNextChart) {
    choose(1);
    window.answerYes = false;
    run([&] { logic.storedCharts().deleteChart(); });
    EXPECT_EQ(window.messages,
              std::vector<std::string>{"Delete the chart \"Ravi\"? It cannot be brought back."});
    EXPECT_EQ(window.names.entries().size(), 3u);

    window.answerYes = true;
    run([&] { logic.storedCharts().deleteChart(); });
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Asha", "Meera"}));
    EXPECT_EQ(window.names.selected, 1);
    EXPECT_EQ(window.name.value, "Meera");
    EXPECT_EQ(queryColumn(path, "select count(*) from birth_data"), std::vector<std::string>{"0"});

    run([&] { logic.storedCharts().deleteChart(); }); // the last one: the one before it is selected
    EXPECT_EQ(window.name.value, "Asha");
    run([&] { logic.storedCharts().deleteChart(); });
    EXPECT_FALSE(window.names.visible) << "no chart left: the list hides, as at start-up";
    EXPECT_FALSE(window.clickToOpen.visible);
}

TEST_F(ManageChartsTest, AChartAnotherCopyChangedIsGoneAndABusyFileIsSaidSo) {
    choose(0);
    testing_support::OtherProgram other(path);
    other.execute("begin immediate");
    run([&] { logic.storedCharts().deleteChart(); });
    EXPECT_EQ(window.messages.back(),
              "The file " + path.string() + " is in use by another program. Nothing was changed; try again.");
    other.execute("rollback");
    EXPECT_EQ(window.names.entries().size(), 3u);

    other.execute("update Int_Velmorant set name = 'Asha B' where name = 'Asha'");
    window.answerText = "Asha C";
    run([&] { logic.storedCharts().renameChart(); });
    EXPECT_TRUE(window.messages.back().starts_with("The chart \"Asha\" is no longer in the file"));
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Asha B", "Ravi", "Meera"})) << "read again";
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(ManageChartsTest, ExportedChartsComeBackTheSameInCsvAndJson) {
    const std::string hostile[] = {"O'Brien\"; drop table Int_Velmorant; --", "a,b\r\nc\nd", " spaced ",
                                   std::string(10000, 'n'), "\u05e9\u05dc\u05d5\u05dd"};
    for (const std::string& name : hostile) {
        window.name.value = name;
        window.chooseAll(kRows);
        run(&form::MainForm::cmd_save_Click);
    }
    for (const char* extension : {".csv", ".json"}) {
        SCOPED_TRACE(extension);
        const auto first = dir / (std::string("first") + extension);
        run([&] { logic.storedCharts().exportCharts(first.string()); });
        EXPECT_EQ(window.messages.back(), "8 charts were exported to " + first.string() + ".");

        testing_support::TempDir other;
        testing_support::makeDatabase(other / "velmorant.mdb");
        form::Database otherDb;
        otherDb.con = store::FileStore::openConnectionString("Provider=Velmorant.SQLite;Data Source=" +
                                                             (other / "velmorant.mdb").string());
        testing_support::FakeWindow otherWindow;
        form::MainForm otherLogic(otherWindow, otherDb);
        otherLogic.Form_Load();
        otherLogic.storedCharts().importCharts(first.string());
        EXPECT_EQ(otherWindow.messages.back(), "8 charts were imported.");
        EXPECT_TRUE(otherWindow.names.entries() == window.names.entries());
        const auto again = other / (std::string("again") + extension);
        otherLogic.storedCharts().exportCharts(again.string());
        EXPECT_TRUE(testing_support::fileBytes(again) == testing_support::fileBytes(first))
            << "byte for byte";

        otherLogic.storedCharts().importCharts(first.string());
        EXPECT_TRUE(otherWindow.messages.back().starts_with("0 charts were imported. 8 were skipped"));
    }
}

TEST_F(ManageChartsTest, ChangesElsewhereAreListedKeepingTheSelectedChartByItsKey) {
    choose(1);
    run(&form::MainForm::checkForChangesElsewhere);
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Asha", "Ravi", "Meera"})) << "no change yet";

    const auto elsewhere = store::FileStore::openFile(path);
    ASSERT_EQ(elsewhere->deleteChart(1, "Asha"), store::Change::Done);
    ASSERT_TRUE(elsewhere->saveChart({"Zed", {}, std::nullopt}).saved);
    window.name.value = "typed, not saved";
    run(&form::MainForm::checkForChangesElsewhere);
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Ravi", "Meera", "Zed"}));
    EXPECT_EQ(window.names.selected, 0) << "Ravi stays selected";
    EXPECT_EQ(window.name.value, "typed, not saved") << "nothing is recalled";
    EXPECT_TRUE(window.messages.empty());

    ASSERT_EQ(elsewhere->deleteChart(2, "Ravi"), store::Change::Done);
    run(&form::MainForm::checkForChangesElsewhere);
    EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Meera", "Zed"}));
    EXPECT_EQ(window.names.selected, -1) << "the chart selected is gone";
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(ManageChartsTest, AnExportThatFailsLeavesNoFileAndSaysWhy) {
    const auto exported = dir / "exp.csv";
    const struct {
        const char* what;
        std::string path;
        std::function<std::string()> message;
    } cases[] = {
        {"a busy database", exported.string(),
         [&] {
             return "The file " + path.string() +
                    " is in use by another program. No file was written; try again.";
         }},
        {"a folder not there", (dir / "nowhere" / "exp.csv").string(),
         [&] {
             return "The charts could not be exported to " + (dir / "nowhere" / "exp.csv").string() +
                    ": No such file or directory. Nothing was written; choose another folder or name.";
         }},
    };
    testing_support::OtherProgram other(path);
    other.execute("begin exclusive"); // the first case's reading fails inside the writing of the file
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        run([&] { logic.storedCharts().exportCharts(c.path); });
        EXPECT_EQ(window.messages.back(), c.message());
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
            << "the database alone";
        if (&c == &cases[0])
            other.execute("rollback");
    }
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(ManageChartsTest, ABadLineImportsNothingAndSaysWhere) {
    const auto csv = dir / "bad.csv";
    std::ofstream(csv) << "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_deg,ak_min,"
                          "amk_sign,amk_deg,amk_min\n"
                          "Kavya,Leo,7,0,Aries,0,0,Aries,0,0,Aries,0,0\n"
                          "Vikram,Leo,30,0,Aries,0,0,Aries,0,0,Aries,0,0\n";
    run([&] { logic.storedCharts().importCharts(csv.string()); });
    EXPECT_EQ(window.messages.back(),
              "The file " + csv.string() +
                  " could not be imported: line 3: sun_deg must be a whole number from 0 "
                  "to 29, not \"30\". Nothing was imported.");
    EXPECT_EQ(queryColumn(path, "select count(*) from Int_Velmorant"), std::vector<std::string>{"3"});

    // The header is read before the write begins: a file that holds no charts never waits for the lock.
    std::ofstream(csv) << "name,sun_sign,colour\n";
    testing_support::OtherProgram other(path);
    other.execute("begin immediate");
    run([&] { logic.storedCharts().importCharts(csv.string()); });
    EXPECT_EQ(window.messages.back(),
              "The file " + csv.string() +
                  " could not be imported: line 1: the header names an unknown column "
                  "\"colour\". Nothing was imported.");
}

TEST_F(ManageChartsTest, AnImportOfAPipeOrAFolderIsRefusedAtOnce) {
    const auto pipe = dir / "pipe.csv";
    const auto folder = dir / "folder.csv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(folder);
    for (const auto& refused : {pipe, folder}) {
        run([&] {
            logic.storedCharts().importCharts(refused.string());
        }); // a pipe nobody writes to would never open
        EXPECT_EQ(window.messages.back(), "The file " + refused.string() +
                                              " could not be imported: it is not a regular file. Nothing "
                                              "was imported.");
    }
}

} // namespace
