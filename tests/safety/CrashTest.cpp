// Saving, importing and deleting while the program is killed at random moments: the file stays sound,
// every save that had returned is there exactly once, and an import or a delete is there whole or not
// at all.
#include "Process.h"
#include "store/FileStore.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
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
    db.con = store::FileStore::openConnectionString("Provider=Velmorant.SQLite;Data Source=" + path.string());
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

// Starts velmorant-cli with `arguments` in a process of its own and kills it after `wait`, unless it
// ended before.
testing_support::Finished killedAfter(const std::vector<std::string>& arguments,
                                      std::chrono::microseconds wait) {
    testing_support::Child child = testing_support::startChild([&] {
        std::vector<std::string> words{VELMORANT_CLI};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execv(VELMORANT_CLI, argv.data());
        throw std::runtime_error("cannot start velmorant-cli");
    });
    std::this_thread::sleep_for(wait);
    ::kill(child.pid, SIGKILL);
    return testing_support::waitFor(child);
}

// How long one whole run takes here, so that the kills fall all through it.
std::chrono::microseconds wholeRun(const std::vector<std::string>& arguments,
                                   const std::filesystem::path& folder) {
    const auto start = std::chrono::steady_clock::now();
    const testing_support::Finished ended = testing_support::runProgram(VELMORANT_CLI, arguments, {folder});
    EXPECT_EQ(ended.status, 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

std::string count(const std::filesystem::path& path, const std::string& table) {
    return queryColumn(path, "select count(*) from " + table).front();
}

constexpr std::string_view kPositions = ",Taurus,2,28,Capricorn,27,5,Capricorn,27,5,Aquarius,25,59,";
constexpr std::string_view kBirth = "1990-05-17,14:30,Asia/Kolkata,lahiri,8,mean\n";
constexpr std::string_view kNoBirth = ",,,,,\n";

TEST(CrashTest, KilledWhileImportingLeavesAllTheChartsOrNone) {
    constexpr int kCharts = 5'000;
    constexpr int kImportKills = 25;
    testing_support::TempDir dir;
    const std::filesystem::path path = dir / "velmorant.mdb";
    {
        std::ofstream csv(dir / "charts.csv", std::ios::binary);
        csv << "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_deg,ak_min,amk_sign,"
               "amk_deg,amk_min,birth_date,birth_time,birth_zone,ayanamsa,karakas,node\n";
        for (int i = 0; i < kCharts; ++i)
            csv << "imported " << i << kPositions << (i % 2 ? kBirth : kNoBirth);
    }
    const std::vector<std::string> import{"charts", "import", (dir / "charts.csv").string(), "--file",
                                          path.string()};
    testing_support::makeDatabase(path);
    // A little past the whole run too, so that some imports finish, or are killed after their commit.
    std::uniform_int_distribution<long> moment(0, wholeRun(import, dir.path()).count() * 6 / 5);
    std::mt19937 random(1705);

    int killedMidWrite = 0;
    int whole = 0;
    for (int kill = 0; kill < kImportKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        std::filesystem::remove(path);
        testing_support::makeDatabase(path);
        const testing_support::Finished ended =
            killedAfter(import, std::chrono::microseconds(moment(random)));
        killedMidWrite += std::filesystem::exists(dir / "velmorant.mdb-journal");

        ASSERT_EQ(queryColumn(path, "pragma integrity_check"), std::vector<std::string>{"ok"});
        const std::string charts = count(path, "Int_Velmorant");
        ASSERT_TRUE(charts == "0" || charts == std::to_string(kCharts)) << charts << " charts";
        ASSERT_EQ(count(path, "birth_data"), charts == "0" ? "0" : std::to_string(kCharts / 2));
        whole += charts != "0";
        if (ended.signal != SIGKILL) {
            ASSERT_EQ(charts, std::to_string(kCharts)) << "it ended by itself, status " << ended.status;
        }
    }
    RecordProperty("killedMidWrite", killedMidWrite);
    RecordProperty("whole", whole);
    EXPECT_GT(killedMidWrite, 0) << "no kill came in the middle of the import";
}

TEST(CrashTest, KilledWhileDeletingLeavesTheChartWithItsBirthDataOrNeither) {
    constexpr int kDeleteKills = 40;
    testing_support::TempDir dir;
    const std::filesystem::path original = dir / "original.mdb";
    std::string rows = "insert into birth_data (chart, birth_date, birth_time, birth_zone, ayanamsa, "
                       "karakas, node) values (1, '1990-05-17', '14:30', 'UTC', 'lahiri', 8, 'mean');";
    for (int i = 0; i < 2'000; ++i)
        rows += "insert into Int_Velmorant (name, sunsign, sundeg, sunmin) values ('chart " +
                std::to_string(i) + "', 1, '0', '0');";
    testing_support::makeDatabase(original, "begin;" + rows + "commit;");
    const std::filesystem::path path = dir / "velmorant.mdb";
    const std::vector<std::string> remove{"charts", "delete", "chart 0", "--file", path.string()};
    std::filesystem::copy_file(original, path);
    std::uniform_int_distribution<long> moment(0, wholeRun(remove, dir.path()).count());
    std::mt19937 random(1990);

    int killedMidWrite = 0;
    int deleted = 0;
    for (int kill = 0; kill < kDeleteKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        std::filesystem::copy_file(original, path, std::filesystem::copy_options::overwrite_existing);
        const testing_support::Finished ended =
            killedAfter(remove, std::chrono::microseconds(moment(random)));
        killedMidWrite += std::filesystem::exists(dir / "velmorant.mdb-journal");

        ASSERT_EQ(queryColumn(path, "pragma integrity_check"), std::vector<std::string>{"ok"});
        const std::string there = count(path, "Int_Velmorant where rowid = 1 and name = 'chart 0'");
        ASSERT_EQ(count(path, "birth_data"), there) << "the chart and its birth data go together";
        ASSERT_EQ(count(path, "Int_Velmorant"), there == "1" ? "2000" : "1999");
        if (ended.signal != SIGKILL) {
            ASSERT_EQ(there, "0") << "it ended by itself, status " << ended.status;
        }
        deleted += there == "0";
    }
    RecordProperty("killedMidWrite", killedMidWrite);
    RecordProperty("deleted", deleted);
}

} // namespace
