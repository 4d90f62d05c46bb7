// A file another program keeps busy or locked, replaced or removed under the running program, or a chart
// removed by another copy: each is told in a message, nothing is written where it should not be, and the
// program keeps running.
#include "store/BeforeCommitHook.h"
#include "store/FileStore.h"
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using testing_support::OtherProgram;
using testing_support::Rows;

namespace {

store::Connection& fileOf(form::Database& db) {
    return dynamic_cast<store::FileStore&>(*db.con).connection();
}

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
    // A fresh folder, database and window, as at SetUp.
    void restart() {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
        std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
        db = form::Database();
        window = testing_support::FakeWindow();
        SetUp();
    }

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
        restart();
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

// Each write on a file that is taken away at its last moment, is read-only (the file itself, or the
// folder its journal goes to) or has no room left: the window says which, the file keeps nothing of the
// write, and the name box, the rows and the list stay as they were.
TEST_F(FileTroubleTest, AWriteTheFileCannotKeepIsToldAndLeavesEverythingAsItWas) {
    namespace fs = std::filesystem;
    const std::string longName(6000, 'm'); // more than a page: a full file has no room for it
    const struct {
        const char* what;
        const char* notDone;
        std::function<void()> write;
    } writes[] = {
        {"save", "Nothing was saved",
         [&] {
             save(longName, kRows);
         }},
        {"rename", "Nothing was changed",
         [&] {
             select(0);
             window.answerText = longName;
             run([&] { logic.storedCharts().renameChart(); });
         }},
        {"delete", "Nothing was changed",
         [&] {
             select(1);
             run([&] { logic.storedCharts().deleteChart(); });
         }},
        {"import", "Nothing was imported",
         [&] {
             run([&] { logic.storedCharts().importCharts((dir / "in.csv").string()); });
         }},
    };
    const auto moved = dir / "moved.mdb";
    const auto readOnly = [&](const char* notDone) {
        return "The file " + path.string() + " is read-only. " + notDone +
               "; make the file and its folder writable, then try again.";
    };
    const struct {
        const char* what;
        std::function<void()> spoil; // as root for an ordinary user's write, else once the window is up
        std::function<std::string(const char*)> message;
        fs::path kept;             // where the file opened is afterwards
        bool unprivileged = false; // permissions mean nothing to root
    } troubles[] = {
        {"moved away at the commit",
         [&] { store::BeforeCommitHook::set(fileOf(db), [&] { fs::rename(path, moved); }); },
         [&](const char* notDone) { return replaced(notDone); }, moved},
        {"copied over at the commit",
         [&] {
             store::BeforeCommitHook::set(fileOf(db), [&] {
                 fs::rename(path, moved);
                 fs::copy_file(moved, path);
             });
         },
         [&](const char* notDone) { return replaced(notDone); }, moved},
        {"a read-only file", [&] { fs::permissions(path, fs::perms::owner_read | fs::perms::others_read); },
         readOnly, path, true},
        {"a read-only folder",
         [&] {
             fs::permissions(dir.path(),
                             fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
         },
         readOnly, path, true},
        {"a full disk",
         [&] {
             fileOf(db).execute("pragma max_page_count = " +
                                testing_support::queryColumn(path, "pragma page_count").front());
         },
         [&](const char* notDone) {
             return "The disk holding " + path.string() + " is full. " + notDone +
                    "; make some room on it, then try again.";
         },
         path},
    };
    for (const auto& trouble : troubles) {
        for (const auto& write : writes) {
            if (trouble.what == std::string_view("a full disk") && write.what == std::string_view("delete"))
                continue; // a delete needs no room
            SCOPED_TRACE(std::string(trouble.what) + ", " + write.what);
            restart();
            std::ofstream(dir / "in.csv")
                << "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,"
                   "ak_deg,ak_min,amk_sign,amk_deg,amk_min\n"
                << longName << ",Leo,7,0,Aries,0,0,Aries,0,0,Aries,0,0\n";
            const auto body = [&] {
                if (trouble.unprivileged) { // opened again by the user, for the permissions to hold
                    db = form::Database();
                    db.con = store::FileStore::openConnectionString("Provider=Velmorant.SQLite;Data Source=" +
                                                                    path.string());
                    run(&form::MainForm::Form_Load);
                } else {
                    trouble.spoil();
                }
                write.write();
                const std::string said = window.messages.empty() ? "" : window.messages.back();
                if (said != trouble.message(write.notDone))
                    return "said: " + said.substr(0, 300);
                if (write.what == std::string_view("save") &&
                    (window.name.value != longName || window.shownRows() != kRows))
                    return std::string("the chart typed was lost");
                if (!shell.errors.empty() ||
                    window.names.entries() != std::vector<std::string>{"Asha", "Ravi"})
                    return std::string("the window did not keep running as it was");
                return std::string();
            };
            if (trouble.unprivileged)
                trouble.spoil();
            EXPECT_EQ(trouble.unprivileged ? testing_support::asUnprivilegedUser(body) : body(), "");
            EXPECT_EQ(
                testing_support::queryColumn(trouble.kept, "select name from Int_Velmorant order by rowid"),
                (std::vector<std::string>{"Asha", "Ravi"}));
            for (const auto& entry : fs::directory_iterator(dir.path()))
                EXPECT_FALSE(entry.path().string().ends_with("-journal")) << entry.path();
            fs::permissions(dir.path(), fs::perms::all); // for an ordinary user to remove it
        }
    }
}

} // namespace
