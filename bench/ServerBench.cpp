// The chart store on a PostgreSQL server, on a throwaway server of the benchmark's own, each figure
// beside what PostgreSQL's own client does with the same rows in the same run; `ratio` is the figure
// the goal is set on:
//   ServerStartup/N      ≤ 1.5 × psql -At -c "select name from Int_Velmorant order by id" at 1,000,000
//   ServerChartsExport   ≤ 2 × psql's \copy (select …) to a file, 1,000,000 charts
//   ServerChartsImport   ≤ 2 × psql's \copy … from a file of the same charts, into an empty store
//   ServerSave/N         ≤ 2 × one insert through libpq on an open connection
#include "ChartFiles.h"
#include "Programs.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "store/ChartStore.h"
#include "support/PgCluster.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <libpq-fe.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using testing_support::PgClient;
using testing_support::PgCluster;

constexpr long kMillion = 1'000'000;

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The columns as the table keeps them, and as an export names them.
constexpr const char* kColumns =
    "name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, akdeg, akmin,"
    " amksign, amkdeg, amkmin";
constexpr const char* kBirthColumns =
    "birth_date, birth_time, birth_zone, ayanamsa, karakas, node, place, latitude, longitude";

// A store holding `count` charts with varied names and positions, as the file benchmarks' databases
// hold them (without birth data, which an import would reckon again); made once per run.
std::string storeOf(long count) {
    static std::map<long, std::string> made;
    if (const auto found = made.find(count); found != made.end())
        return found->second;
    const std::string location = PgCluster::shared().createStore();
    PgClient client(location);
    client.execute(
        "insert into Int_Velmorant (" + std::string(kColumns) +
        ") select 'Chart ' || g || ' ' || md5(g::text), 1 + g % 12, (g % 30)::text, (g % 60)::text,"
        " 1 + (g / 12) % 12, ((g / 7) % 30)::text, ((g / 3) % 60)::text, 1 + (g / 5) % 12,"
        " ((g / 11) % 30)::text, ((g / 13) % 60)::text, 1 + (g / 17) % 12, ((g / 19) % 30)::text,"
        " ((g / 23) % 60)::text from generate_series(1, " +
        std::to_string(count) + ") g");
    client.execute("vacuum analyze");
    return made[count] = location;
}

// psql, PostgreSQL's own client, on `location`: the commands one after another, in one transaction.
// Returns the seconds it took.
double psql(const std::string& location, const std::vector<std::string>& commands) {
    std::vector<std::string> words{"psql", "-X", "-q", "-At", "-1", "-v", "ON_ERROR_STOP=1", "-d", location};
    for (const std::string& command : commands)
        words.insert(words.end(), {"-c", command});
    const auto start = Clock::now();
    if (!bench::succeeded(bench::spawn(words)))
        throw std::runtime_error("psql failed: " + commands.front());
    return seconds(start);
}

double cli(const std::vector<std::string>& words) {
    const auto start = Clock::now();
    std::vector<std::string> command{bench::programPath("velmorant-cli")};
    command.insert(command.end(), words.begin(), words.end());
    if (!bench::succeeded(bench::spawn(command)))
        throw std::runtime_error("velmorant-cli " + words[0] + " " + words[1] + " failed");
    return seconds(start);
}

void report(benchmark::State& state, double program, double baseline) {
    state.counters["baseline_s"] = baseline / static_cast<double>(state.iterations());
    state.counters["ratio"] = program / baseline;
}

// Module1::Main on a store of N charts to a shown, loaded window, beside psql listing the names.
void ServerStartup(benchmark::State& state) {
    const std::string location = storeOf(state.range(0));
    double program = 0;
    double baseline = 0;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            baseline += psql(location, {"select name from Int_Velmorant order by id"});
            auto start = Clock::now();
            state.ResumeTiming();
            Module1::Main(location);
            QCoreApplication::processEvents();
            state.PauseTiming();
            program += seconds(start);
            Tithi_Vel* window = Module1::mainWindow();
            if (!window)
                throw std::runtime_error("the window did not start");
            window->cmd_exit_Click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    report(state, program, baseline);
}

std::string exportQuery() {
    std::string query =
        "select c.name, c.sunsign, c.sundeg, c.sunmin, c.monsign, c.mondeg, c.monmin, c.aksign,"
        " c.akdeg, c.akmin, c.amksign, c.amkdeg, c.amkmin";
    for (const char* column : {"birth_date", "birth_time", "birth_zone", "ayanamsa", "karakas", "node",
                               "place", "latitude", "longitude"})
        query += std::string(", b.") + column;
    return query + " from Int_Velmorant c left join birth_data b on b.chart = c.id order by c.id";
}

