#include "store/Recordset.h"

#include "store/ChartStore.h"
#include "store/Error.h"
#include "store/Sqlite.h"

namespace store {

void Cursor::requireOpen() const {
    if (!m_open)
        throw Error(Errc::RecordsetClosed, m_what.empty() ? "this recordset" : m_what);
}

void Cursor::openOver(std::string_view what, std::size_t count) {
    m_what = what;
    m_count = static_cast<long>(count);
    m_position = 0;
    m_open = true;
}

void Cursor::closeCursor() {
    requireOpen();
    m_open = false;
    m_count = 0;
    m_position = 0;
}

bool Cursor::eof() const {
    requireOpen();
    return m_position >= m_count;
}

bool Cursor::bof() const {
    requireOpen();
    return m_position < 0 || m_count == 0;
}

void Cursor::moveFirst() {
    requireOpen();
    m_position = 0;
}

void Cursor::move(long rows) {
    requireOpen();
    const long target = m_position + rows;
    if (target > m_count || (rows > 0 && m_position >= m_count))
        throw Error(Errc::MovePastEnd, m_what);
    if (target < -1 || (rows < 0 && m_position < 0))
        throw Error(Errc::MoveBeforeStart, m_what);
    m_position = target;
}

std::size_t Cursor::currentRow() const {
    requireOpen();
    if (m_position < 0)
        throw Error(Errc::ReadBeforeStart, m_what);
    if (m_position >= m_count)
        throw Error(Errc::ReadAtEnd, m_what);
    return static_cast<std::size_t>(m_position);
}

void Recordset::open(std::string_view table, const ChartStore& store) {
    if (isOpen())
        throw std::logic_error("The recordset is already open");
    m_rows = store.readTable(table);
    openOver(table, m_rows.rowCount());
}

void Recordset::close() {
    closeCursor();
    m_rows = {};
}

Field Recordset::field(std::string_view column) const {
    const std::size_t row = currentRow();
    const auto ordinal = m_rows.columnOf(column);
    if (!ordinal)
        throw Error(Errc::UnknownField, column);
    return Field(m_rows.columns()[*ordinal], m_rows.at(row, *ordinal));
}

Field Recordset::field(int ordinal) const {
    const std::size_t row = currentRow();
    if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= m_rows.columns().size())
        throw Error(Errc::UnknownField, "number " + std::to_string(ordinal));
    const auto column = static_cast<std::size_t>(ordinal);
    return Field(m_rows.columns()[column], m_rows.at(row, column));
}

void ChartRecordset::open(const ChartStore& store) {
    open(store, std::make_shared<const ChartIndex>(store.readIndex()));
}

void ChartRecordset::open(const ChartStore& store, std::shared_ptr<const ChartIndex> names) {
    if (isOpen())
        throw std::logic_error("The recordset is already open");
    m_store = &store;
    m_names = std::move(names);
    m_fetchedRow.reset();
    openOver(kChartTable, m_names->size());
}

void ChartRecordset::close() {
    closeCursor();
    m_names.reset();
    m_fetchedRow.reset();
    m_fetched = {};
}

Field ChartRecordset::field(std::string_view column) const {
    const std::size_t row = currentRow();
    if (sqlite::sameName(column, "name")) {
        m_name = Value(m_names->name(row));
        return Field(kChartColumns[0], m_name);
    }
    field(0); // the row itself, read and checked
    const auto ordinal = m_fetched.columnOf(column);
    if (!ordinal)
        throw Error(Errc::UnknownField, column);
    return Field(m_fetched.columns()[*ordinal], m_fetched.at(0, *ordinal));
}

Field ChartRecordset::field(int ordinal) const {
    const std::size_t row = currentRow();
    if (m_fetchedRow != row) {
        Table fetched = m_store->readChart(m_names->rowid(row));
        // A key can come back for another chart once its own was removed; the name tells them apart.
        const auto name = fetched.columnOf("name");
        const std::string_view listed = m_names->name(row);
        const auto holds = [&](const Value& stored) {
            return stored.isNull() ? listed.empty() : Field("name", stored).toText() == listed;
        };
        if (fetched.rowCount() != 1 || !name || !holds(fetched.at(0, *name)))
            throw Error(Errc::ChartGone, "\"" + std::string(listed) + "\"");
        m_fetched = std::move(fetched);
        m_fetchedRow = row;
    }
    if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= m_fetched.columns().size())
        throw Error(Errc::UnknownField, "number " + std::to_string(ordinal));
    const auto column = static_cast<std::size_t>(ordinal);
    return Field(m_fetched.columns()[column], m_fetched.at(0, column));
}

std::optional<BirthData> ChartRecordset::birthData() const {
    return m_store->readBirthData(key());
}

} // namespace store
