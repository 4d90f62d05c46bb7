// The charts in a database file (SQLite): the store every copy of Velmorant has always had.
#pragma once

#include "store/ChartStore.h"
#include "store/Connection.h"
#include "store/Statement.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace store {

class FileStore final : public ChartStore {
public:
    // Opens the file at `path`, or the one a connection string names; see Connection.
    static std::unique_ptr<FileStore> openFile(const std::filesystem::path& path);
    static std::unique_ptr<FileStore> openConnectionString(std::string_view connectionString);

    std::string where() const override { return m_connection.path().string(); }
    bool isServer() const override { return false; }
    std::string identity() const override;

    Table readTable(std::string_view name) const override;
    ChartIndex readIndex() const override;
    std::optional<ChartIndex> readIndexWithoutWaiting() override;
    bool isNameStored(std::string_view name) const override;
    std::optional<std::int64_t> findChart(std::string_view name) const override;
    Table readChart(std::int64_t key) const override;
    std::optional<BirthData> readBirthData(std::int64_t key) const override;
    void forEachChart(const std::function<void(const StoredChart&)>& visit) const override;

    SaveResult saveChart(const NewChart& chart) override;
    Change renameChart(std::int64_t key, std::string_view name, std::string_view newName) override;
    Change deleteChart(std::int64_t key, std::string_view name) override;
    std::unique_ptr<ChartImport> beginImport(bool replace) override;

    // SQLite's data version of the file, which moves with every commit of another connection.
    bool changedElsewhere() override;

    // The connection itself, for what only a file has (tests, the benchmarks, a new file's set-up).
    Connection& connection() { return m_connection; }
    const Connection& connection() const { return m_connection; }

private:
    explicit FileStore(Connection connection);
    // Runs `read` with no busy wait: a writer's lock gives none at once.
    template <typename Read>
    auto withoutWaiting(Read&& read) -> std::optional<decltype(read())>;
    std::int64_t dataVersion() const;

    Connection m_connection;
    // Prepared once, for a recall is a few lookups by key and people recall charts one after another.
    mutable std::optional<Statement> m_byKey;
    mutable std::optional<Statement> m_birthByKey;
    std::int64_t m_dataVersion = 0;
};

} // namespace store
