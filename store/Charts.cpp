#include "store/Charts.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Sql.h"
#include "store/Sqlite.h"
#include "store/Transaction.h"

#include <algorithm>

namespace store {

namespace {

std::string insertSql() {
    std::string sql = "insert into " + quoteIdentifier(kChartTable) + " (";
    std::string marks;
    for (const std::string_view column : kChartColumns) {
        sql += (marks.empty() ? "" : ", ") + quoteIdentifier(column);
        marks += marks.empty() ? "?" : ", ?";
    }
    return sql + ") values (" + marks + ")";
}

std::string chartTable() {
    return quoteIdentifier(kChartTable);
}

// Finding charts by name stays quick at any size. A file made before the index gets it at its first
// rename, delete or import.
void ensureNameIndex(Connection& connection) {
    connection.execute("create index if not exists Int_Velmorant_name on Int_Velmorant (name)");
}

bool isThere(const Connection& connection, std::int64_t chart, std::string_view name) {
    Statement find = connection.prepare("select 1 from " + chartTable() + " where rowid = ? and name = ?");
    find.bind(1, chart).bind(2, name);
    return find.step();
}

void insertChart(Statement& insert, const NewChart& chart) {
    insert.reset();
    insert.bind(1, chart.name);
    int parameter = 2;
    for (const StoredBody& body : chart.bodies) {
        insert.bind(parameter++, std::int64_t{body.sign});
        insert.bind(parameter++, body.degrees);
        insert.bind(parameter++, body.minutes);
    }
    insert.step();
}

void removeChart(Connection& connection, std::int64_t chart) {
    connection.prepare("delete from " + chartTable() + " where rowid = ?").bind(1, chart).step();
    writeBirthData(connection, chart, std::nullopt);
}

} // namespace

ChartIndex ChartIndex::read(const Connection& connection) {
    connection.checkSameFile();
    if (!connection.hasTable(kChartTable))
        throw Error(Errc::MissingTable, kChartTable);
    // In rowid order, the table's own: an index on the names (a file made elsewhere may have one) must
    // not reorder the list.
    Statement walk =
        connection.prepare("select rowid, name from " + quoteIdentifier(kChartTable) + " order by rowid");
    ChartIndex index;
    while (walk.step()) {
        index.m_rowids.push_back(walk.getInt64(0));
        index.m_names += walk.getText(1);
        index.m_ends.push_back(index.m_names.size());
    }
    return index;
}

std::string_view ChartIndex::name(std::size_t position) const {
    const std::size_t begin = position == 0 ? 0 : m_ends[position - 1];
    return std::string_view(m_names).substr(begin, m_ends[position] - begin);
}

bool isNameStored(const Connection& connection, std::string_view name) {
    connection.checkSameFile();
    Statement find =
        connection.prepare("select 1 from " + quoteIdentifier(kChartTable) + " where name = ? limit 1");
    find.bind(1, name);
    return find.step();
}

SaveResult saveChart(Connection& connection, const NewChart& chart) {
    connection.checkSameFile();
    Transaction write(connection);
    // The lock may have been waited for: the file may have been swapped, or the name stored, meanwhile.
    connection.checkSameFile();
    if (isNameStored(connection, chart.name))
        return {};
    Statement insert = connection.prepare(insertSql());
    insertChart(insert, chart);
    writeBirthData(connection, connection.lastInsertRowid(), chart.birth);
    write.commit();
    return {true};
}

std::string chartByKeySql() {
    return "select * from " + chartTable() + " where rowid = ?";
}

std::optional<std::int64_t> findChart(const Connection& connection, std::string_view name) {
    connection.checkSameFile();
    Statement find =
        connection.prepare("select rowid from " + chartTable() + " where name = ? order by rowid limit 1");
    find.bind(1, name);
    if (!find.step())
        return std::nullopt;
    return find.getInt64(0);
}

namespace {

// One change to the chart with key `chart`, found under `name`: in one write transaction, once the file
// is known to be the one opened and the chart still there under that name; kept only when done.
template <typename Work>
Change changeChart(Connection& connection, std::int64_t chart, std::string_view name, Work&& work) {
    connection.checkSameFile();
    Transaction write(connection);
    connection.checkSameFile();
    ensureNameIndex(connection);
    if (!isThere(connection, chart, name))
        return Change::Gone;
    const Change change = work();
    if (change == Change::Done)
        write.commit();
    return change;
}

} // namespace

Change renameChart(Connection& connection, std::int64_t chart, std::string_view name,
                   std::string_view newName) {
    if (newName == name) {
        connection.checkSameFile();
        return isThere(connection, chart, name) ? Change::Done : Change::Gone;
    }
    return changeChart(connection, chart, name, [&] {
        if (isNameStored(connection, newName))
            return Change::NameTaken;
        connection.prepare("update " + chartTable() + " set name = ? where rowid = ?")
            .bind(1, newName)
            .bind(2, chart)
            .step();
        return Change::Done;
    });
}

Change deleteChart(Connection& connection, std::int64_t chart, std::string_view name) {
    return changeChart(connection, chart, name, [&] {
        removeChart(connection, chart);
        return Change::Done;
    });
}

void forEachChart(const Connection& connection, const std::function<void(const StoredChart&)>& visit) {
    connection.checkSameFile();
    const bool birth = connection.hasTable(kBirthTable);
    std::string sql = "select c.name";
    for (std::size_t column = 1; column < kChartColumns.size(); ++column)
        sql += ", c." + quoteIdentifier(kChartColumns[column]);
    sql += birth ? ", " + birthColumnsSql(connection, "b.") + " from " + chartTable() +
                       " c left join birth_data b on b.chart = c.rowid"
                 : " from " + chartTable() + " c";
    Statement walk = connection.prepare(sql + " order by c.rowid");
    StoredChart chart;
    while (walk.step()) {
        chart.name = walk.getText(0);
        for (int position = 0; position < 12; ++position)
            chart.positions[static_cast<std::size_t>(position)] = walk.getValue(position + 1);
        chart.birth.reset();
        if (birth && !walk.isNull(13))
            chart.birth = birthDataRow(walk, 13);
        visit(chart);
    }
}

struct FileImport::Statements {
    Statement find;
    Statement insert;
    Statement remove;
    BirthDataWriter birth;
};

FileImport::FileImport(Connection& connection, bool replace)
    : m_connection(connection)
    , m_replace(replace) {
    connection.checkSameFile();
    m_write = std::make_unique<Transaction>(connection);
    connection.checkSameFile();
    ensureNameIndex(connection);
    m_statements = std::make_unique<Statements>(Statements{
        connection.prepare("select rowid from " + chartTable() + " where name = ?"),
        connection.prepare(insertSql()),
        connection.prepare("delete from " + chartTable() + " where rowid = ?"), BirthDataWriter(connection)});
    Statement last = connection.prepare("select coalesce(max(rowid), 0) from " + chartTable());
    last.step();
    m_firstAdded = last.getInt64(0) + 1;
}

FileImport::~FileImport() = default;

void FileImport::add(const NewChart& chart) {
    // The names are looked up in the file itself, which holds the charts added so far too: no list of
    // them grows with the import.
    Statement& find = m_statements->find;
    find.reset();
    find.bind(1, chart.name);
    std::vector<std::int64_t> stored;
    while (find.step())
        stored.push_back(find.getInt64(0));
    if (std::ranges::any_of(stored, [this](std::int64_t row) { return row >= m_firstAdded; }))
        return m_outcome.repeated.push_back(chart.name);
    if (!stored.empty()) {
        if (!m_replace)
            return m_outcome.skipped.push_back(chart.name);
        for (const std::int64_t old : stored) {
            Statement& remove = m_statements->remove;
            remove.reset();
            remove.bind(1, old).step();
            m_statements->birth.write(old, std::nullopt);
        }
    }
    insertChart(m_statements->insert, chart);
    const std::int64_t added = m_connection.lastInsertRowid();
    m_statements->birth.write(added, chart.birth);
    // A replaced chart that had the largest rowid frees it for the new row: what stays of the rows
    // there before is still below.
    m_firstAdded = std::min(m_firstAdded, added);
    ++m_outcome.stored;
}

ImportOutcome FileImport::commit() {
    m_statements.reset();
    m_write->commit();
    return std::move(m_outcome);
}

} // namespace store
