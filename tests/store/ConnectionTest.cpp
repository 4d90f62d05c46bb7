// Opening the database: what is accepted, and every way a file can be wrong, each with its number
// and its words.
#include "store/Connection.h"

#include "store/Error.h"
#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

using store::Connection;
using store::Errc;
using testing_support::errorOf;
using testing_support::TempDir;

namespace {

const std::string kConnectionString =
    "Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Persist Security Info= False";

class ConnectionTest : public testing::Test {
protected:
    TempDir dir;
    testing_support::CurrentDir cwd{dir.path()};
};

TEST_F(ConnectionTest, OpensTheFileNamedInTheCurrentFolder) {
    testing_support::makeDatabase(dir / "velmorant.mdb");
    Connection con;
    con.setConnectionString(kConnectionString);
    con.open();
    EXPECT_TRUE(con.isOpen());
    EXPECT_EQ(con.path(), std::filesystem::canonical(dir / "velmorant.mdb"));
}

TEST_F(ConnectionTest, TakesTheConnectionStringAsAnArgumentToo) {
    testing_support::makeDatabase(dir / "other.mdb");
    Connection con;
    con.open("Provider=Velmorant.SQLite;Data Source=other.mdb");
    EXPECT_TRUE(con.isOpen());
}

struct BadFile {
    const char* what;
    std::string bytes; // written as velmorant.mdb; nullopt-like "<none>" for no file at all
    Errc code;
    int number;
};

TEST_F(ConnectionTest, RefusesFilesThatAreNotDatabasesAndLeavesThemAsTheyWere) {
    std::string truncated;
    {
        TempDir other;
        testing_support::makeDatabase(other / "whole.mdb");
        truncated = testing_support::fileBytes(other / "whole.mdb").substr(0, 100);
    }
    const BadFile cases[] = {
        {"no file", "<none>", Errc::FileMissing, 3001},
        {"a zero-length file", "", Errc::FileEmpty, 3002},
        {"text", "Sun Aries 0 0, Moon Taurus 24 30\n", Errc::NotADatabase, 3003},
        {"random bytes", std::string(4096, '\xA7'), Errc::NotADatabase, 3003},
        {"a truncated database", truncated, Errc::FileDamaged, 3005},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = dir / "velmorant.mdb";
        std::filesystem::remove(path);
        if (std::string_view(c.bytes) != "<none>")
            std::ofstream(path, std::ios::binary) << c.bytes;
        const store::Error error = errorOf([] {
            Connection con;
            con.open(kConnectionString);
        });
        EXPECT_EQ(error.code(), c.code);
        EXPECT_EQ(error.number(), c.number);
        // The user is told which file was looked for, by its full path.
        EXPECT_NE(std::string(error.what()).find((dir.path() / "velmorant.mdb").string()), std::string::npos)
            << error.what();
        if (std::string_view(c.bytes) == "<none>")
            EXPECT_FALSE(std::filesystem::exists(path)) << "a missing database must never be created";
        else
            EXPECT_EQ(testing_support::fileBytes(path), c.bytes);
    }
}

TEST_F(ConnectionTest, AFolderIsNotADatabase) {
    std::filesystem::create_directory(dir / "velmorant.mdb");
    EXPECT_EQ(errorOf([] { Connection().open(kConnectionString); }).code(), Errc::NotADatabase);
}

TEST_F(ConnectionTest, AFileThatCannotBeReadIsSaidSo) {
    testing_support::makeDatabase(dir / "velmorant.mdb");
    std::filesystem::permissions(dir / "velmorant.mdb", std::filesystem::perms::none);
    const std::string problem = testing_support::asUnprivilegedUser([] {
        try {
            Connection().open(kConnectionString);
        } catch (const store::Error& e) {
            return e.code() == Errc::FileUnreadable && e.number() == 3004 ? std::string() : e.what();
        }
        return std::string("the connection opened");
    });
    EXPECT_EQ(problem, "");
}

TEST_F(ConnectionTest, RejectsMalformedConnectionStrings) {
    testing_support::makeDatabase(dir / "velmorant.mdb");
    const char* const cases[] = {
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=velmorant.mdb",
        "Provider=Velmorant.SQLite",
        "Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Mode=Share Deny None",
        "Provider=Velmorant.SQLite;velmorant.mdb",
        "",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const store::Error error = errorOf([&] {
            Connection con;
            con.setConnectionString(text);
            con.open();
        });
        EXPECT_EQ(error.code(), Errc::BadConnectionString);
        EXPECT_EQ(error.number(), 3006);
    }
}

// The file at the path changed under an open connection: each way is noticed before the next read or
// write, and nothing is written to either file.
TEST_F(ConnectionTest, NoticesTheFileReplacedOrRemovedUnderIt) {
    struct Change {
        const char* what;
        void (*make)(const std::filesystem::path& dir);
    };
    const Change changes[] = {
        {"moved away",
         [](const auto& d) {
             std::filesystem::rename(d / "velmorant.mdb", d / "moved.mdb");
         }},
        {"deleted",
         [](const auto& d) {
             std::filesystem::remove(d / "velmorant.mdb");
         }},
        {"replaced by another file",
         [](const auto& d) {
             testing_support::makeDatabase(d / "other.mdb");
             std::filesystem::rename(d / "other.mdb", d / "velmorant.mdb");
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        std::filesystem::remove(dir / "velmorant.mdb");
        testing_support::makeDatabase(dir / "velmorant.mdb");
        Connection con;
        con.open(kConnectionString);
        EXPECT_NO_THROW(con.checkSameFile());
        change.make(dir.path());
        EXPECT_EQ(errorOf([&] { con.checkSameFile(); }).code(), Errc::FileReplaced);
    }
}

TEST(ErrorTable, EveryKindHasItsOwnNumberAndAFilledInText) {
    std::set<int> numbers;
    for (int i = 0; i <= static_cast<int>(Errc::DatabaseFault); ++i) {
        const store::Error error(static_cast<Errc>(i), "SUBJECT");
        EXPECT_TRUE(numbers.insert(error.number()).second) << "number " << error.number() << " is used twice";
        const std::string text = error.what();
        EXPECT_EQ(text.find("{}"), std::string::npos) << text;
        EXPECT_TRUE(text.ends_with('.')) << text;
    }
}

} // namespace
