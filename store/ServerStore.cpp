#include "store/ServerStore.h"

#include "store/Error.h"
#include "store/ServerSchema.h"

#include <cstdint>

namespace store {

namespace {

// What the trigger of velmorant-pg.sql notifies on.
constexpr std::string_view kListen = "listen velmorant_charts";

constexpr std::string_view kIndexSql = "select id, name from Int_Velmorant order by id";
constexpr std::string_view kNameStoredSql = "select 1 from Int_Velmorant where name = $1 limit 1";
constexpr std::string_view kBirthColumns =
    "birth_date, birth_time, birth_zone, ayanamsa, karakas, node, place, latitude, longitude";

// The insert of a new chart, which stores nothing when the name is stored meanwhile: the constraint on
// the names waits for a desk saving the same name at the same moment, and says so once it commits.
std::string insertSql() {
    std::string sql = "insert into Int_Velmorant (";
    std::string marks;
    for (std::size_t column = 0; column < kChartColumns.size(); ++column) {
        sql += (column ? ", " : "") + std::string(kChartColumns[column]);
        marks += (column ? ", $" : "$") + std::to_string(column + 1);
    }
    return sql + ") values (" + marks + ") on conflict do nothing returning id";
}

std::string keepBirthSql() {
    return "insert into birth_data (chart, " + std::string(kBirthColumns) +
           ") values ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10)";
}

pg::Params chartParams(const NewChart& chart) {
    pg::Params params;
    params.add(chart.name);
    for (const StoredBody& body : chart.bodies)
        params.add(std::int64_t{body.sign}).add(body.degrees).add(body.minutes);
    return params;
}

pg::Params birthParams(std::int64_t chart, const BirthData& birth) {
    pg::Params params;
    params.add(chart).add(birth.date).add(birth.time).add(birth.zone).add(birth.ayanamsa);
    params.add(std::int64_t{birth.karakas}).add(birth.node);
    // A chart without a place keeps nulls there, as the file does.
    for (const std::string* part : {&birth.place, &birth.latitude, &birth.longitude})
        birth.hasPlace() ? params.add(*part) : params.addNull();
    return params;
}

// The nine columns of kBirthColumns from `first` on.
BirthData birthDataRow(const pg::Result& rows, int row, int first) {
    const auto text = [&](int column) {
        return rows.isNull(row, first + column) ? std::string() : std::string(rows.text(row, first + column));
    };
    return {text(0), text(1), text(2), text(3), static_cast<int>(rows.integer(row, first + 4)),
            text(5), text(6), text(7), text(8)};
}

Table tableOf(const pg::Result& rows) {
    std::vector<std::string> columns;
    for (int column = 0; column < rows.columns(); ++column)
        columns.emplace_back(rows.columnName(column));
    std::vector<Value> values;
    values.reserve(static_cast<std::size_t>(rows.rows()) * columns.size());
    for (int row = 0; row < rows.rows(); ++row)
        for (int column = 0; column < rows.columns(); ++column)
            values.push_back(rows.value(row, column));
    return Table(std::move(columns), std::move(values));
}

ChartIndex indexOf(const pg::Result& rows) {
    ChartIndex index;
    for (int row = 0; row < rows.rows(); ++row)
        index.append(rows.integer(row, 0), rows.isNull(row, 1) ? std::string_view() : rows.text(row, 1));
    return index;
}

// An import: one transaction on the store's connection. The charts it added are the rows its own
// transaction wrote (xmin), so no list of them grows with the import.
class ServerImport final : public ChartImport {
public:
    ServerImport(pg::Connection& connection, bool replace)
        : m_connection(connection)
        , m_replace(replace)
        , m_write(connection) {
        // The row's xmin is the 32-bit transaction number, without the epoch this one carries.
        const pg::Result own = connection.exec("select pg_current_xact_id()");
        m_transaction = std::to_string(static_cast<std::uint64_t>(own.integer(0, 0)) & 0xffffffffu);
    }

