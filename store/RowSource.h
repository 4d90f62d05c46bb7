// Where a recordset's rows come from. Two ways, chosen when the recordset opens:
//  - SnapshotRows: every row of the query read at open and kept packed in memory. Used for any query,
//    and for tables small enough that reading them whole costs nothing (the reference tables).
//  - TableRows: for a large table. Nothing is read at open but the first and last keys; a column is
//    read in full only once a walk over it begins (which also tells the count), and a single row is
//    fetched by its key. A walk over the names of a million
//    stored charts then costs about what the plain query for those names costs, and reading one
//    chart stays instant at any size.
// Both keep the rows as they stood at open (plus those the recordset itself added).
#pragma once

#include "store/RowBuffer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace store {

class RowSource {
public:
    virtual ~RowSource() = default;

    virtual long count() = 0;
    // Whether there is a row at this position; cheaper than count() where the count is not known yet.
    virtual bool hasRow(long row) = 0;
    virtual FieldData field(long row, int ordinal) = 0;
    // Takes in the row with key `rowid` that was just added to the table, as the new last row.
    virtual void appendAdded(std::int64_t rowid) = 0;
};

// Runs `source` and keeps every row it returns.
std::unique_ptr<RowSource> readAllRows(sqlite3* db, const std::string& source, int columns);

// Rows of `table` (the table's name as stored), read as they are needed.
std::unique_ptr<RowSource> readTableRows(sqlite3* db, const std::string& table,
                                         const std::vector<std::string>& columns);

} // namespace store
