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

std::filesystem::perms modeOf(const std::filesystem::path& path) {
    return std::filesystem::status(path).permissions();
}

std::size_t filesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

TEST(WholeFile, AWrittenFileAndANewDatabaseGetTheModeTheUmaskGives) {
    for (const auto& [mask, mode] : {std::pair{022, 0644}, {002, 0664}, {077, 0600}}) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << mask);
        TempDir dir;
        const mode_t previous = ::umask(static_cast<mode_t>(mask));
        store::writeWhole(dir / "charts.csv", [](std::ostream& out) { out << "name\n"; });
        store::createDatabase(dir / "velmorant.mdb");
        ::umask(previous);
        EXPECT_EQ(modeOf(dir / "charts.csv"), static_cast<std::filesystem::perms>(mode));
        EXPECT_EQ(modeOf(dir / "velmorant.mdb"), static_cast<std::filesystem::perms>(mode));
        EXPECT_EQ(fileBytes(dir / "charts.csv"), "name\n");
        EXPECT_EQ(filesIn(dir), 2u) << "no scratch file is left";
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
    EXPECT_THROW(store::writeWhole(dir / "nowhere" / "charts.csv", [](std::ostream& out) { out << "x"; }),
                 std::filesystem::filesystem_error);
    EXPECT_EQ(fileBytes(path), "kept");
    EXPECT_EQ(filesIn(dir), 1u) << "no scratch file is left";
}

} // namespace
