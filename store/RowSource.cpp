#include "store/RowSource.h"

#include "store/Error.h"
#include "store/Sqlite.h"

#include <algorithm>

namespace store {

namespace {

using sqlite::quoteIdentifier;
using sqlite::Statement;

// Tables up to this size (the reference tables) are read whole at open.
constexpr long kSmallTable = 64;
// A column read, and no other, on this many consecutive rows is being walked, and is read in full.
constexpr long kWalkRun = 3;

class SnapshotRows final : public RowSource {
public:
    SnapshotRows(sqlite3* db, const std::string& source, int columns, std::string table)
        : m_db(db)
        , m_table(std::move(table))
        , m_rows(columns) {
        Statement statement(db, source);
        while (statement.step())
            m_rows.append(statement.get());
    }

    long count() override { return static_cast<long>(m_rows.size()); }
    bool hasRow(long row) override { return row >= 0 && row < count(); }
    FieldData field(long row, int ordinal) override {
        return m_rows.field(static_cast<std::size_t>(row), ordinal);
    }

    void appendAdded(std::int64_t rowid) override {
        Statement added(m_db, "select * from " + quoteIdentifier(m_table) + " where rowid = ?");
        added.bind(1, Value(rowid));
        if (added.step())
            m_rows.append(added.get());
    }

private:
    sqlite3* m_db;
    std::string m_table;
    RowBuffer m_rows;
};

// Reads made together, so that they all describe the same moment of the table.
class ReadTogether {
public:
    explicit ReadTogether(sqlite3* db)
        : m_db(db) {
        sqlite::execute(db, "savepoint velmorant_open");
    }
    ~ReadTogether() {
        sqlite3_exec(m_db, "rollback to velmorant_open; release velmorant_open", nullptr, nullptr, nullptr);
    }

private:
    sqlite3* m_db;
};

class TableRows final : public RowSource {
public:
    TableRows(sqlite3* db, const std::string& table, const std::vector<std::string>& columns,
              std::int64_t firstRowid, std::int64_t lastRowid)
        : m_db(db)
        , m_table(table)
        , m_from(" from " + quoteIdentifier(table))
        , m_columns(columns)
        , m_firstRowid(firstRowid)
        , m_lastRowid(lastRowid)
        , m_loaded(columns.size())
        , m_reads(columns.size())
        , m_row(static_cast<int>(columns.size())) {}

    long count() override {
        if (m_count < 0)
            countRows();
        return m_count + static_cast<long>(m_added.size());
    }

    // Before anything has counted the rows, the first ones are known to be there (open looked past
    // them): a walk then reads its column in full, and so learns the count, without a pass of its own.
    bool hasRow(long row) override {
        if (row < 0)
            return false;
        if (m_count < 0 && row <= kSmallTable)
            return true;
        return row < count();
    }

    FieldData field(long row, int ordinal) override {
        const auto column = static_cast<std::size_t>(ordinal);
        Reads& reads = m_reads[column];
        if (row == m_lastRow && ordinal != m_lastColumn) {
            // A second column of the same row: rows are being read whole (a recall, a user stepping
            // through the list), which one fetch per row serves; no column is being walked.
            for (Reads& each : m_reads)
                each.run = 0;
        } else {
            reads.run = reads.lastRow == row - 1 ? reads.run + 1 : 1;
        }
        reads.lastRow = row;
        m_lastRow = row;
        m_lastColumn = ordinal;
        if (!m_loaded[column] && reads.run >= kWalkRun)
            loadColumn(ordinal);
        if (m_loaded[column])
            return m_loaded[column]->field(static_cast<std::size_t>(row), 0);
        if (m_rowIndex != row)
            fetchRow(row);
        return m_row.field(0, ordinal);
    }

    void appendAdded(std::int64_t rowid) override {
        m_added.push_back(rowid);
        if (m_rowids)
            m_rowids->push_back(rowid);
        fetchByKey(count() - 1, rowid, true);
    }

private:
    struct Reads {
        long lastRow = -2;
        long run = 0;
    };

    // The rows there were at open: all of them, less any added since (their keys come after the last
    // key at open), read together so that both counts describe the same moment.
    void countRows() {
        ReadTogether together(m_db);
        Statement all(m_db, "select count(*)" + m_from);
        all.step();
        Statement newer(m_db, "select count(*)" + m_from + " where rowid > ?");
        newer.bind(1, Value(m_lastRowid));
        newer.step();
        knowRows(sqlite3_column_int64(all.get(), 0) - sqlite3_column_int64(newer.get(), 0));
    }

    // The first full read of the rows there were at open tells their count; each later one must find
    // as many, or another program removed some meanwhile and positions no longer mean what they meant.
    void knowRows(std::int64_t rows) {
        if (m_count < 0) {
            m_count = static_cast<long>(rows);
            m_denseKeys = m_firstRowid == 1 && m_lastRowid == m_count;
        } else if (rows != m_count) {
            throw Error(Errc::TableChanged, m_table);
        }
    }

    void loadColumn(int ordinal) {
        const std::string select =
            "select " + quoteIdentifier(m_columns[static_cast<std::size_t>(ordinal)]) + m_from;
        RowBuffer values(1);
        values.reserve(expectedRows());
        Statement statement(m_db, select + " where rowid <= ? order by rowid");
        statement.bind(1, Value(m_lastRowid));
        while (statement.step())
            values.append(statement.get());
        knowRows(static_cast<std::int64_t>(values.size()));
        Statement added(m_db, select + " where rowid = ?");
        for (const std::int64_t rowid : m_added) {
            added.bind(1, Value(rowid));
            if (!added.step())
                throw Error(Errc::TableChanged, m_table);
            values.append(added.get());
            added.reset();
        }
        m_loaded[static_cast<std::size_t>(ordinal)] = std::move(values);
    }