void ServerChartsExport(benchmark::State& state) {
    const std::string location = storeOf(kMillion);
    const auto ours = bench::folder() / "server-export.csv";
    const auto theirs = bench::folder() / "server-copy.csv";
    double program = 0;
    double baseline = 0;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            baseline +=
                psql(location, {"\\copy (" + exportQuery() + ") to '" + theirs.string() + "' csv header"});
            state.ResumeTiming();
            program += cli({"charts", "export", "--database", location, "--output", ours.string()});
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    report(state, program, baseline);
}

void ServerChartsImport(benchmark::State& state) {
    const std::string source = storeOf(kMillion);
    const auto exchange = bench::folder() / "server-import.csv";
    const auto plain = bench::folder() / "server-import-plain.csv";
    const auto birth = bench::folder() / "server-import-birth.csv";
    double program = 0;
    double baseline = 0;
    try {
        cli({"charts", "export", "--database", source, "--output", exchange.string()});
        psql(source, {"\\copy (select " + std::string(kColumns) + " from Int_Velmorant order by id) to '" +
                          plain.string() + "' csv",
                      "\\copy (select chart, " + std::string(kBirthColumns) + " from birth_data) to '" +
                          birth.string() + "' csv"});
        const std::string target = PgCluster::shared().createStore();
        PgClient client(target);
        for (auto _ : state) {
            state.PauseTiming();
            client.execute("truncate Int_Velmorant restart identity cascade");
            // The same rows and birth data, taken by psql in one transaction.
            baseline += psql(target, {"\\copy Int_Velmorant (" + std::string(kColumns) + ") from '" +
                                          plain.string() + "' csv",
                                      "\\copy birth_data (chart, " + std::string(kBirthColumns) + ") from '" +
                                          birth.string() + "' csv"});
            client.execute("truncate Int_Velmorant restart identity cascade");
            state.ResumeTiming();
            program += cli({"charts", "import", exchange.string(), "--database", target});
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    report(state, program, baseline);
}

// One chart saved through the store on an open connection, beside one insert through libpq on another,
// each taken out again untimed so that every save meets exactly N charts.
void ServerSave(benchmark::State& state) {
    const std::string location = storeOf(state.range(0));
    PgClient client(location);
    std::unique_ptr<PGconn, decltype(&PQfinish)> plain(PQconnectdb(location.c_str()), &PQfinish);
    const std::string insert = "insert into Int_Velmorant (" + std::string(kColumns) +
                               ") values ($1, 5, '24', '30', 2, '0', '0', 12, '29', '59', 1, '7', '0')";
    double program = 0;
    double baseline = 0;
    try {
        const std::unique_ptr<store::ChartStore> charts = store::openStore(location);
        store::NewChart chart{
            "", {{{5, "24", "30"}, {2, "0", "0"}, {12, "29", "59"}, {1, "7", "0"}}}, std::nullopt};
        long n = 0;
        for (auto _ : state) {
            state.PauseTiming();
            const std::string name = "Bench " + std::to_string(n++);
            const char* values[] = {name.c_str()};
            auto start = Clock::now();
            PGresult* done =
                PQexecParams(plain.get(), insert.c_str(), 1, nullptr, values, nullptr, nullptr, 0);
            baseline += seconds(start);
            const bool inserted = PQresultStatus(done) == PGRES_COMMAND_OK;
            PQclear(done);
            if (!inserted)
                throw std::runtime_error("the plain insert failed");
            const std::string takeOut = "delete from Int_Velmorant where name = '" + name + "'";
            client.execute(takeOut);
            chart.name = name;
            start = Clock::now();
            state.ResumeTiming();
            const store::SaveResult saved = charts->saveChart(chart);
            state.PauseTiming();
            program += seconds(start);
            if (!saved.saved)
                throw std::runtime_error("the save stored nothing");
            client.execute(takeOut);
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    report(state, program, baseline);
}

BENCHMARK(ServerStartup)->Arg(1'000)->Arg(kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(ServerChartsExport)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ServerChartsImport)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ServerSave)->Arg(0)->Arg(1'000)->Unit(benchmark::kMillisecond);

} // namespace
