// Rows read from the database, packed into one byte string: for each value a kind byte, then a
// variable-length whole number or a length and the text. A million stored charts take tens of
// megabytes this way, where a vector of values per row would take several times that.
#pragma once

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
    std::size_t size() const { return m_starts.size(); }
    void clear() {
        m_bytes.clear();
        m_starts.clear();
    }
    FieldData field(std::size_t row, int ordinal) const;

private:
    int m_columns;
    std::string m_bytes;
    std::vector<std::size_t> m_starts;
};

} // namespace store
