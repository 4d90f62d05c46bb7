// The stored charts: the table Int_Velmorant, one row per person. Every read or write here first makes
// sure that the file at the path is still the one the connection opened.
#pragma once

#include "store/BirthData.h"
#include "store/ChartIndex.h"
#include "store/Table.h"
#include "store/Value.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class Connection;
class Transaction;

inline constexpr std::string_view kChartTable = "Int_Velmorant";

// The columns a save writes, in the table's own order: the name, then per body its sign, degrees and
// minutes. The first position column (sunsign) stands at ordinal 2.
inline constexpr std::array<std::string_view, 13> kChartColumns{
    "name",   "sunsign", "sundeg", "sunmin",  "monsign", "mondeg", "monmin",
    "aksign", "akdeg",   "akmin",  "amksign", "amkdeg",  "amkmin",
};
inline constexpr int kFirstPositionOrdinal = 2;

// One body as stored: the sign's list position (1 Aries .. 12 Pisces), the degree and minute texts.
struct StoredBody {
    std::int16_t sign = 0;
    std::string degrees;
    std::string minutes;
};

struct NewChart {
    std::string name;
    std::array<StoredBody, 4> bodies;
    std::optional<BirthData> birth; // kept beside the chart, in the same write
};

// Whether a chart of exactly this name (same characters, same case, same length) is stored. A plain
// read: it waits for a writer's commit but never for the write lock.
bool isNameStored(const Connection& connection, std::string_view name);

// What a save found, and the stored names as the save left them.
struct SaveResult {
    bool saved = false; // false: the name was stored meanwhile, by another copy of the program
    std::shared_ptr<const ChartIndex> names;
};

// Stores `chart` as one new row in one write transaction, which also tests the name again and reads
// the names as they stand after the write.
SaveResult saveChart(Connection& connection, const NewChart& chart);

// Every column of the stored chart whose key is bound as the one parameter.
std::string chartByKeySql();

// Every column of the stored chart with this key, or an empty table when there is none.
Table readChart(const Connection& connection, std::int64_t rowid);

// The key of the first chart of exactly this name in table order, or none.
std::optional<std::int64_t> findChart(const Connection& connection, std::string_view name);

// What a rename or a delete found when it took the write lock.
enum class Change {
    Done,
    NameTaken, // the new name is stored already
    Gone,      // no chart has this key and name any more: another program removed or renamed it
};

// Renames the chart with key `chart`, found under `name`, to `newName`, in one write transaction; its
// birth data stays with it. A new name the same as the old one writes nothing.
Change renameChart(Connection& connection, std::int64_t chart, std::string_view name,
                   std::string_view newName);

// Removes the chart with key `chart`, found under `name`, and its birth data, in one write transaction.
Change deleteChart(Connection& connection, std::int64_t chart, std::string_view name);

// A stored chart as it is exported: every value as stored, the signs as their list positions.
struct StoredChart {
    std::string name;
    std::array<Value, 12> positions; // per body its sign, degrees and minutes
    std::optional<BirthData> birth;
};

// Every stored chart with its birth data, in table order, one at a time.
void forEachChart(const Connection& connection, const std::function<void(const StoredChart&)>& visit);

// What became of a chart brought in.
enum class Taken {
    Stored,
    NameStored,   // skipped: its name is stored already
    NameRepeated, // skipped: a chart of the same name came earlier in the same import
};

// Charts brought in from elsewhere, all in one write transaction: nothing is kept unless commit() runs.
// A name already stored is skipped, or, with `replace`, the stored chart and its birth data give way to
// the new one. A name brought in earlier by the same import is skipped either way: the first one stays.
class ChartImport {
public:
    ChartImport(Connection& connection, bool replace);
    ~ChartImport();
    ChartImport(const ChartImport&) = delete;
    ChartImport& operator=(const ChartImport&) = delete;

    Taken add(const NewChart& chart);
    void commit();

private:
    struct Statements;
    Connection& m_connection;
    bool m_replace;
    std::unique_ptr<Transaction> m_write;
    std::unique_ptr<Statements> m_statements;
    // The rows this import added are those from this rowid on: SQLite gives a new row one more than
    // the largest rowid there is, so every row there before stays below it (see add()).
    std::int64_t m_firstAdded = 0;
};

} // namespace store
