#include "store/ServerSchema.h"

#include "store/Error.h"
#include "store/PgConnection.h"
#include "store/Schema.h"
#include "store/Sql.h"
#include "store/Sqlite.h"

#include <memory>

namespace store {

namespace {

constexpr std::array<std::string_view, 5> kReferenceTables{"tithi", "rashi", "nakshatra", "yoga", "karana"};

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// The reference rows as velmorant.sql has them, read from a database it builds in memory, written into
// the same tables on the server.
void copyReferenceRows(pg::Connection& server) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, Closer> db(raw);
    sqlite::check(db.get(), rc);
    sqlite::check(db.get(),
                  sqlite3_exec(db.get(), std::string(kDatabaseSql).c_str(), nullptr, nullptr, nullptr));
    for (const std::string_view table : kReferenceTables) {
        const std::string select = "select * from " + quoteIdentifier(table) + " order by rowid";
        sqlite3_stmt* rawRows = nullptr;
        sqlite::check(db.get(), sqlite3_prepare_v2(db.get(), select.c_str(), -1, &rawRows, nullptr));
        const std::unique_ptr<sqlite3_stmt, Closer> rows(rawRows);
        const int columns = sqlite3_column_count(rows.get());
        std::string insert = "insert into " + quoteIdentifier(table) + " (";
        std::string marks;
        for (int column = 0; column < columns; ++column) {
            insert += (column ? ", " : "") + quoteIdentifier(sqlite3_column_name(rows.get(), column));
            marks += (column ? ", $" : "$") + std::to_string(column + 1);
        }
        insert += ") values (" + marks + ")";
        int step = 0;
        while ((step = sqlite3_step(rows.get())) == SQLITE_ROW) {
            pg::Params params;
            for (int column = 0; column < columns; ++column) {
                if (sqlite3_column_type(rows.get(), column) == SQLITE_INTEGER)
                    params.add(static_cast<std::int64_t>(sqlite3_column_int64(rows.get(), column)));
                else
                    params.add(reinterpret_cast<const char*>(sqlite3_column_text(rows.get(), column)));
            }
            server.execPrepared(insert, params);
        }
        if (step != SQLITE_DONE)
            sqlite::raise(db.get(), step);
    }
}

} // namespace

std::string serverTableArray() {
    std::string list = "{";
    for (const std::string_view table : kServerTables) {
        if (list.size() > 1)
            list += ',';
        list += table;
    }
    list += '}';
    return list;
}

std::string createServerDatabase(std::string_view location) {
    pg::Connection server{std::string(location)};
    server.connect();
    try {
        pg::Transaction write(server);
        const pg::Result present = server.exec("select 1 from unnest($1::text[]) as t(name)"
                                               " where to_regclass(lower(t.name)) is not null",
                                               pg::Params().add(serverTableArray()));
        if (present.rows() > 0)
            throw Error(Errc::StoreExists, server.where());
        // Names are UTF-8 text, in any script: a database keeping another encoding could not hold them.
        const std::string encoding(server.exec("show server_encoding").text(0, 0));
        if (encoding != "UTF8")
            throw Error(Errc::ServerRefused, server.where() + " keeps its text in " + encoding +
                                                 ", and Velmorant's names need UTF8 (createdb --encoding UTF8"
                                                 " --template template0)");
        server.execScript(kServerSql);
        copyReferenceRows(server);
        write.commit();
    } catch (const pg::ServerError& e) {
        // Another velmorant-initdb made them meanwhile: its tables stand, ours were never kept.
        if (e.isDuplicate() || e.sqlstate() == "42P07" || e.sqlstate() == "42723")
            throw Error(Errc::StoreExists, server.where());
        throw;
    }
    return server.where();
}

} // namespace store
