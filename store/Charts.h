// The stored charts in a database file. Every read or write here first makes sure that the file at the
// path is still the one the connection opened.
#pragma once

#include "store/StoredChart.h"
#include "store/Table.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class Connection;
class Transaction;

// Whether a chart of exactly this name (same characters, same case, same length) is stored. A plain
// read: it waits for a writer's commit but never for the write lock.
bool isNameStored(const Connection& connection, std::string_view name);

// Stores `chart` as one new row in one write transaction, which also tests the name again.
SaveResult saveChart(Connection& connection, const NewChart& chart);

// Every column of the stored chart whose key is bound as the one parameter.
std::string chartByKeySql();

// The key of the first chart of exactly this name in table order, or none.
std::optional<std::int64_t> findChart(const Connection& connection, std::string_view name);

// Renames the chart with key `chart`, found under `name`, to `newName`, in one write transaction; its
// birth data stays with it. A new name the same as the old one writes nothing.
Change renameChart(Connection& connection, std::int64_t chart, std::string_view name,
                   std::string_view newName);

// Removes the chart with key `chart`, found under `name`, and its birth data, in one write transaction.
Change deleteChart(Connection& connection, std::int64_t chart, std::string_view name);

// Every stored chart with its birth data, in table order, one at a time.
void forEachChart(const Connection& connection, const std::function<void(const StoredChart&)>& visit);

// An import into the file (see ChartImport).
class FileImport final : public ChartImport {
public:
    FileImport(Connection& connection, bool replace);
    ~FileImport() override;
    FileImport(const FileImport&) = delete;
    FileImport& operator=(const FileImport&) = delete;

    void add(const NewChart& chart) override;
    ImportOutcome commit() override;

private:
    struct Statements;
    Connection& m_connection;
    bool m_replace;
    std::unique_ptr<Transaction> m_write;
    std::unique_ptr<Statements> m_statements;
    // The rows this import added are those from this rowid on: SQLite gives a new row one more than
    // the largest rowid there is, so every row there before stays below it (see add()).
    std::int64_t m_firstAdded = 0;
    ImportOutcome m_outcome;
};

} // namespace store
