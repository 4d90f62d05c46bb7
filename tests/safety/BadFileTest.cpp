// The real program on files that are missing, damaged or out of reach: each is named in the run-time
// error box, the program ends with a failure status, and the file is left exactly as it was.
#include "Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>

namespace fs = std::filesystem;

namespace {

using testing_support::fileBytes;
using testing_support::Finished;
using testing_support::makeDatabase;

const fs::path kProbe = VELMORANT_PROBE;

// Runs the program in `folder` as asked; an ordinary user runs a copy the user can reach.
Finished runProbe(const fs::path& folder, const std::string& action, bool unprivileged) {
    fs::path program = kProbe;
    if (unprivileged) {
        program = folder / "velmorant_probe";
        fs::copy_file(kProbe, program, fs::copy_options::overwrite_existing);
        fs::permissions(program, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec | fs::perms::group_read);
    }
    return testing_support::runProgram(
        program, action.empty() ? std::vector<std::string>{} : std::vector{action}, {folder, unprivileged});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string randomBytes(std::size_t size) {
    std::mt19937 random(42);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

void readOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

struct BadFile {
    const char* what;
    std::function<void(const fs::path&)> make; // leaves the bad file at the path, or none
    const char* action;                        // what the user does once the window is up
    bool unprivileged;
    const char* box; // the error box's text after "Run-time error 'n':"; {} stands for the file's path
};

const BadFile kBadFiles[] = {
    {"no file", [](const fs::path&) {}, "", false,
     "3001':\\n\\nThe database file {} was not found. Make one with velmorant-initdb, or start Velmorant "
     "with "
     "velmorant-start, which makes it the first time."},
    {"zero-length file", [](const fs::path& p) { writeFile(p, ""); }, "", false,
     "3002':\\n\\nThe database file {} is empty: it holds no tables."},
    {"random bytes", [](const fs::path& p) { writeFile(p, randomBytes(16384)); }, "", false,
     "3003':\\n\\nThe file {} is not a database."},
    {"truncated database",
     [](const fs::path& p) {
         makeDatabase(p, "with recursive n(i) as (select 0 union all select i + 1 from n where i < 3000)"
                         " insert into Int_Velmorant (name) select 'chart ' || i from n");
         fs::resize_file(p, fs::file_size(p) / 2);
     },
     "", false, "3005':\\n\\nThe database file {} is damaged."},
    {"missing reference table", [](const fs::path& p) { makeDatabase(p, "drop table karana"); }, "", false,
     "3011':\\n\\nThe table karana is missing from the database file."},
    {"reference table with too few rows",
     [](const fs::path& p) { makeDatabase(p, "delete from karana where id > 50"); }, "calculate", false,
     "3014':\\n\\nThe table karana has fewer rows than the almanac needs."},
    {"no read permission",
     [](const fs::path& p) {
         makeDatabase(p);
         fs::permissions(p, fs::perms::owner_write);
     },
     "", true, "3004':\\n\\nThe database file {} cannot be opened for reading."},
};

TEST(BadFileTest, EachIsReportedAndTheFileLeftAsItWas) {
    for (const BadFile& bad : kBadFiles) {
        SCOPED_TRACE(bad.what);
        testing_support::TempDir dir;
        const fs::path path = dir / "velmorant.mdb";
        bad.make(path);
        const bool existed = fs::exists(path);
        const std::string before = existed ? fileBytes(path) : std::string();

        const Finished run = runProbe(dir.path(), bad.action, bad.unprivileged);

        std::string box = "velmorant\tRun-time error '" + std::string(bad.box) + "\n";
        if (const auto blank = box.find("{}"); blank != std::string::npos)
            box.replace(blank, 2, path.string());
        EXPECT_EQ(run.output, box);
        EXPECT_TRUE(run.exited && run.status != 0) << "status " << run.status << ", signal " << run.signal;
        ASSERT_EQ(fs::exists(path), existed);
        EXPECT_TRUE(!existed || fileBytes(path) == before) << "the file was changed";
    }
}

// A read-only file ends nothing: the window says so and keeps running, the command line says so in one
// line with exit status 3, and the file stays as it was.
TEST(BadFileTest, AReadOnlyFileIsSaidSoAndEndsNothing) {
    testing_support::TempDir dir;
    const fs::path path = dir / "velmorant.mdb";
    makeDatabase(path, "insert into Int_Velmorant (name) values ('Asha')");
    readOnly(path);
    const std::string before = fileBytes(path);

    const Finished window = runProbe(dir.path(), "save", true);
    EXPECT_EQ(window.output,
              "velmorant\tThe file " + path.string() +
                  " is read-only. Nothing was saved; make the file and its folder writable, then "
                  "try again.\n");
    EXPECT_TRUE(window.exited && window.status == 0)
        << "status " << window.status << ", signal " << window.signal;

    const fs::path cli = dir / "velmorant-cli";
    fs::copy_file(VELMORANT_CLI, cli);
    fs::permissions(cli, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    std::ofstream(dir / "in.csv")
        << "name,sun_sign,sun_deg,sun_min,moon_sign,moon_deg,moon_min,ak_sign,ak_deg,"
           "ak_min,amk_sign,amk_deg,amk_min\nRavi,Leo,7,0,Aries,0,0,Aries,0,0,Aries,0,0\n";
    for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
             {"rename", "Asha", "Ravi"}, {"delete", "Asha"}, {"import", "in.csv"}}) {
        SCOPED_TRACE(testing::PrintToString(call));
        std::vector<std::string> arguments{"-c", "exec \"$0\" charts \"$@\" --file velmorant.mdb 2>&1", cli};
        arguments.insert(arguments.end(), call.begin(), call.end());
        const Finished command = testing_support::runProgram("/bin/sh", arguments, {dir.path(), true});
        EXPECT_EQ(command.output, "velmorant-cli: The database file " + path.string() +
                                      " is read-only: nothing can be written to it.\n");
        EXPECT_EQ(command.status, 3);
    }
    EXPECT_TRUE(fileBytes(path) == before) << "the file was changed";
}

TEST(BadFileTest, DamagedRowsStillStartAndRecall) {
    testing_support::TempDir dir;
    makeDatabase(dir / "velmorant.mdb",
                 "insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, amksign) values"
                 " (null, 13, '07', null, null, 'x', -4),"
                 " ('Asha', 'Leo', 'ten', '99', 5, '29', 40000),"
                 " ('Ravi', 1, '0', '0', 1, '0', 1)");
    const std::string before = fileBytes(dir / "velmorant.mdb");
    const Finished run = runProbe(dir.path(), "recall", false);
    EXPECT_EQ(run.output, "recalled\t\nrecalled\tAsha\nrecalled\tRavi\n");
    EXPECT_TRUE(run.exited && run.status == 0) << "status " << run.status << ", signal " << run.signal;
    EXPECT_TRUE(fileBytes(dir / "velmorant.mdb") == before);
}

} // namespace
