#include "store/BirthData.h"

#include "store/Connection.h"
#include "store/Sqlite.h"

#include <array>

namespace store {

void ensureBirthTable(Connection& connection) {
    connection.execute(kBirthTableSql);
}

namespace {

constexpr std::string_view kKeepSql = "insert or replace into birth_data (chart, birth_date, birth_time, "
                                      "birth_zone, ayanamsa, karakas, node) values (?, ?, ?, ?, ?, ?, ?)";
constexpr std::string_view kKeepPlaceSql =
    "insert or replace into birth_data (chart, birth_date, birth_time, birth_zone, ayanamsa, karakas, node,"
    " place, latitude, longitude) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr std::string_view kForgetSql = "delete from birth_data where chart = ?";
constexpr std::array<std::string_view, 3> kPlaceColumns{"place", "latitude", "longitude"};

Connection& withBirthTable(Connection& connection) {
    ensureBirthTable(connection);
    return connection;
}

} // namespace

bool hasPlaceColumns(const Connection& connection) {
    Statement columns =
        connection.prepare("select count(*) from pragma_table_info('birth_data') where name = ?");
    columns.bind(1, kPlaceColumns[0]);
    return columns.step() && columns.getInt64(0) > 0;
}

std::string birthColumnsSql(const Connection& connection, std::string_view table) {
    const std::string t(table);
    std::string sql = t + "birth_date, " + t + "birth_time, " + t + "birth_zone, " + t + "ayanamsa, " + t +
                      "karakas, " + t + "node";
    const bool place = hasPlaceColumns(connection);
    for (const std::string_view column : kPlaceColumns)
        sql += place ? ", " + t + std::string(column) : std::string(", null");
    return sql;
}

void writeBirthData(Connection& connection, std::int64_t chart, const std::optional<BirthData>& birth) {
    if (birth || connection.hasTable(kBirthTable))
        BirthDataWriter(connection).write(chart, birth);
}

BirthDataWriter::BirthDataWriter(Connection& connection)
    : m_connection(withBirthTable(connection))
    , m_keep(connection.prepare(kKeepSql))
    , m_forget(connection.prepare(kForgetSql)) {}

void BirthDataWriter::write(std::int64_t chart, const std::optional<BirthData>& birth) {
    if (birth && birth->hasPlace() && !m_keepPlace) {
        // Within the caller's transaction: the columns come and go with the save that needs them.
        if (!hasPlaceColumns(m_connection))
            for (const std::string_view column : kPlaceColumns)
                m_connection.execute("alter table birth_data add column " + std::string(column) + " text");
        m_keepPlace = m_connection.prepare(kKeepPlaceSql);
    }
    Statement& statement = !birth ? m_forget : birth->hasPlace() ? *m_keepPlace : m_keep;
    statement.reset();
    statement.bind(1, chart);
    if (birth) {
        statement.bind(2, birth->date).bind(3, birth->time).bind(4, birth->zone);
        statement.bind(5, birth->ayanamsa).bind(6, std::int64_t{birth->karakas}).bind(7, birth->node);
        if (birth->hasPlace())
            statement.bind(8, birth->place).bind(9, birth->latitude).bind(10, birth->longitude);
    }
    statement.step();
}

BirthData birthDataRow(const Statement& statement, int first) {
    const auto text = [&](int column) {
        return statement.isNull(first + column) ? std::string()
                                                : std::string(statement.getText(first + column));
    };
    return {text(0), text(1), text(2), text(3), static_cast<int>(statement.getInt64(first + 4)),
            text(5), text(6), text(7), text(8)};
}

std::optional<BirthData> readBirthData(const Connection& connection, std::int64_t chart) {
    if (!connection.hasTable(kBirthTable))
        return std::nullopt;
    Statement find =
        connection.prepare("select " + birthColumnsSql(connection) + " from birth_data where chart = ?");
    find.bind(1, chart);
    if (!find.step())
        return std::nullopt;
    return birthDataRow(find);
}

} // namespace store
