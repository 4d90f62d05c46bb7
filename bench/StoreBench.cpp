// The data layer against plain SQLite, and the pair arithmetic.
#include "ChartFiles.h"
#include "almanac/Pair.h"
#include "store/Connection.h"
#include "store/Recordset.h"

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

// The same names through the layer: open the stored charts, walk them all reading `name`.
void LayerWalk(benchmark::State& state) {
    store::Connection con;
    con.open(connectionString(bench::chartDatabase(state.range(0))));
    for (auto _ : state) {
        store::Recordset rs;
        rs.open("select * from Int_Velmorant", con);
        if (!rs.eof())
            rs.moveFirst();
        while (!rs.eof()) {
            benchmark::DoNotOptimize(rs.field("name").toText());
            rs.moveNext();
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Recall's way to a row: first row, then a move by k.
void MoveToLast(benchmark::State& state) {
    store::Connection con;
    con.open(connectionString(bench::chartDatabase(state.range(0))));
    store::Recordset rs;
    rs.open("select * from Int_Velmorant", con);
    for (auto _ : state) {
        rs.moveFirst();
        rs.move(state.range(0) - 1);
        benchmark::DoNotOptimize(rs.field("name").toText());
    }
}

// One committed row, as "Save" writes it.
void AddRow(benchmark::State& state) {
    store::Connection con;
    con.open(connectionString(bench::scratchCopy(state.range(0))));
    store::Recordset rs;
    rs.open("select * from Int_Velmorant", con);
    const std::array<std::string_view, 13> columns{"name",    "sunsign", "sundeg", "sunmin", "monsign",
                                                   "mondeg",  "monmin",  "aksign", "akdeg",  "akmin",
                                                   "amksign", "amkdeg",  "amkmin"};
    long n = 0;
    for (auto _ : state) {
        const std::array<store::Value, 13> values{store::Value("Bench " + std::to_string(n++)),
                                                  std::int16_t{5},
                                                  "24",
                                                  "30",
                                                  std::int16_t{2},
                                                  "0",
                                                  "0",
                                                  std::int16_t{12},
                                                  "29",
                                                  "59",
                                                  std::int16_t{1},
                                                  "7",
                                                  "0"};
        rs.addNew(columns, values);
    }
}

BENCHMARK(SqliteNames)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(LayerWalk)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveToLast)->Apply(bench::someChartCounts)->Unit(benchmark::kMicrosecond);
BENCHMARK(AddRow)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);

} // namespace
