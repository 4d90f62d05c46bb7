// Rows read from the database, each packed into a run of bytes: for each value a kind byte, then a
// variable-length whole number or a length and the text. A million stored charts take tens of
// megabytes this way, where a vector of values per row would take several times that, and the runs
// sit in blocks that are never moved or copied as more rows come in.
#pragma once

#include "store/TextArena.h"
#include "store/Value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace store {

struct FieldData {
    ValueKind kind = ValueKind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view text;
};

class RowBuffer {
public:
    explicit RowBuffer(int columns)
        : m_columns(columns) {}

    // Appends the row that `statement` currently stands on, from its column `first` on.
    void append(sqlite3_stmt* statement, int first = 0);
    // Makes room for this many rows in all, as many as are expected.
    void reserve(std::size_t rows) { m_rows.reserve(rows); }
    std::size_t size() const { return m_rows.size(); }
    void clear() {
        m_bytes.clear();
        m_rows.clear();
    }
    FieldData field(std::size_t row, int ordinal) const;

private:
    int m_columns;
    TextArena m_bytes;
    std::vector<const char*> m_rows; // where each row's run begins
    std::string m_packing;           // the row being packed
};

} // namespace store
