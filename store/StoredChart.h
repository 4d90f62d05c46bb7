// A stored chart as every store keeps it: the table Int_Velmorant, one row per person, with its birth
// data beside it; and what a save, a change and an import can find.
#pragma once

#include "store/BirthData.h"
#include "store/ChartIndex.h"
#include "store/Value.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

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

// What a save found.
struct SaveResult {
    bool saved = false; // false: the name was stored meanwhile, by another program or desk
};

// What a rename or a delete found when it took the write lock.
enum class Change {
    Done,
    NameTaken, // the new name is stored already
    Gone,      // no chart has this key and name any more: another program removed or renamed it
};

// A stored chart as it is exported: every value as stored, the signs as their list positions.
struct StoredChart {
    std::string name;
    std::array<Value, 12> positions; // per body its sign, degrees and minutes
    std::optional<BirthData> birth;
};

// What an import kept: how many charts it stored, and the names it skipped, each in the order met.
struct ImportOutcome {
    std::size_t stored = 0;
    std::vector<std::string> skipped;  // stored already
    std::vector<std::string> repeated; // met earlier in the same import
};

// Charts brought in from elsewhere, all in one write transaction: nothing is kept unless commit() runs.
// A name already stored is skipped, or, with `replace`, the stored chart and its birth data give way to
// the new one. A name brought in earlier by the same import is skipped either way: the first one stays.
class ChartImport {
public:
    virtual ~ChartImport() = default;
    virtual void add(const NewChart& chart) = 0;
    // Keeps what the import brings, in one commit, and says what became of each chart.
    virtual ImportOutcome commit() = 0;
};

} // namespace store
