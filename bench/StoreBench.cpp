// The data layer against plain SQLite, and the pair arithmetic.
#include "ChartFiles.h"
#include "almanac/Pair.h"
#include "store/ChartIndex.h"
#include "store/Connection.h"
#include "store/Transaction.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>

namespace {

std::string connectionString(const std::filesystem::path& path) {
    return "Provider=Velmorant.SQLite;Data Source=" + path.string();
}

void ComputePair(benchmark::State& state) {
    int first = 0;
    int second = 3270;
    for (auto _ : state) {
        benchmark::DoNotOptimize(almanac::computePair(first, second));
        first = (first + 7919) % almanac::kMinutesPerCircle;
        second = (second + 104729) % almanac::kMinutesPerCircle;
    }
}
BENCHMARK(ComputePair);

// Baseline: the names read straight through SQLite.
void SqliteNames(benchmark::State& state) {
    const auto path = bench::chartDatabase(state.range(0));
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "select name from Int_Velmorant", -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(statement, 0));
            benchmark::DoNotOptimize(sqlite3_column_bytes(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close_v2(db);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same names through the store: the chart index, as start-up and every save read it.
void IndexWalk(benchmark::State& state) {
    store::Connection con;
    con.open(connectionString(bench::chartDatabase(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(store::ChartIndex::read(con).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One committed row in one write transaction, as "Save" writes it, without the names read after it.
void AddRow(benchmark::State& state) {
    store::Connection con;
    con.open(connectionString(bench::scratchCopy(state.range(0))));
    long n = 0;
    for (auto _ : state) {
        store::Transaction write(con);
        store::Statement insert =
            con.prepare("insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign,"
                        " mondeg, monmin, aksign, akdeg, akmin, amksign, amkdeg, amkmin)"
                        " values (?, 5, '24', '30', 2, '0', '0', 12, '29', '59', 1, '7', '0')");
        insert.bind(1, "Bench " + std::to_string(n++));
        insert.step();
        write.commit();
    }
}

BENCHMARK(SqliteNames)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(IndexWalk)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(AddRow)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);

} // namespace
