// Saving while the program is killed at random moments: the file stays sound, and every save that
// had returned is there, exactly once.
#include "Process.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace {

using testing_support::queryColumn;

constexpr int kKills = 120;
constexpr std::array<std::array<int, 3>, 4> kRows{{{5, 0, 59}, {2, 24, 30}, {12, 29, 0}, {1, 7, 7}}};

constexpr int kReady = -1; // reported once the window has loaded, before the first save

std::string chartName(int i) {
    return "chart " + std::to_string(i);
}

// Loads the window, then saves "chart <first>", "chart <first + 1>"... until killed, writing the
// number of each save that returned to standard output. A name found stored already was saved by a copy
// killed just after its write; that save returned too, as far as the file is concerned.
void saveUntilKilled(const std::filesystem::path& path, int first) {
    form::Database db;
    db.con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
    testing_support::FakeWindow window;
    form::MainForm logic(window, db);
    logic.Form_Load();
    if (::write(STDOUT_FILENO, &kReady, sizeof kReady) != sizeof kReady)
        throw std::runtime_error("cannot report the start");
    for (int i = first;; ++i) {
        window.messages.clear();
        window.name.value = chartName(i);
        window.chooseAll(kRows);
        logic.cmd_save_Click();
        if (window.messages != std::vector<std::string>{"Your Record Has Been Saved"} &&
            window.messages != std::vector<std::string>{"This record already exists!"})
            throw std::runtime_error("unexpected message: " + window.messages.front());
        if (::write(STDOUT_FILENO, &i, sizeof i) != sizeof i)
            throw std::runtime_error("cannot report a save");
    }
}

TEST(CrashTest, KilledWhileSavingLosesAndDoublesNothing) {
    testing_support::TempDir dir;
    const std::filesystem::path path = dir / "velmorant.mdb";
    testing_support::makeDatabase(path);
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> moment(1, 25); // milliseconds

    int next = 0; // every chart before this one was reported saved
    int killedMidWrite = 0;
    int killedInTheAct = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        testing_support::Child child = testing_support::startChild([&] { saveUntilKilled(path, next); });
        int ready = 0;
        ASSERT_EQ(::read(child.output, &ready, sizeof ready), static_cast<ssize_t>(sizeof ready));
        ASSERT_EQ(ready, kReady);
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        ::kill(child.pid, SIGKILL);
        const testing_support::Finished ended = testing_support::waitFor(child);
        ASSERT_EQ(ended.signal, SIGKILL) << "the child ended by itself, status " << ended.status;
        // A journal left behind means the kill came in the middle of a write.
        killedMidWrite += std::filesystem::exists(dir / "velmorant.mdb-journal");

        ASSERT_EQ(ended.output.size() % sizeof(int), 0u);
        for (std::size_t at = 0; at < ended.output.size(); at += sizeof(int)) {
            int reported = 0;
            std::memcpy(&reported, ended.output.data() + at, sizeof reported);
            ASSERT_EQ(reported, next) << "saves are reported in order";
            ++next;
        }

        ASSERT_EQ(queryColumn(path, "pragma integrity_check"), std::vector<std::string>{"ok"});
        // Exactly the reported charts, each once, and at most the one whose report the kill cut off.
        const std::vector<std::string> stored =
            queryColumn(path, "select name from Int_Velmorant order by rowid");
        ASSERT_GE(stored.size(), static_cast<std::size_t>(next));
        ASSERT_LE(stored.size(), static_cast<std::size_t>(next) + 1);
        for (int i = 0; i < static_cast<int>(stored.size()); ++i)
            ASSERT_EQ(stored[static_cast<std::size_t>(i)], chartName(i));
        killedInTheAct += stored.size() > static_cast<std::size_t>(next);
    }
    RecordProperty("saves", next);
    RecordProperty("killedMidWrite", killedMidWrite);
    RecordProperty("killedBetweenWriteAndReport", killedInTheAct);
    EXPECT_GT(killedMidWrite, 0) << "no kill came in the middle of a write";
}

} // namespace
