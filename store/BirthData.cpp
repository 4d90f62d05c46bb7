#include "store/BirthData.h"

#include "store/Connection.h"
#include "store/Sqlite.h"

namespace store {

void ensureBirthTable(Connection& connection) {
    connection.execute(kBirthTableSql);
}

void writeBirthData(Connection& connection, std::int64_t chart, const std::optional<BirthData>& birth) {
    if (!birth) {
        if (connection.hasTable(kBirthTable))
            connection.prepare("delete from birth_data where chart = ?").bind(1, chart).step();
        return;
    }
    ensureBirthTable(connection);
    Statement insert = connection.prepare("insert or replace into birth_data (chart, birth_date, birth_time, "
                                          "birth_zone, ayanamsa, karakas, node)"
                                          " values (?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, chart).bind(2, birth->date).bind(3, birth->time).bind(4, birth->zone);
    insert.bind(5, birth->ayanamsa).bind(6, std::int64_t{birth->karakas}).bind(7, birth->node);
    insert.step();
}

std::optional<BirthData> readBirthData(const Connection& connection, std::int64_t chart) {
    if (!connection.hasTable(kBirthTable))
        return std::nullopt;
    Statement find = connection.prepare("select birth_date, birth_time, birth_zone, ayanamsa, karakas, node"
                                        " from birth_data where chart = ?");
    find.bind(1, chart);
    if (!find.step())
        return std::nullopt;
    return BirthData{std::string(find.getText(0)),       std::string(find.getText(1)),
                     std::string(find.getText(2)),       std::string(find.getText(3)),
                     static_cast<int>(find.getInt64(4)), std::string(find.getText(5))};
}

} // namespace store
