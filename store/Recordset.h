// Rows of a query, with a cursor that moves by position.
//
// The rows are the ones there were at open, in stored order, plus those the recordset adds itself;
// reopening reads them anew. No read keeps the file locked while the program waits for the user.
#pragma once

#include "store/Value.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

class Connection;
class RowSource;

inline constexpr int kDynamicCursor = 2;
inline constexpr int kOptimisticLock = 3;
inline constexpr int kProviderDecides = -1;

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs `source` ("select * from <table>") over `connection`. The cursor stands on the first row,
    // or at the end when there is none. Throws MissingTable when the table is not there.
    void open(std::string_view source, Connection& connection, int cursorType = kDynamicCursor,
              int lockType = kOptimisticLock, int options = kProviderDecides);
    void close();
    bool isOpen() const { return m_connection != nullptr; }

    // True when the cursor stands after the last row (always, when there are no rows).
    bool eof() const;
    // True when the cursor stands before the first row (always, when there are no rows).
    bool bof() const;

    // To the first row; with no rows the cursor stays at the end.
    void moveFirst();
    // One row on. Throws MovePastEnd when already after the last row.
    void moveNext();
    // `rows` rows on (back when negative) from the current row. Landing just after the last row or
    // just before the first is allowed; further than that throws MovePastEnd or MoveBeforeStart.
    void move(long rows);

    // A field of the current row, by column name (letter case ignored) or by 0-based ordinal. Throws
    // ReadAtEnd or ReadBeforeStart when there is no current row, UnknownField when there is no such
    // column.
    Field field(std::string_view column) const;
    Field field(int ordinal) const;
    int fieldCount() const;

    // Adds one row to the table, writing it to the file at once. `columns` and `values` are parallel
    // lists; columns left out take the table's defaults. The new row becomes the current row.
    void addNew(std::span<const std::string_view> columns, std::span<const Value> values);

private:
    const Connection& connection() const;
    long rowCount() const;
    int ordinalOf(std::string_view column) const;
    std::string_view what() const;

    Connection* m_connection = nullptr;
    std::string m_source;
    std::string m_table; // the table named by the source, when the source names just one
    std::vector<std::string> m_columns;
    mutable std::pair<std::string, int> m_lastLookup{{}, -1};
    std::unique_ptr<RowSource> m_rows;
    long m_position = 0; // -1 before the first row, rowCount() after the last
};

} // namespace store
