// What only a store on a server meets: a server stopped in the middle of a write, another desk's lock
// held past the wait, a desk killed in the middle of an import, a server that cannot be reached, a
// database without the tables, and velmorant-initdb making them.
#include "safety/Process.h"
#include "store/ChartStore.h"
#include "store/Error.h"
#include "support/Errors.h"
#include "support/PgCluster.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <thread>
#include <unistd.h>

using store::Errc;
using testing_support::errorOf;
using testing_support::PgClient;

namespace {

store::NewChart chart(const std::string& name) {
    return {name,
            {{{5, "0", "59"}, {2, "24", "30"}, {12, "29", "0"}, {1, "7", "7"}}},
            store::BirthData{"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean"}};
}

class ServerStoreTest : public testing::Test {
protected:
    std::vector<std::string> names() {
        std::vector<std::string> listed;
        const store::ChartIndex index = store->readIndex();
        for (std::size_t i = 0; i < index.size(); ++i)
            listed.emplace_back(index.name(i));
        return listed;
    }

    // Waits until some connection waits for a lock.
    void untilALockIsWaitedFor() {
        PgClient watch(location);
        for (int tries = 0; tries < 500; ++tries) {
            if (watch.column("select count(*) from pg_stat_activity where wait_event_type = 'Lock'") !=
                std::vector<std::string>{"0"})
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "nothing waited for the lock";
    }

    testing_support::PgCluster& cluster = testing_support::PgCluster::shared();
    std::string location = cluster.createStore();
    std::unique_ptr<store::ChartStore> store = store::openStore(location);
};

TEST_F(ServerStoreTest, ASaveHeldUpByAnotherDeskIsBusyOrUnreachableAndKeepsNothing) {
    EXPECT_TRUE(store->isServer());
    EXPECT_EQ(store->where(),
              location.substr(location.rfind("dbname=") + 7) + " on " + cluster.socketFolder());
    const struct {
        const char* what;
        bool stopServer;
        Errc expected;
    } cases[] = {{"a lock held past the wait", false, Errc::ServerBusy},
                 {"the server stopped while the save waits", true, Errc::ServerUnreachable}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            // The chart's row is written, then its birth data waits for the other desk's lock.
            PgClient otherDesk(location);
            otherDesk.execute("begin; lock table birth_data in access exclusive mode");
            auto save = std::async(std::launch::async,
                                   [&] { return errorOf([&] { store->saveChart(chart("Asha")); }); });
            if (c.stopServer) {
                untilALockIsWaitedFor();
                cluster.stop();
            }
            const store::Error error = save.get();
            EXPECT_EQ(error.code(), c.expected) << error.what();
            EXPECT_NE(std::string(error.what()).find(store->where()), std::string::npos) << error.what();
        }
        cluster.start();
        EXPECT_EQ(names(), std::vector<std::string>{}) << "nothing half-written";
    }
    EXPECT_TRUE(store->saveChart(chart("Asha")).saved) << "the next save, once the server is back";
    EXPECT_EQ(PgClient(location).column("select count(*) from birth_data"), std::vector<std::string>{"1"});
}

TEST_F(ServerStoreTest, AnImportTheServerStoppedUnderKeepsNothingAndTheNextOneWorks) {
    {
        const auto import = store->beginImport(false);
        for (const char* name : {"one", "two", "three"})
            import->add(chart(name));
        cluster.stop();
        import->add(chart("four"));
        EXPECT_EQ(errorOf([&] { import->commit(); }).code(), Errc::ServerUnreachable);
        EXPECT_FALSE(store->changedElsewhere()) << "a store that cannot tell says false";
        cluster.start();
    }
    EXPECT_EQ(names(), std::vector<std::string>{});
    EXPECT_TRUE(store->changedElsewhere()) << "what happened while the connection was down went unheard";
    const auto import = store->beginImport(false);
    for (const char* name : {"one", "two"})
        import->add(chart(name));
    EXPECT_EQ(import->commit().stored, 2u);
    EXPECT_EQ(names(), (std::vector<std::string>{"one", "two"}));
}

TEST_F(ServerStoreTest, AStoreLeftAloneWhileTheServerWasAwayHearsTheOtherDesksAgain) {
    store->readIndex();
    cluster.stop();
    EXPECT_FALSE(store->changedElsewhere());
    cluster.start();
    // No action of its own: only the asking after changes, as a window does several times a second.
    const auto heardWithin = [&](std::chrono::seconds limit) {
        for (const auto end = std::chrono::steady_clock::now() + limit;
             std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(std::chrono::milliseconds(50)))
            if (store->changedElsewhere())
                return true;
        return false;
    };
    EXPECT_TRUE(heardWithin(std::chrono::seconds(5))) << "connected again, it says what it may have missed";
    PgClient(location).execute("insert into Int_Velmorant (name) values ('Ravi')");
    EXPECT_TRUE(heardWithin(std::chrono::seconds(1)));
}

TEST_F(ServerStoreTest, ANameAnotherDeskStoresWhileAnImportCommitsIsSkippedAndTheRestKept) {
    PgClient otherDesk(location);
    otherDesk.execute("begin; insert into Int_Velmorant (name) values ('Ravi')");
    const auto import = store->beginImport(false);
    for (const char* name : {"Asha", "Ravi", "Meera"})
        import->add(chart(name));
    auto committed = std::async(std::launch::async, [&] { return import->commit(); });
    untilALockIsWaitedFor(); // the import waits to learn whether Ravi is kept
    otherDesk.execute("commit");
    const store::ImportOutcome outcome = committed.get();
    EXPECT_EQ(outcome.stored, 2u);
    EXPECT_EQ(outcome.skipped, std::vector<std::string>{"Ravi"});
    EXPECT_EQ(names(), (std::vector<std::string>{"Ravi", "Asha", "Meera"}));
    const auto meera = store->findChart("Meera");
    ASSERT_TRUE(meera);
    EXPECT_EQ(store->readBirthData(*meera), chart("Meera").birth) << "the birth data comes with it";
}

TEST_F(ServerStoreTest, ADeskKilledInTheMiddleOfAnImportLeavesNothingOfIt) {
    testing_support::Child desk = testing_support::startChild([&] {
        const auto own = store::openStore(location);
        const auto import = own->beginImport(false);
        for (int i = 0; i < 100; ++i)
            import->add(chart("killed " + std::to_string(i)));
        if (::write(STDOUT_FILENO, "r", 1) != 1)
            throw std::runtime_error("cannot say ready");
        ::pause();
    });
    char ready = 0;
    ASSERT_EQ(::read(desk.output, &ready, 1), 1);
    ::kill(desk.pid, SIGKILL);
    EXPECT_EQ(testing_support::waitFor(desk).signal, SIGKILL);
    EXPECT_TRUE(store->saveChart(chart("killed 0")).saved) << "neither kept nor holding the name";
    EXPECT_EQ(names(), std::vector<std::string>{"killed 0"});
}

TEST_F(ServerStoreTest, AServerNotThereOrADatabaseWithoutTheTablesIsSaidSo) {
    const std::string nowhere = cluster.socketFolder() + "/nowhere";
    const store::Error unreachable =
        errorOf([&] { store::openStore("host=" + nowhere + " dbname=practice user=astro password=s3cret"); });
    EXPECT_EQ(unreachable.code(), Errc::ServerUnreachable);
    EXPECT_EQ(unreachable.number(), 3051);
    const std::string text = unreachable.what();
    EXPECT_NE(text.find("practice on " + nowhere), std::string::npos) << text;
    EXPECT_EQ(text.find("s3cret"), std::string::npos) << text;

    const store::Error empty = errorOf([&] { store::openStore(cluster.createDatabase()); });
    EXPECT_EQ(empty.code(), Errc::MissingTable);
    EXPECT_NE(std::string(empty.what()).find("tithi"), std::string::npos) << empty.what();
}

int runInitdb(const std::string& location) {
    const int status =
        std::system((std::string(VELMORANT_INITDB) + " '" + location + "' >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ServerStoreTest, InitdbMakesTheTablesInAnEmptyDatabaseOnlyOnce) {
    const std::string empty = cluster.createDatabase();
    EXPECT_EQ(runInitdb(empty), 0);
    const auto made = store::openStore(empty);
    EXPECT_EQ(made->readTable("karana").rowCount(), 60u);
    ASSERT_TRUE(made->saveChart(chart("kept")).saved);

    EXPECT_EQ(runInitdb(empty), 1) << "a database with the tables is left as it is";
    EXPECT_EQ(made->readIndex().size(), 1u);
    EXPECT_EQ(runInitdb("host=" + cluster.socketFolder() + "/nowhere dbname=practice"), 1);
}

} // namespace