    Taken add(const NewChart& chart) override {
        const pg::Result stored =
            m_connection.execPrepared("select xmin = $2::xid from Int_Velmorant where name = $1",
                                      pg::Params().add(chart.name).add(m_transaction));
        for (int row = 0; row < stored.rows(); ++row)
            if (stored.text(row, 0) == "t")
                return Taken::NameRepeated;
        if (stored.rows() > 0) {
            if (!m_replace)
                return Taken::NameStored;
            // The birth data goes with its chart.
            m_connection.execPrepared("delete from Int_Velmorant where name = $1",
                                      pg::Params().add(chart.name));
        }
        const pg::Result added = m_connection.execPrepared(insertSql(), chartParams(chart));
        if (added.rows() == 0)
            return Taken::NameStored; // by another desk, since the look above
        if (chart.birth)
            m_connection.execPrepared(keepBirthSql(), birthParams(added.integer(0, 0), *chart.birth));
        return Taken::Stored;
    }

    void commit() override { m_write.commit(); }

private:
    pg::Connection& m_connection;
    bool m_replace;
    pg::Transaction m_write;
    std::string m_transaction;
};

} // namespace

ServerStore::ServerStore(std::string_view location)
    : m_connection(std::string(location), std::string(kListen)) {}

std::unique_ptr<ServerStore> ServerStore::open(std::string_view location) {
    std::unique_ptr<ServerStore> store(new ServerStore(location));
    store->m_connection.connect();
    std::string tables = "{";
    for (const std::string_view table : kServerTables)
        tables += (tables.size() > 1 ? "," : "") + std::string(table);
    const pg::Result missing =
        store->m_connection.exec("select t.name from unnest($1::text[]) with ordinality as t(name, at)"
                                 " where to_regclass(lower(t.name)) is null order by t.at limit 1",
                                 pg::Params().add(tables + "}"));
    if (missing.rows() > 0)
        throw Error(Errc::MissingTable, missing.text(0, 0));
    store->m_heardSession = store->m_connection.session();
    return store;
}

std::unique_ptr<ChartStore> openServerStore(std::string_view location) {
    return ServerStore::open(location);
}

bool ServerStore::changedElsewhere() {
    const int heard = m_connection.takeNotifications();
    const bool reconnected = m_connection.session() != m_heardSession;
    m_heardSession = m_connection.session();
    return heard > 0 || reconnected;
}

Table ServerStore::readTable(std::string_view name) const {
    // The name as the catalog has it, letter case ignored as the file ignores it; rows in key order.
    const pg::Result found = m_connection.exec(
        "select c.relname, exists (select 1 from pg_attribute a where a.attrelid = c.oid and a.attname = 'id'"
        " and a.attnum > 0 and not a.attisdropped) from pg_class c where c.relkind in ('r', 'p', 'v', 'm')"
        " and lower(c.relname) = lower($1) and pg_table_is_visible(c.oid) order by c.relname <> $1 limit 1",
        pg::Params().add(name));
    if (found.rows() == 0)
        throw Error(Errc::MissingTable, name);
    const bool keyed = found.text(0, 1) == "t";
    return tableOf(m_connection.exec("select * from " + pg::quoteIdentifier(found.text(0, 0)) +
                                     (keyed ? " order by id" : "")));
}

ChartIndex ServerStore::readIndex() const {
    return indexOf(m_connection.exec(kIndexSql));
}

bool ServerStore::isNameStored(std::string_view name) const {
    return m_connection.exec(kNameStoredSql, pg::Params().add(name)).rows() > 0;
}

std::optional<std::int64_t> ServerStore::findChart(std::string_view name) const {
    const pg::Result found = m_connection.exec(
        "select id from Int_Velmorant where name = $1 order by id limit 1", pg::Params().add(name));
    if (found.rows() == 0)
        return std::nullopt;
    return found.integer(0, 0);
}

Table ServerStore::readChart(std::int64_t key) const {
    return tableOf(
        m_connection.execPrepared("select * from Int_Velmorant where id = $1", pg::Params().add(key)));
}

std::optional<BirthData> ServerStore::readBirthData(std::int64_t key) const {
    const pg::Result found = m_connection.execPrepared(
        "select " + std::string(kBirthColumns) + " from birth_data where chart = $1", pg::Params().add(key));
    if (found.rows() == 0)
        return std::nullopt;
    return birthDataRow(found, 0, 0);
}

void ServerStore::forEachChart(const std::function<void(const StoredChart&)>& visit) const {
    std::string sql = "declare velmorant_export no scroll cursor for select c.name";
    for (std::size_t column = 1; column < kChartColumns.size(); ++column)
        sql += ", c." + std::string(kChartColumns[column]);
    for (std::string_view rest = kBirthColumns; !rest.empty();) {
        const std::size_t comma = rest.find(", ");
        sql += ", b." + std::string(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
    }
    sql += " from Int_Velmorant c left join birth_data b on b.chart = c.id order by c.id";

    // A cursor, read a batch at a time, so that a large table never stands whole in memory. It lives in a
    // transaction: the import's, when one is open, else its own.
    std::optional<pg::Transaction> read;
    if (!m_connection.inTransaction())
        read.emplace(m_connection);
    m_connection.exec(sql);
    try {
        StoredChart chart;
        for (;;) {
            const pg::Result batch = m_connection.exec("fetch forward 500 from velmorant_export");
            if (batch.rows() == 0)
                break;
            for (int row = 0; row < batch.rows(); ++row) {
                chart.name = batch.isNull(row, 0) ? std::string() : std::string(batch.text(row, 0));
                for (int position = 0; position < 12; ++position)
                    chart.positions[static_cast<std::size_t>(position)] = batch.value(row, position + 1);
                chart.birth.reset();
                if (!batch.isNull(row, 13))
                    chart.birth = birthDataRow(batch, row, 13);
                visit(chart);
            }
        }
    } catch (...) {
        if (!read && m_connection.inTransaction()) {
            try {
                m_connection.exec("close velmorant_export");
            } catch (const Error&) {
                // The transaction it stood in is lost already.
            }
        }
        throw;
    }
    m_connection.exec("close velmorant_export");
    if (read)
        read->commit();
}

SaveResult ServerStore::saveChart(const NewChart& chart) {
    pg::Transaction write(m_connection);
    if (m_connection.exec(kNameStoredSql, pg::Params().add(chart.name)).rows() > 0)
        return {};
    const pg::Result added = m_connection.exec(insertSql(), chartParams(chart));
    if (added.rows() == 0)
        return {}; // stored by another desk since the look above
    if (chart.birth)
        m_connection.exec(keepBirthSql(), birthParams(added.integer(0, 0), *chart.birth));
    auto names = std::make_shared<const ChartIndex>(readIndex());
    write.commit();
    return {true, std::move(names)};
}

Change ServerStore::renameChart(std::int64_t key, std::string_view name, std::string_view newName) {
    if (newName == name)
        return m_connection.exec("select 1 from Int_Velmorant where id = $1 and name = $2",
                                 pg::Params().add(key).add(name))
                           .rows() > 0
                   ? Change::Done
                   : Change::Gone;
    pg::Transaction write(m_connection);
    try {
        const pg::Result renamed =
            m_connection.exec("update Int_Velmorant set name = $3 where id = $1 and name = $2",
                              pg::Params().add(key).add(name).add(newName));
        if (renamed.affected() == 0)
            return Change::Gone;
    } catch (const pg::ServerError& e) {
        if (e.isDuplicate())
            return Change::NameTaken;
        throw;
    }
    write.commit();
    return Change::Done;
}

Change ServerStore::deleteChart(std::int64_t key, std::string_view name) {
    pg::Transaction write(m_connection);
    // The birth data goes with the chart (on delete cascade).
    if (m_connection
            .exec("delete from Int_Velmorant where id = $1 and name = $2", pg::Params().add(key).add(name))
            .affected() == 0)
        return Change::Gone;
    write.commit();
    return Change::Done;
}

std::unique_ptr<ChartImport> ServerStore::beginImport(bool replace) {
    return std::make_unique<ServerImport>(m_connection, replace);
}

} // namespace store
