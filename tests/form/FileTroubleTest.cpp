// A file another program keeps busy or locked, replaced or removed under the running program, or a chart
// removed by another copy: each is told in a message, nothing is written where it should not be, and the
// program keeps running.
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <functional>

using testing_support::OtherProgram;
using testing_support::Rows;

namespace {

constexpr Rows kRows{{{5, 0, 59}, {2, 24, 30}, {12, 29, 0}, {1, 7, 7}}};

class FileTroubleTest : public testing_support::FormOnDatabase {
public:
    void SetUp() override {
        start("insert into Int_Velmorant (name, sunsign) values ('Asha', 5), ('Ravi', 7)");
    }

    std::string busy(const char* notDone) const {
        return "The file " + path.string() + " is in use by another program. " + notDone + "; try again.";
    }
    std::string replaced(const char* notDone) const {
        return "The file " + path.string() + " was replaced or removed while Velmorant was running. " +
               notDone + "; start Velmorant again to use the file that is there now.";
    }

protected:
    void expectStillRunning() {
        EXPECT_TRUE(shell.errors.empty());
        EXPECT_TRUE(shell.endings.empty());
        EXPECT_EQ(window.names.entries(), (std::vector<std::string>{"Asha", "Ravi"})) << "the list as it was";
    }
};

struct SaveCase {
    const char* what;
    const char* name;
    std::function<void(testing_support::FakeWindow&)> spoil;
    std::function<std::string(const FileTroubleTest&)> message;
};

TEST_F(FileTroubleTest, WhileAnotherProgramWritesRefusalsStillComeAndASaveIsToldToWait) {
    OtherProgram other(path);
    other.execute("begin immediate; insert into Int_Velmorant (name) values ('uncommitted')");
    const SaveCase cases[] = {
        {"an empty row", "Meera", [](auto& w) { w.chooseAll({}); },
         [](auto&) {
             return "Enter the sign of Sun";
         }},
        {"a stored name", "Asha", [](auto&) {},
         [](auto&) {
             return "This record already exists!";
         }},
        {"a full chart", "Meera", [](auto&) {},
         [](const FileTroubleTest& t) {
             return t.busy("Nothing was saved");
         }},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        window.messages.clear();
        window.name.value = c.name;
        window.chooseAll(kRows);
        c.spoil(window);
        run(&form::MainForm::cmd_save_Click);
        EXPECT_EQ(window.messages, std::vector<std::string>{c.message(*this)});
        expectStillRunning();
    }
    other.execute("rollback");
    window.messages.clear();
    run(&form::MainForm::cmd_save_Click);
    EXPECT_EQ(window.messages, std::vector<std::string>{"Your Record Has Been Saved"})
        << "once the file is free";
}

TEST_F(FileTroubleTest, AnExclusiveLockLeavesTheFormAsItWas) {
    window.name.value = "typed";
    window.chooseAll(kRows);
    OtherProgram other(path);
    other.execute("begin exclusive");
    window.names.setListIndex(1);
    run(&form::MainForm::lstname_Click);
    run(&form::MainForm::cmd_save_Click);
    EXPECT_EQ(window.messages,
              (std::vector<std::string>{busy("The chart was not recalled"), busy("Nothing was saved")}));
    EXPECT_EQ(window.name.value, "typed");
    EXPECT_EQ(window.shownRows(), kRows);
    expectStillRunning();
}

TEST_F(FileTroubleTest, AFileReplacedOrRemovedIsNeitherReadNorWrittenNorMade) {
    const struct {
        const char* what;
        std::function<void(const std::filesystem::path&)> change;
    } changes[] = {
        {"copied over",
         [](const std::filesystem::path& p) {
             testing_support::makeDatabase(p.parent_path() / "copy.mdb",
                                           "insert into Int_Velmorant (name, sunsign) values ('Other', 1)");
             std::filesystem::rename(p.parent_path() / "copy.mdb", p);
         }},
        {"moved away",
         [](const std::filesystem::path& p) {
             std::filesystem::rename(p, p.parent_path() / "moved");
         }},
        {"deleted",
         [](const std::filesystem::path& p) {
             std::filesystem::remove(p);
         }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
        db = form::Database();
        window = testing_support::FakeWindow();
        SetUp();
        c.change(path);
        const auto before = std::filesystem::exists(path) ? testing_support::fileBytes(path) : std::string();
        const auto files = std::distance(std::filesystem::directory_iterator(dir.path()), {});

        window.name.value = "typed";
        window.names.setListIndex(0);
        run(&form::MainForm::lstname_Click);
        EXPECT_EQ(window.name.value, "typed") << "nothing was recalled";
        save("Meera", kRows);

        EXPECT_EQ(window.messages, (std::vector<std::string>{replaced("The chart was not recalled"),
                                                             replaced("Nothing was saved")}));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), files)
            << "no file made";
        if (!before.empty()) {
            EXPECT_EQ(testing_support::fileBytes(path), before) << "the file there now is untouched";
        }
        expectStillRunning();
    }
}

TEST_F(FileTroubleTest, AChartRemovedByAnotherCopyIsReportedGone) {
    testing_support::runSql(path, "delete from Int_Velmorant where name = 'Ravi'");
    window.name.value = "typed";
    select(1);
    EXPECT_EQ(window.messages,
              std::vector<std::string>{"The chart \"Ravi\" is no longer in the file: another "
                                       "program removed or renamed it. The chart was not "
                                       "recalled."});
    EXPECT_EQ(window.name.value, "typed");
    expectStillRunning();
}

} // namespace
