#include "store/ServerStore.h"

#include "store/Error.h"
#include "store/ServerSchema.h"
#include "store/Sql.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace store {

namespace {

// What the trigger of velmorant-pg.sql notifies on.
constexpr std::string_view kListen = "listen velmorant_charts";

constexpr std::string_view kIndexSql = "select id, name from Int_Velmorant order by id";
constexpr std::string_view kNameStoredSql = "select 1 from Int_Velmorant where name = $1 limit 1";
constexpr std::array<std::string_view, 9> kBirthColumnNames{"birth_date", "birth_time", "birth_zone",
                                                            "ayanamsa",   "karakas",    "node",
                                                            "place",      "latitude",   "longitude"};
constexpr std::string_view kBirthTypes =
    "birth_date text, birth_time text, birth_zone text, ayanamsa text,"
    " karakas integer, node text, place text, latitude text, longitude text";

// The columns named one after another, each after `alias` ("c.name, c.sunsign, …").
template <std::size_t N>
std::string columnList(const std::array<std::string_view, N>& columns, std::string_view alias = {}) {
    std::string list;
    for (const std::string_view column : columns) {
        if (!list.empty())
            list += ", ";
        list += alias;
        list += column;
    }
    return list;
}

const std::string kBirthColumns = columnList(kBirthColumnNames);
// The chart's columns, its name first ("name, sunsign, sundeg, …").
const std::string kChartColumnList = columnList(kChartColumns);

// The insert of a new chart, which stores nothing when the name is stored meanwhile: the constraint on
// the names waits for a desk saving the same name at the same moment, and says so once it commits.
std::string insertSql() {
    std::string marks;
    for (std::size_t column = 1; column <= kChartColumns.size(); ++column)
        marks += (column > 1 ? ", $" : "$") + std::to_string(column);
    return "insert into Int_Velmorant (" + kChartColumnList + ") values (" + marks +
           ") on conflict do nothing returning id";
}

// insertSql() and the birth data of the chart it adds, in one statement; $14 to $22: the birth data.
std::string saveWithBirthSql() {
    return "with added as (" + insertSql() + ") insert into birth_data (chart, " + kBirthColumns +
           ") select id, $14, $15, $16, $17, $18::integer, $19, $20, $21, $22 from added returning chart";
}

pg::Params chartParams(const NewChart& chart) {
    pg::Params params;
    params.add(chart.name);
    for (const StoredBody& body : chart.bodies)
        params.add(std::int64_t{body.sign}).add(body.degrees).add(body.minutes);
    return params;
}

// The birth data after a chart's parameters, as saveWithBirthSql() takes it.
void addBirthParams(pg::Params& params, const BirthData& birth) {
    params.add(birth.date).add(birth.time).add(birth.zone).add(birth.ayanamsa);
    params.add(std::int64_t{birth.karakas}).add(birth.node);
    // A chart without a place keeps nulls there, as the file does.
    for (const std::string* part : {&birth.place, &birth.latitude, &birth.longitude})
        birth.hasPlace() ? params.add(*part) : params.addNull();
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

// One field in COPY's text format: a backslash, a tab or a line break escaped, a null as \N.
void appendField(std::string& row, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '\\':
            row += "\\\\";
            break;
        case '\t':
            row += "\\t";
            break;
        case '\n':
            row += "\\n";
            break;
        case '\r':
            row += "\\r";
            break;
        default:
            row += c;
        }
    }
}

constexpr std::string_view kNull = "\\N";

// An import: one transaction on the store's connection. The charts are sent in COPY's text format into
// a table of the transaction's own, as fast as the server takes rows in; commit() then sorts them out
// in a few statements, whatever their number: a name met earlier in the import, a name stored already
// (skipped, or its chart replaced), and the rest added in the order met, with their birth data.
class ServerImport final : public ChartImport {
public:
    ServerImport(pg::Connection& connection, bool replace)
        : m_connection(connection)
        , m_replace(replace)
        , m_write(connection) {
        m_connection.exec(
            "create temporary table velmorant_import (seq bigint,"
            " name text, sunsign smallint, sundeg text, sunmin text, monsign smallint, mondeg text,"
            " monmin text, aksign smallint, akdeg text, akmin text, amksign smallint, amkdeg text,"
            " amkmin text, " +
            std::string(kBirthTypes) + ") on commit drop");
        m_connection.beginCopy("copy velmorant_import (seq, " + kChartColumnList + ", " + kBirthColumns +
                               ") from stdin");
    }

