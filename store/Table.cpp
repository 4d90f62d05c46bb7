#include "store/Table.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Sql.h"
#include "store/Sqlite.h"

#include <algorithm>

namespace store {

Table::Table(Statement& statement)
    : m_columnCount(static_cast<std::size_t>(statement.columnCount())) {
    for (int column = 0; column < statement.columnCount(); ++column)
        m_columns.emplace_back(statement.columnName(column));
    while (statement.step())
        for (int column = 0; column < statement.columnCount(); ++column)
            m_values.push_back(statement.getValue(column));
}

Table Table::read(const Connection& connection, std::string_view name) {
    if (!connection.hasTable(name))
        throw Error(Errc::MissingTable, name);
    Statement all = connection.prepare("select * from " + quoteIdentifier(name));
    return Table(all);
}

std::optional<std::size_t> Table::columnOf(std::string_view name) const {
    const auto found = std::ranges::find_if(
        m_columns, [&](const std::string& column) { return sqlite::sameName(column, name); });
    if (found == m_columns.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - m_columns.begin());
}

} // namespace store
