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

// The table, keyed by the chart's row. A new database has it from the start, with the place; a file
// made before places gains their columns at the first save that has a place to keep.
inline constexpr std::string_view kBirthTableSql =
    "create table if not exists birth_data (chart integer primary key, birth_date text not null,"
    " birth_time text not null, birth_zone text not null, ayanamsa text not null, karakas integer not null,"
    " node text not null, place text, latitude text, longitude text)";

// As the person typed them, and the choices by their keys.
struct BirthData {
    std::string date;     // YYYY-MM-DD
    std::string time;     // HH:MM or HH:MM:SS
    std::string zone;     // a zone name or an offset
    std::string ayanamsa; // "lahiri", "raman", ...
    int karakas = 8;      // 8 or 7
    std::string node;     // "mean" or "true"
    // Where, as picked or typed; all three empty for a chart without a place.
    std::string place;     // "Chennai, Tamil Nadu, India"; may be empty where coordinates are typed
    std::string latitude;  // "13.0827 N", "13°04′58″N", "-33.8688"
    std::string longitude; // "80.2707 E"

    bool hasPlace() const { return !place.empty() || !latitude.empty() || !longitude.empty(); }

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
    Connection& m_connection;
    Statement m_keep; // without the place, while the file has no columns for it
    Statement m_forget;
    std::optional<Statement> m_keepPlace;
};

// Whether the birth table has the place's columns (a file from before places has not).
bool hasPlaceColumns(const Connection& connection);

// The nine columns birthDataRow() reads, for a select from the birth table under the alias `table`
// ("b."), or its own name with an empty alias; the place's as nulls where the file has no such columns.
std::string birthColumnsSql(const Connection& connection, std::string_view table = "");
// The birth data on the row a statement stands on; `first`: the column the nine columns begin at.
BirthData birthDataRow(const Statement& statement, int first = 0);

// The birth data of the chart with key `chart`; none when it has none or the file has no such table.
std::optional<BirthData> readBirthData(const Connection& connection, std::int64_t chart);

} // namespace store