    void add(const NewChart& chart) override {
        // The order met, numbered here: the server's own numbering would cost as much as the rest.
        m_rows += std::to_string(m_count);
        m_rows += '\t';
        appendField(m_rows, chart.name);
        for (const StoredBody& body : chart.bodies) {
            m_rows += '\t';
            m_rows += std::to_string(body.sign);
            m_rows += '\t';
            appendField(m_rows, body.degrees);
            m_rows += '\t';
            appendField(m_rows, body.minutes);
        }
        if (chart.birth) {
            m_anyBirth = true;
            const BirthData& birth = *chart.birth;
            for (const std::string* part : {&birth.date, &birth.time, &birth.zone, &birth.ayanamsa}) {
                m_rows += '\t';
                appendField(m_rows, *part);
            }
            m_rows += '\t';
            m_rows += std::to_string(birth.karakas);
            m_rows += '\t';
            appendField(m_rows, birth.node);
            // A chart without a place keeps nulls there, as the file does.
            for (const std::string* part : {&birth.place, &birth.latitude, &birth.longitude}) {
                m_rows += '\t';
                if (birth.hasPlace())
                    appendField(m_rows, *part);
                else
                    m_rows += kNull;
            }
        } else {
            for (int column = 0; column < 9; ++column) {
                m_rows += '\t';
                m_rows += kNull;
            }
        }
        m_rows += '\n';
        ++m_count;
        if (m_rows.size() >= kSendAt) {
            m_connection.sendCopy(m_rows);
            m_rows.clear();
        }
    }

    ~ServerImport() override {
        if (m_copying)
            m_connection.abandonCopy();
    }

    ImportOutcome commit() override {
        m_connection.sendCopy(m_rows);
        m_rows.clear();
        m_copying = false;
        m_connection.endCopy();
        // Room to sort and match a million names in memory; the planner learns what it holds.
        m_connection.exec("set local work_mem = '256MB'");
        m_connection.exec("analyze velmorant_import");
        ImportOutcome outcome;
        // Skipped names in the order met, from the statements below.
        std::vector<std::pair<std::int64_t, std::string>> skipped;
        const auto take = [](const pg::Result& rows,
                             std::vector<std::pair<std::int64_t, std::string>>& into) {
            for (int row = 0; row < rows.rows(); ++row)
                into.emplace_back(rows.integer(row, 0), std::string(rows.text(row, 1)));
        };
        // A name stored already is skipped each time it comes, or its chart gives way to the first that
        // comes; a later one of a name this import adds is skipped either way.
        std::vector<std::pair<std::int64_t, std::string>> repeated;
        if (!m_replace)
            take(
                m_connection.exec("delete from velmorant_import i using Int_Velmorant c where c.name = i.name"
                                  " returning i.seq, i.name"),
                skipped);
        take(m_connection.exec("delete from velmorant_import i using velmorant_import j where j.name = i.name"
                               " and j.seq < i.seq returning i.seq, i.name"),
             repeated);
        if (m_replace)
            m_connection.exec("delete from Int_Velmorant c using velmorant_import i where c.name = i.name");
        // A plain insert, as quick as COPY's own, the birth data beside it in the same statement. Only
        // when another desk stored one of the names since the look above is it made again, taking each
        // row as the constraint allows, and the names it could not take are skipped as stored already.
        const std::string insert = "insert into Int_Velmorant (" + kChartColumnList + ") select " +
                                   kChartColumnList + " from velmorant_import order by seq";
        const auto withBirth = [&](const std::string& adding, std::string_view then) {
            return "with added as (" + adding + " returning id, name)" +
                   (m_anyBirth ? ", birth as (insert into birth_data (chart, " + kBirthColumns +
                                     ") select a.id, " + columnList(kBirthColumnNames, "i.") +
                                     " from added a join velmorant_import i on i.name = a.name"
                                     " where i.birth_date is not null)"
                               : std::string()) +
                   " " + std::string(then);
        };
        const std::size_t left = m_count - skipped.size() - repeated.size();
        m_connection.exec("savepoint velmorant_insert");
        try {
            outcome.stored = static_cast<std::size_t>(
                m_anyBirth ? m_connection.exec(withBirth(insert, "select count(*) from added")).integer(0, 0)
                           : m_connection.exec(insert).affected());
        } catch (const pg::ServerError& e) {
            if (!e.isDuplicate())
                throw;
            m_connection.exec("rollback to savepoint velmorant_insert");
            const pg::Result taken = m_connection.exec(
                withBirth(insert + " on conflict do nothing", "select i.seq, i.name from velmorant_import i"
                                                              " where not exists (select 1 from added a"
                                                              " where a.name = i.name)"));
            take(taken, skipped);
            outcome.stored = left - static_cast<std::size_t>(taken.rows());
        }
        m_write.commit();
        std::ranges::sort(skipped);
        std::ranges::sort(repeated);
        for (auto& [seq, name] : skipped)
            outcome.skipped.push_back(std::move(name));
        for (auto& [seq, name] : repeated)
            outcome.repeated.push_back(std::move(name));
        return outcome;
    }

private:
    // Rows go to libpq a mebibyte at a time.
    static constexpr std::size_t kSendAt = std::size_t{1} << 20;

