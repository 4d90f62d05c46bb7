// The birth data of a stored chart: the moment and the choices its four positions were reckoned from.
// Kept in a table of its own, one row per chart, keyed by the chart's row; a file made before the table
// existed keeps working without it until the first save that has birth data to keep.
#pragma once

#include "store/Statement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class Connection;

inline constexpr std::string_view kBirthTable = "birth_data";

// The table, keyed by the chart's row. A new database has it from the start.
inline constexpr std::string_view kBirthTableSql =
    "create table if not exists birth_data (chart integer primary key, birth_date text not null,"
    " birth_time text not null, birth_zone text not null, ayanamsa text not null, karakas integer not null,"
    " node text not null)";

// As the person typed them, and the choices by their keys.
struct BirthData {
    std::string date;     // YYYY-MM-DD
    std::string time;     // HH:MM or HH:MM:SS
    std::string zone;     // a zone name or an offset
    std::string ayanamsa; // "lahiri", "raman", ...
    int karakas = 8;      // 8 or 7
    std::string node;     // "mean" or "true"

    friend bool operator==(const BirthData&, const BirthData&) = default;
};

// Makes the table when the file has none yet; part of the caller's write transaction.
void ensureBirthTable(Connection& connection);

// Keeps `birth` for the chart with key `chart`, or, with none, makes sure the chart has no birth data
// (a key can come back after its chart was removed by some other program).
void writeBirthData(Connection& connection, std::int64_t chart, const std::optional<BirthData>& birth);

// writeBirthData() for many charts in one write transaction, its statements prepared once. Makes the
// table when the file has none yet.
class BirthDataWriter {
public:
    explicit BirthDataWriter(Connection& connection);
    void write(std::int64_t chart, const std::optional<BirthData>& birth);

private:
    Statement m_keep;
    Statement m_forget;
};

// The birth data of one chart, its key bound as the one parameter; and the row it stands on, read.
inline constexpr std::string_view kBirthByChartSql =
    "select birth_date, birth_time, birth_zone, ayanamsa, karakas, node from birth_data where chart = ?";
// `first`: the column the six birth columns begin at.
BirthData birthDataRow(const Statement& statement, int first = 0);

// The birth data of the chart with key `chart`; none when it has none or the file has no such table.
std::optional<BirthData> readBirthData(const Connection& connection, std::int64_t chart);

} // namespace store