    // Room to make for a full read: the count when known, else the span of the keys, which is the
    // count for a table that never lost a row. Room not filled costs address space, not memory.
    std::size_t expectedRows() const {
        constexpr std::int64_t kMostRoom = std::int64_t{1} << 24;
        const std::int64_t rows = m_count >= 0 ? m_count + static_cast<std::int64_t>(m_added.size())
                                               : std::min(m_lastRowid - m_firstRowid + 1, kMostRoom);
        return static_cast<std::size_t>(std::max<std::int64_t>(rows, 0));
    }

    void loadRowids() {
        Statement statement(m_db, "select rowid" + m_from + " where rowid <= ? order by rowid");
        statement.bind(1, Value(m_lastRowid));
        std::vector<std::int64_t> rowids;
        rowids.reserve(expectedRows());
        while (statement.step())
            rowids.push_back(sqlite3_column_int64(statement.get(), 0));
        knowRows(static_cast<std::int64_t>(rowids.size()));
        rowids.insert(rowids.end(), m_added.begin(), m_added.end());
        m_rowids = std::move(rowids);
    }

    void fetchRow(long row) {
        if (m_denseKeys || m_rowids || row >= kWalkRun)
            fetchByKey(row, rowidAt(row), false);
        else
            fetchByPosition(row);
    }

    std::int64_t rowidAt(long row) {
        if (m_count < 0)
            countRows();
        if (m_denseKeys)
            return row < m_count ? row + 1 : m_added[static_cast<std::size_t>(row - m_count)];
        if (!m_rowids)
            loadRowids();
        return (*m_rowids)[static_cast<std::size_t>(row)];
    }

    void fetchByKey(long row, std::int64_t rowid, bool isNew) {
        if (!m_byKey)
            m_byKey = std::make_unique<Statement>(m_db, "select *" + m_from + " where rowid = ?");
        m_byKey->bind(1, Value(rowid));
        readRow(row, *m_byKey, isNew);
    }

    // Near the start of the table, before the keys are known, a row is found by counting.
    void fetchByPosition(long row) {
        if (!m_byPosition)
            m_byPosition = std::make_unique<Statement>(
                m_db, "select *" + m_from + " where rowid <= ? order by rowid limit 1 offset ?");
        m_byPosition->bind(1, Value(m_lastRowid));
        m_byPosition->bind(2, Value(static_cast<std::int64_t>(row)));
        readRow(row, *m_byPosition, false);
    }

    // Keeps the row `fetch` finds as the fetched row; a new row also joins the columns read in full.
    void readRow(long row, Statement& fetch, bool isNew) {
        m_row.clear();
        m_rowIndex = -1;
        const bool found = fetch.step();
        if (found) {
            m_row.append(fetch.get());
            for (std::size_t column = 0; isNew && column < m_loaded.size(); ++column)
                if (m_loaded[column])
                    m_loaded[column]->append(fetch.get(), static_cast<int>(column));
        }
        fetch.reset();
        if (!found)
            throw Error(Errc::TableChanged, m_table);
        m_rowIndex = row;
    }

    sqlite3* m_db;
    std::string m_table;
    std::string m_from;
    std::vector<std::string> m_columns;
    std::int64_t m_firstRowid; // the first and last keys at open
    std::int64_t m_lastRowid;
    long m_count = -1; // rows at open, once known
    // Keys 1 to the count, as a table that has never lost a row has them: a row's key is its position
    // plus one, and no key need be read.
    bool m_denseKeys = false;
    std::vector<std::int64_t> m_added;
    std::vector<std::optional<RowBuffer>> m_loaded;
    std::vector<Reads> m_reads;
    long m_lastRow = -2; // the last read of any column
    int m_lastColumn = -1;
    std::optional<std::vector<std::int64_t>> m_rowids; // keys by position, read when first needed
    RowBuffer m_row;                                   // the one row fetched last
    long m_rowIndex = -1;
    std::unique_ptr<Statement> m_byKey;
    std::unique_ptr<Statement> m_byPosition;
};

} // namespace

std::unique_ptr<RowSource> readAllRows(sqlite3* db, const std::string& source, int columns) {
    return std::make_unique<SnapshotRows>(db, source, columns, std::string());
}

std::unique_ptr<RowSource> readTableRows(sqlite3* db, const std::string& table,
                                         const std::vector<std::string>& columns) {
    ReadTogether together(db);
    const std::string from = " from " + quoteIdentifier(table);
    // Each in a query of its own, where SQLite finds it at once from the end of the table.
    Statement keys(db, "select (select coalesce(min(rowid), 0)" + from +
                           "), (select coalesce(max(rowid), 0)" + from + ")");
    keys.step();
    const std::int64_t firstRowid = sqlite3_column_int64(keys.get(), 0);
    const std::int64_t lastRowid = sqlite3_column_int64(keys.get(), 1);
    // Whether the table is small is found by looking past its first rows, not by counting them all; a
    // large one holds at least the rows looked past.
    Statement large(db, "select 1" + from + " limit 1 offset ?");
    large.bind(1, Value(static_cast<std::int64_t>(kSmallTable)));
    if (!large.step())
        return std::make_unique<SnapshotRows>(db, "select *" + from + " order by rowid",
                                              static_cast<int>(columns.size()), table);
    return std::make_unique<TableRows>(db, table, columns, firstRowid, lastRowid);
}

} // namespace store
