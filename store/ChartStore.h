// Where the charts are kept, whichever kind of store holds them: a database file on this computer, or
// a PostgreSQL database that several desks share. The window and the command line see only this.
//
// Every write is one transaction, and every value is bound. Errors are store::Error: a file or server
// that is busy past the wait (FileBusy, ServerBusy), a server that cannot be reached (ServerUnreachable;
// the next call tries to connect again), a chart that is gone (ChartGone), and the like.
#pragma once

#include "store/BirthData.h"
#include "store/ChartIndex.h"
#include "store/StoredChart.h"
#include "store/Table.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class ChartStore {
public:
    virtual ~ChartStore() = default;

    // Which store this is, in words for a message: the file's full path, or the database and its host
    // ("velmorant on db.example.org"). Never a password.
    virtual std::string where() const = 0;
    // Whether the charts are on a server that other desks share.
    virtual bool isServer() const = 0;
    // What tells this store from every other of its kind, however it was named: the file's path as the
    // file system resolves it; the server's own identifier and the database's name.
    virtual std::string identity() const = 0;

    // Every row of a reference table, in stored order. Throws MissingTable.
    virtual Table readTable(std::string_view name) const = 0;

    // The names of the stored charts, in the order they were stored, with their keys.
    virtual ChartIndex readIndex() const = 0;
    // The same, for the window's own asking between a person's actions: none rather than a wait for
    // another program's write, or any other trouble, which the next action says.
    virtual std::optional<ChartIndex> readIndexWithoutWaiting();
    // Whether a chart of exactly this name is stored. A plain read, which never waits for a writer.
    virtual bool isNameStored(std::string_view name) const = 0;
    // The key of the first chart of exactly this name, or none.
    virtual std::optional<std::int64_t> findChart(std::string_view name) const = 0;
    // Every column of the chart with this key ("id", "name", then per body its sign, degrees and
    // minutes), or a table without rows when there is none.
    virtual Table readChart(std::int64_t key) const = 0;
    // The birth data of the chart with this key; none when it has none.
    virtual std::optional<BirthData> readBirthData(std::int64_t key) const = 0;
    // Every stored chart with its birth data, in the order they were stored, one at a time.
    virtual void forEachChart(const std::function<void(const StoredChart&)>& visit) const = 0;

    // Stores `chart` as a new chart, testing its name again inside the write: a name stored meanwhile by
    // another program or desk gives saved = false and stores nothing.
    virtual SaveResult saveChart(const NewChart& chart) = 0;
    // Renames or deletes the chart with key `key`, found under `name`, in one write each; Gone when no
    // chart has this key and name any more. The birth data goes with the chart.
    virtual Change renameChart(std::int64_t key, std::string_view name, std::string_view newName) = 0;
    virtual Change deleteChart(std::int64_t key, std::string_view name) = 0;
    // Begins an import: its write lasts until commit() or until the import is destroyed.
    virtual std::unique_ptr<ChartImport> beginImport(bool replace) = 0;

    // Whether another program or desk has changed the stored charts since the last call (or since the
    // store was opened). Cheap and never waits: the window asks it several times a second. A store that
    // cannot tell says false.
    virtual bool changedElsewhere() = 0;
};

// The connection string the window has always used: the file velmorant.mdb in the current folder.
inline constexpr std::string_view kDefaultConnectionString =
    "Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Persist Security Info= False";

// The store the environment names (VELMORANT_DATABASE), when it names one.
std::optional<std::string> environmentLocation();

// Whether `location` names a PostgreSQL database: a postgresql:// or postgres:// URI, or a libpq
// connection string of keywords ("host=db dbname=charts", "service=practice").
bool isServerLocation(std::string_view location);

// Opens the store `location` names: a PostgreSQL database (see isServerLocation), a connection string
// of the form of kDefaultConnectionString, or else the path of a database file. A file must exist and a
// database must hold Velmorant's tables: neither is ever made here.
std::unique_ptr<ChartStore> openStore(std::string_view location);

} // namespace store
