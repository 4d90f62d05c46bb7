#include "store/Charts.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Sqlite.h"
#include "store/Transaction.h"

namespace store {

namespace {

std::string insertSql() {
    std::string sql = "insert into " + sqlite::quoteIdentifier(kChartTable) + " (";
    std::string marks;
    for (const std::string_view column : kChartColumns) {
        sql += (marks.empty() ? "" : ", ") + sqlite::quoteIdentifier(column);
        marks += marks.empty() ? "?" : ", ?";
    }
    return sql + ") values (" + marks + ")";
}

} // namespace

ChartIndex ChartIndex::read(const Connection& connection) {
    connection.checkSameFile();
    if (!connection.hasTable(kChartTable))
        throw Error(Errc::MissingTable, kChartTable);
    // In rowid order, the table's own: an index on the names (a file made elsewhere may have one) must
    // not reorder the list.
    Statement walk = connection.prepare("select rowid, name from " + sqlite::quoteIdentifier(kChartTable) +
                                        " order by rowid");
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
    Statement find = connection.prepare("select 1 from " + sqlite::quoteIdentifier(kChartTable) +
                                        " where name = ? limit 1");
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
    insert.bind(1, chart.name);
    int parameter = 2;
    for (const StoredBody& body : chart.bodies) {
        insert.bind(parameter++, std::int64_t{body.sign});
        insert.bind(parameter++, body.degrees);
        insert.bind(parameter++, body.minutes);
    }
    insert.step();
    writeBirthData(connection, connection.lastInsertRowid(), chart.birth);
    auto names = std::make_shared<const ChartIndex>(ChartIndex::read(connection));
    write.commit();
    return {true, std::move(names)};
}

Table readChart(const Connection& connection, std::int64_t rowid) {
    connection.checkSameFile();
    Statement row =
        connection.prepare("select * from " + sqlite::quoteIdentifier(kChartTable) + " where rowid = ?");
    row.bind(1, rowid);
    return Table(row);
}

} // namespace store
