// Rows of a query held whole in memory: the reference tables (156 rows in all), or one stored chart.
#pragma once

#include "store/Value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

class Connection;
class Statement;

class Table {
public:
    Table() = default;
    // Runs `statement` to its end and keeps its column names and every row.
    explicit Table(Statement& statement);
    // Rows read some other way: `values` row after row, one per column in each.
    Table(std::vector<std::string> columns, std::vector<Value> values)
        : m_columns(std::move(columns))
        , m_columnCount(m_columns.size())
        , m_values(std::move(values)) {}

    // Every row of the table `name`, in stored order. Throws MissingTable when there is no such table.
    static Table read(const Connection& connection, std::string_view name);

    const std::vector<std::string>& columns() const { return m_columns; }
    std::size_t rowCount() const { return m_columnCount ? m_values.size() / m_columnCount : 0; }
    const Value& at(std::size_t row, std::size_t column) const {
        return m_values[row * m_columnCount + column];
    }

    // The column of this name, letter case ignored.
    std::optional<std::size_t> columnOf(std::string_view name) const;

private:
    std::vector<std::string> m_columns;
    std::size_t m_columnCount = 0;
    std::vector<Value> m_values; // row after row
};

} // namespace store
