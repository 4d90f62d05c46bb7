// The recordsets the window works with: a cursor that moves by position over rows, and fields of the
// row it stands on. Two kinds, over the two ways the program holds rows:
//  - Recordset: a reference table, read whole when it opens.
//  - ChartRecordset: the stored charts, over the chart index; the fields of a chart beyond its name are
//    looked up by its key when first read.
#pragma once

#include "store/BirthData.h"
#include "store/ChartIndex.h"
#include "store/Table.h"
#include "store/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class ChartStore;

// A position among `count` rows: -1 before the first, count after the last.
class Cursor {
public:
    // True when the cursor stands after the last row (always, when there are no rows).
    bool eof() const;
    // True when the cursor stands before the first row (always, when there are no rows).
    bool bof() const;
    // To the first row; with no rows the cursor stays at the end.
    void moveFirst();
    // One row on. Throws MovePastEnd when already after the last row.
    void moveNext() { move(1); }
    // `rows` rows on (back when negative) from the current row. Landing just after the last row or just
    // before the first is allowed; further than that throws MovePastEnd or MoveBeforeStart.
    void move(long rows);

    bool isOpen() const { return m_open; }

protected:
    void openOver(std::string_view what, std::size_t count);
    void closeCursor();
    // The current row; throws ReadAtEnd or ReadBeforeStart when there is none.
    std::size_t currentRow() const;
    const std::string& what() const { return m_what; }

private:
    void requireOpen() const;

    std::string m_what; // the table's name, for errors
    long m_count = 0;
    long m_position = 0;
    bool m_open = false;
};

class Recordset final : public Cursor {
public:
    // Reads the table whole; the cursor stands on its first row. Throws MissingTable.
    void open(std::string_view table, const ChartStore& store);
    void close();

    // A field of the current row, by column name (letter case ignored) or by 0-based ordinal.
    Field field(std::string_view column) const;
    Field field(int ordinal) const;

    const std::string& table() const { return what(); }

private:
    Table m_rows;
};

class ChartRecordset final : public Cursor {
public:
    // Reads the chart index; the cursor stands on the first chart.
    void open(const ChartStore& store);
    // Opens again over names already read, as a save reads them inside its write.
    void open(const ChartStore& store, std::shared_ptr<const ChartIndex> names);
    void close();

    const std::shared_ptr<const ChartIndex>& names() const { return m_names; }

    // The key of the current chart.
    std::int64_t key() const { return m_names->rowid(currentRow()); }

    // The field `name` of the current chart, from the index.
    Field field(std::string_view column) const;
    // A field of the current chart by ordinal, from the chart's stored row, which is read once per
    // position. Throws ChartGone when the row with this key is gone or now holds another name.
    Field field(int ordinal) const;

    // The birth data of the current chart, read from the store; none when it has none.
    std::optional<BirthData> birthData() const;

private:
    const ChartStore* m_store = nullptr;
    std::shared_ptr<const ChartIndex> m_names;
    mutable Value m_name;
    mutable std::optional<std::size_t> m_fetchedRow;
    mutable Table m_fetched;
};

} // namespace store
