// The charts in a PostgreSQL database that several desks share.
#pragma once

#include "store/ChartStore.h"
#include "store/PgConnection.h"

#include <memory>
#include <string_view>

namespace store {

class ServerStore final : public ChartStore {
public:
    // See openServerStore.
    static std::unique_ptr<ServerStore> open(std::string_view location);

    std::string where() const override { return m_connection.where(); }
    bool isServer() const override { return true; }
    std::string identity() const override;

    Table readTable(std::string_view name) const override;
    ChartIndex readIndex() const override;
    bool isNameStored(std::string_view name) const override;
    std::optional<std::int64_t> findChart(std::string_view name) const override;
    Table readChart(std::int64_t key) const override;
    std::optional<BirthData> readBirthData(std::int64_t key) const override;
    void forEachChart(const std::function<void(const StoredChart&)>& visit) const override;

    SaveResult saveChart(const NewChart& chart) override;
    Change renameChart(std::int64_t key, std::string_view name, std::string_view newName) override;
    Change deleteChart(std::int64_t key, std::string_view name) override;
    std::unique_ptr<ChartImport> beginImport(bool replace) override;

    // The notifications the database's trigger sends when another desk's write commits; and, after a
    // lost connection was made again, true once, for what went unheard meanwhile.
    bool changedElsewhere() override;

private:
    explicit ServerStore(std::string_view location);

    // Reads are const to the program, not to the connection, which may have to be made again.
    mutable pg::Connection m_connection;
    int m_heardSession = 0;
};

// Opens the database `location` names: a postgresql:// URI or a libpq connection string, with
// libpq's own defaults, service files and password file. Throws ServerUnreachable, naming the host
// and the database, when no connection can be made, and MissingTable when the database does not hold
// Velmorant's tables.
std::unique_ptr<ChartStore> openServerStore(std::string_view location);

} // namespace store
