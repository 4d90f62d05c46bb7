#include "store/BirthData.h"

#include "store/Connection.h"
#include "store/Sqlite.h"

namespace store {

void ensureBirthTable(Connection& connection) {
    connection.execute(kBirthTableSql);
}

void writeBirthData(Connection& connection, std::int64_t chart, const std::optional<BirthData>& birth) {
    if (birth || connection.hasTable(kBirthTable))
        BirthDataWriter(connection).write(chart, birth);
}

namespace {

constexpr std::string_view kKeepSql = "insert or replace into birth_data (chart, birth_date, birth_time, "
                                      "birth_zone, ayanamsa, karakas, node) values (?, ?, ?, ?, ?, ?, ?)";
constexpr std::string_view kForgetSql = "delete from birth_data where chart = ?";

Connection& withBirthTable(Connection& connection) {
    ensureBirthTable(connection);
    return connection;
}

} // namespace

BirthDataWriter::BirthDataWriter(Connection& connection)
    : m_keep(withBirthTable(connection).prepare(kKeepSql))
    , m_forget(connection.prepare(kForgetSql)) {}

void BirthDataWriter::write(std::int64_t chart, const std::optional<BirthData>& birth) {
    Statement& statement = birth ? m_keep : m_forget;
    statement.reset();
    statement.bind(1, chart);
    if (birth) {
        statement.bind(2, birth->date).bind(3, birth->time).bind(4, birth->zone);
        statement.bind(5, birth->ayanamsa).bind(6, std::int64_t{birth->karakas}).bind(7, birth->node);
    }
    statement.step();
}

BirthData birthDataRow(const Statement& statement, int first) {
    const auto text = [&](int column) {
        return std::string(statement.getText(first + column));
    };
    return {text(0), text(1), text(2), text(3), static_cast<int>(statement.getInt64(first + 4)), text(5)};
}

std::optional<BirthData> readBirthData(const Connection& connection, std::int64_t chart) {
    if (!connection.hasTable(kBirthTable))
        return std::nullopt;
    Statement find = connection.prepare(kBirthByChartSql);
    find.bind(1, chart);
    if (!find.step())
        return std::nullopt;
    return birthDataRow(find);
}

} // namespace store