    pg::Connection& m_connection;
    bool m_replace;
    pg::Transaction m_write;
    std::string m_rows;
    std::size_t m_count = 0;
    bool m_anyBirth = false;
    bool m_copying = true;
};

} // namespace

ServerStore::ServerStore(std::string_view location)
    : m_connection(std::string(location), std::string(kListen)) {}

std::unique_ptr<ServerStore> ServerStore::open(std::string_view location) {
    std::unique_ptr<ServerStore> store(new ServerStore(location));
    store->m_connection.connect();
    const pg::Result missing =
        store->m_connection.exec("select t.name from unnest($1::text[]) with ordinality as t(name, at)"
                                 " where to_regclass(lower(t.name)) is null order by t.at limit 1",
                                 pg::Params().add(serverTableArray()));
    if (missing.rows() > 0)
        throw Error(Errc::MissingTable, missing.text(0, 0));
    store->m_heardSession = store->m_connection.session();
    return store;
}

std::unique_ptr<ChartStore> openServerStore(std::string_view location) {
    return ServerStore::open(location);
}

bool ServerStore::changedElsewhere() {
    // A window left alone while the server was away connects again by itself, to hear the others.
    m_connection.reconnectQuietly();
    const int heard = m_connection.takeNotifications();
    const bool reconnected = m_connection.session() != m_heardSession;
    m_heardSession = m_connection.session();
    return heard > 0 || reconnected;
}

std::string ServerStore::identity() const {
    return std::string(m_connection
                           .exec("select system_identifier::text || '/' || current_database()"
                                 " from pg_control_system()")
                           .text(0, 0));
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
    return tableOf(m_connection.exec("select * from " + quoteIdentifier(found.text(0, 0)) +
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
        "select " + kBirthColumns + " from birth_data where chart = $1", pg::Params().add(key));
    if (found.rows() == 0)
        return std::nullopt;
    return birthDataRow(found, 0, 0);
}

void ServerStore::forEachChart(const std::function<void(const StoredChart&)>& visit) const {
    const std::string sql = "declare velmorant_export no scroll cursor for select " +
                            columnList(kChartColumns, "c.") + ", " + columnList(kBirthColumnNames, "b.") +
                            " from Int_Velmorant c left join birth_data b on b.chart = c.id order by c.id";

    // A cursor, read a batch at a time, so that a large table never stands whole in memory. It lives in a
    // transaction: the import's, when one is open, else its own.
    std::optional<pg::Transaction> read;
    if (!m_connection.inTransaction())
        read.emplace(m_connection);
    m_connection.exec(sql);
    // The next batch is asked for before this one is handed on, so that the server reads it meanwhile.
    constexpr std::string_view kFetch = "fetch forward 10000 from velmorant_export";
    bool asked = false;
    try {
        m_connection.sendQuery(kFetch);
        asked = true;
        StoredChart chart;
        for (;;) {
            const pg::Result batch = m_connection.receive(kFetch);
            asked = false;
            if (batch.rows() == 0)
                break;
            m_connection.sendQuery(kFetch);
            asked = true;
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
                if (asked)
                    m_connection.receive(kFetch);
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
    // One statement, so one transaction and one trip to the server: the chart with its birth data, or
    // nothing when the name is stored already or by a desk saving it at this moment.
    if (!chart.birth)
        return {m_connection.execPrepared(insertSql(), chartParams(chart)).rows() > 0};
    pg::Params params = chartParams(chart);
    addBirthParams(params, *chart.birth);
    return {m_connection.execPrepared(saveWithBirthSql(), params).rows() > 0};
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
