// Files written whole: the mode the umask gives, and nothing left behind by a write that fails.
#include "store/WholeFile.h"

#include "store/Schema.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <stdexcept>
#include <sys/stat.h>

namespace {

using testing_support::fileBytes;
using testing_support::TempDir;

mode_t modeOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

std::size_t filesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

TEST(WholeFile, AWrittenFileAndANewDatabaseGetTheModeTheUmaskGives) {
    const struct {
        mode_t umask;
        mode_t mode;
    } cases[] = {{022, 0644}, {002, 0664}, {077, 0600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask);
        TempDir dir;
        const mode_t previous = ::umask(c.umask);
        store::writeWhole(dir / "charts.csv", [](std::ostream& out) { out << "name\n"; });
        std::ofstream(dir / "old.csv") << "old";
        ::chmod((dir / "old.csv").c_str(), 0600);
        store::writeWhole(dir / "old.csv", [](std::ostream& out) { out << "new"; });
        store::createDatabase(dir / "velmorant.mdb");
        ::umask(previous);
        EXPECT_EQ(modeOf(dir / "charts.csv"), c.mode);
        EXPECT_EQ(modeOf(dir / "old.csv"), c.mode) << "a replaced file gets a new file's mode";
        EXPECT_EQ(modeOf(dir / "velmorant.mdb"), c.mode);
        EXPECT_EQ(fileBytes(dir / "charts.csv"), "name\n");
        EXPECT_EQ(fileBytes(dir / "old.csv"), "new");
        EXPECT_EQ(filesIn(dir), 3u) << "no scratch file is left";
    }
}

TEST(WholeFile, AWriteThatFailsLeavesTheOldFileAndNoScratchFile) {
    TempDir dir;
    const auto path = dir / "charts.csv";
    std::ofstream(path) << "kept";
    EXPECT_THROW(store::writeWhole(path,
                                   [](std::ostream& out) {
                                       out << "half";
                                       throw std::runtime_error("the database went away");
                                   }),
                 std::runtime_error);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_THROW(store::writeWhole(dir / "folder", [](std::ostream& out) { out << "x"; }),
                 std::filesystem::filesystem_error);
    EXPECT_THROW(store::writeWhole(dir / "nowhere" / "charts.csv", [](std::ostream& out) { out << "x"; }),
                 std::filesystem::filesystem_error);
    EXPECT_EQ(fileBytes(path), "kept");
    EXPECT_EQ(filesIn(dir), 2u) << "no scratch file is left";
}

} // namespace
