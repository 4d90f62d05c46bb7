// Two copies of the program saving the same names into one file at the same moment.
#include "Process.h"
#include "store/FileStore.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::size_t kNames = 200;

// Waits for the go, then saves "shared 0" to "shared 199" (or the other way round), writing one letter
// per save: 's' for saved, 'd' for found stored already.
void saveAll(const std::filesystem::path& path, int go, bool backwards) {
    form::Database db;
    db.con = store::FileStore::openConnectionString("Provider=Velmorant.SQLite;Data Source=" + path.string());
    testing_support::FakeWindow window;
    form::MainForm logic(window, db);
    logic.Form_Load();
    char start = 0;
    if (::read(go, &start, 1) != 1)
        throw std::runtime_error("no go");
    for (std::size_t i = 0; i < kNames; ++i) {
        window.messages.clear();
        window.name.value = "shared " + std::to_string(backwards ? kNames - 1 - i : i);
        window.chooseAll({{{5, 0, 59}, {2, 24, 30}, {12, 29, 0}, {1, 7, 7}}});
        logic.cmd_save_Click();
        const char outcome = window.messages == std::vector<std::string>{"Your Record Has Been Saved"} ? 's'
                             : window.messages == std::vector<std::string>{"This record already exists!"}
                                 ? 'd'
                                 : '?';
        if (::write(STDOUT_FILENO, &outcome, 1) != 1)
            throw std::runtime_error("cannot report a save");
        // A breath between saves, as any user takes, so that the other copy's waits can end.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST(TwoCopiesTest, SameNamesAtOnceAreEachStoredOnceAndNeitherCopyFails) {
    testing_support::TempDir dir;
    const std::filesystem::path path = dir / "velmorant.mdb";
    testing_support::makeDatabase(path);
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    testing_support::Child first = testing_support::startChild([&] { saveAll(path, go[0], false); });
    testing_support::Child second = testing_support::startChild([&] { saveAll(path, go[0], true); });
    ::close(go[0]);
    ASSERT_EQ(::write(go[1], "gg", 2), 2);
    ::close(go[1]);
    const testing_support::Finished firstEnded = testing_support::waitFor(first);
    const testing_support::Finished secondEnded = testing_support::waitFor(second);

    for (const auto* ended : {&firstEnded, &secondEnded}) {
        EXPECT_TRUE(ended->exited && ended->status == 0) << "a copy failed (see its error above)";
        EXPECT_EQ(ended->output.size(), kNames);
        EXPECT_EQ(ended->output.find('?'), std::string::npos) << ended->output;
    }
    // The two meet in the middle: each name was saved by exactly one of them, the other found it stored.
    if (firstEnded.output.size() == kNames && secondEnded.output.size() == kNames) {
        for (std::size_t i = 0; i < kNames; ++i)
            EXPECT_NE(firstEnded.output[i], secondEnded.output[kNames - 1 - i]) << "shared " << i;
    }

    std::map<std::string, int> stored;
    for (const std::string& name : testing_support::queryColumn(path, "select name from Int_Velmorant"))
        ++stored[name];
    EXPECT_EQ(stored.size(), kNames);
    for (const auto& [name, count] : stored)
        EXPECT_EQ(count, 1) << name;
    EXPECT_EQ(testing_support::queryColumn(path, "pragma integrity_check"), std::vector<std::string>{"ok"});
}

} // namespace
