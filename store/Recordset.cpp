#include "store/Recordset.h"

#include "store/Connection.h"
#include "store/Error.h"
#include "store/RowSource.h"
#include "store/Sqlite.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace store {

namespace {

using sqlite::sameName;

// The table of a source of the form "select * from <table>"; empty for any other source, which can
// be read but not added to.
std::string tableOf(std::string_view source) {
    std::istringstream words{std::string(source)};
    std::string select, star, from, table, more;
    const auto isNameChar = [](unsigned char c) {
        return std::isalnum(c) || c == '_';
    };
    if (words >> select >> star >> from >> table && !(words >> more) && sameName(select, "select") &&
        star == "*" && sameName(from, "from") && std::ranges::all_of(table, isNameChar))
        return table;
    return {};
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::open(std::string_view source, Connection& connection, int cursorType, int lockType,
                     int options) {
    if (cursorType != kDynamicCursor || lockType != kOptimisticLock || options != kProviderDecides)
        throw std::invalid_argument(
            "Recordsets open with a dynamic cursor, optimistic locking and no options");
    if (isOpen())
        throw std::logic_error("The recordset is already open");

    sqlite3* db = connection.handle();
    std::vector<std::string> columns;
    {
        // Preparing finds a missing table and names the columns, without reading a row.
        sqlite::Statement statement(db, source);
        for (int i = 0; i < statement.columnCount(); ++i)
            columns.emplace_back(sqlite3_column_name(statement.get(), i));
    }
    std::string table = tableOf(source);
    auto rows = table.empty() ? readAllRows(db, std::string(source), static_cast<int>(columns.size()))
                              : readTableRows(db, table, columns);

    m_connection = &connection;
    m_source = source;
    m_table = std::move(table);
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    m_position = 0;
}

void Recordset::close() {
    if (!isOpen())
        throw Error(Errc::RecordsetClosed, m_source.empty() ? "this recordset" : m_source);
    m_connection = nullptr;
    m_rows.reset();
    m_columns.clear();
    m_lastLookup = {};
    m_position = 0;
}

const Connection& Recordset::connection() const {
    if (!isOpen())
        throw Error(Errc::RecordsetClosed, m_source.empty() ? "this recordset" : m_source);
    return *m_connection;
}

long Recordset::rowCount() const {
    connection();
    return m_rows->count();
}

std::string_view Recordset::what() const {
    return m_table.empty() ? std::string_view(m_source) : m_table;
}

bool Recordset::eof() const {
    connection();
    return m_position >= 0 && !m_rows->hasRow(m_position);
}

bool Recordset::bof() const {
    connection();
    return m_position < 0 || !m_rows->hasRow(0);
}

void Recordset::moveFirst() {
    connection();
    m_position = 0;
}

void Recordset::moveNext() {
    move(1);
}

void Recordset::move(long rows) {
    connection();
    const long target = m_position + rows;
    // Past the end: beyond the place just after the last row, or on from that place.
    if ((target > 0 && !m_rows->hasRow(target - 1)) || (rows > 0 && eof()))
        throw Error(Errc::MovePastEnd, what());
    if (target < -1 || (rows < 0 && m_position < 0))
        throw Error(Errc::MoveBeforeStart, what());
    m_position = target;
}

int Recordset::fieldCount() const {
    connection();
    return static_cast<int>(m_columns.size());
}

int Recordset::ordinalOf(std::string_view column) const {
    // Walks ask for the same column row after row.
    if (m_lastLookup.first == column)
        return m_lastLookup.second;
    const auto found =
        std::ranges::find_if(m_columns, [&](const std::string& name) { return sameName(name, column); });
    if (found == m_columns.end())
        throw Error(Errc::UnknownField, column);
    m_lastLookup = {std::string(column), static_cast<int>(found - m_columns.begin())};
    return m_lastLookup.second;
}

Field Recordset::field(std::string_view column) const {
    connection();
    return field(ordinalOf(column));
}

Field Recordset::field(int ordinal) const {
    if (ordinal < 0 || ordinal >= fieldCount())
        throw Error(Errc::UnknownField, "number " + std::to_string(ordinal));
    if (m_position < 0)
        throw Error(Errc::ReadBeforeStart, what());
    if (eof())
        throw Error(Errc::ReadAtEnd, what());
    const FieldData data = m_rows->field(m_position, ordinal);
    return Field(m_columns[static_cast<std::size_t>(ordinal)], data.kind, data.integer, data.real, data.text);
}

void Recordset::addNew(std::span<const std::string_view> columns, std::span<const Value> values) {
    connection();
    if (m_table.empty())
        throw Error(Errc::NotUpdatable, "the rows come from \"" + m_source + "\", not from one table");
    if (columns.size() != values.size() || columns.empty())
        throw std::invalid_argument("addNew takes as many values as columns, at least one");

    // Only names from the table's own schema reach the SQL text; the values are bound.
    std::string sql = "insert into " + sqlite::quoteIdentifier(m_table) + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? ", " : "") +
               sqlite::quoteIdentifier(m_columns[static_cast<std::size_t>(ordinalOf(columns[i]))]);
        marks += i ? ", ?" : "?";
    }
    sql += ") values (" + marks + ")";

    sqlite3* db = m_connection->handle();
    sqlite::Statement insert(db, sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        insert.bind(static_cast<int>(i + 1), values[i]);
    insert.step();

    // The new row joins these rows as the current one.
    m_rows->appendAdded(sqlite3_last_insert_rowid(db));
    m_position = rowCount() - 1;
}

} // namespace store
