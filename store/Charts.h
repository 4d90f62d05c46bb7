// The stored charts: the table Int_Velmorant, one row per person. Every read or write here first makes
// sure that the file at the path is still the one the connection opened.
#pragma once

#include "store/BirthData.h"
#include "store/ChartIndex.h"
#include "store/Table.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class Connection;

inline constexpr std::string_view kChartTable = "Int_Velmorant";

// The columns a save writes, in the table's own order: the name, then per body its sign, degrees and
// minutes. The first position column (sunsign) stands at ordinal 2.
inline constexpr std::array<std::string_view, 13> kChartColumns{
    "name",   "sunsign", "sundeg", "sunmin",  "monsign", "mondeg", "monmin",
    "aksign", "akdeg",   "akmin",  "amksign", "amkdeg",  "amkmin",
};
inline constexpr int kFirstPositionOrdinal = 2;

// One body as stored: the sign's list position (1 Aries .. 12 Pisces), the degree and minute texts.
struct StoredBody {
    std::int16_t sign = 0;
    std::string degrees;
    std::string minutes;
};

struct NewChart {
    std::string name;
    std::array<StoredBody, 4> bodies;
    std::optional<BirthData> birth; // kept beside the chart, in the same write
};

// Whether a chart of exactly this name (same characters, same case, same length) is stored. A plain
// read: it waits for a writer's commit but never for the write lock.
bool isNameStored(const Connection& connection, std::string_view name);

// What a save found, and the stored names as the save left them.
struct SaveResult {
    bool saved = false; // false: the name was stored meanwhile, by another copy of the program
    std::shared_ptr<const ChartIndex> names;
};

// Stores `chart` as one new row in one write transaction, which also tests the name again and reads
// the names as they stand after the write.
SaveResult saveChart(Connection& connection, const NewChart& chart);

// Every column of the stored chart with this key, or an empty table when there is none.
Table readChart(const Connection& connection, std::int64_t rowid);

} // namespace store
