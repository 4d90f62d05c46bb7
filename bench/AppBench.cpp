// The program as a user meets it: start-up to a shown window, "Calculate", "Save" and a recall, each
// over a database holding N stored charts, with a bare Qt window as the baseline for start-up.
#include "ChartFiles.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "form/Database.h"
#include "store/FileStore.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

// The program opens velmorant.mdb in its current folder.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

// Lets the window be shown and painted, as a user would first see it.
void settle() {
    QCoreApplication::processEvents();
}

// Closes the window the way "Exit" does and lets Qt delete it.
void exitProgram() {
    if (Tithi_Vel* window = Module1::mainWindow())
        window->cmd_exit_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window started on `folder`; ends the run like "Exit" when it goes.
class Started {
public:
    explicit Started(const std::filesystem::path& folder) {
        InFolder in(folder);
        Module1::Main();
        settle();
        m_window = Module1::mainWindow();
        if (!m_window)
            throw std::runtime_error("the window did not start");
    }
    ~Started() { exitProgram(); }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    Tithi_Vel& window() { return *m_window; }

    // Every body row chosen: Sun Taurus 0 0, Moon Gemini 24 30, AK Leo 17 59, AmK Pisces 29 1.
    void chooseRows() {
        const int rows[4][3] = {{2, 0, 0}, {3, 24, 30}, {5, 17, 59}, {12, 29, 1}};
        for (int row = 0; row < 4; ++row) {
            m_window->lstsign(row).setListIndex(rows[row][0]);
            m_window->lstdeg(row).setListIndex(rows[row][1] + 1);
            m_window->lstmin(row).setListIndex(rows[row][2] + 1);
        }
    }

    // A stored name chosen, as a click on it would.
    void choose(int entry) {
        m_window->lstname().setListIndex(entry);
        m_window->lstname_Click();
    }

private:
    Tithi_Vel* m_window = nullptr;
};

void EmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<QWidget>();
        window->showMaximized();
        settle();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void Startup(benchmark::State& state) {
    const auto folder = bench::chartFolder(state.range(0));
    for (auto _ : state) {
        {
            InFolder in(folder);
            Module1::Main();
            settle();
        }
        state.PauseTiming();
        if (!Module1::mainWindow())
            state.SkipWithError("the window did not start");
        exitProgram();
        state.ResumeTiming();
    }
}

void Calculate(benchmark::State& state) {
    Started program(bench::chartFolder(state.range(0)));
    program.window().txtname().setText("Benchmark");
    program.chooseRows();
    for (auto _ : state)
        program.window().cmd_calc_Click();
    if (program.window().lbltithi(1).caption().empty())
        state.SkipWithError("Calculate named nothing");
}

void Save(benchmark::State& state) {
    Started program(bench::scratchFolder(state.range(0)));
    program.chooseRows();
    MessageBox::Recorder answered([](const MessageBox::Shown&) { return QMessageBox::Ok; });
    // Each save is measured on exactly N stored charts: the one saved before it is taken out again.
    store::Connection& file = dynamic_cast<store::FileStore&>(*Module1::database().con).connection();
    const std::string takeOut = "delete from Int_Velmorant where rowid > " + std::to_string(state.range(0));
    long saved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        file.execute(takeOut);
        program.window().txtname().setText("Saved by the benchmark " + std::to_string(saved++));
        state.ResumeTiming();
        program.window().cmd_save_Click();
    }
    if (answered.texts().value(0) != "Your Record Has Been Saved")
        state.SkipWithError("the save failed");
}

// The number of charts listed.
int listed() {
    return static_cast<int>(Module1::database().rsrecords.names()->size());
}

// Recall of the last stored chart, as a click on the last name would do it.
void Recall(benchmark::State& state) {
    Started program(bench::chartFolder(state.range(0)));
    const int last = listed() - 1;
    for (auto _ : state) {
        // Another chart first, so that the last one is read from the file each time.
        state.PauseTiming();
        program.choose(0);
        state.ResumeTiming();
        program.choose(last);
    }
    if (program.window().txtname().text() != bench::chartName(state.range(0) - 1))
        state.SkipWithError("the last chart was not recalled");
}

// Stepping to the next entry, as the arrow keys do through the list of names: each step recalls a
// whole chart, and none may turn into reading every stored chart.
void RecallNext(benchmark::State& state) {
    Started program(bench::chartFolder(state.range(0)));
    const int count = listed();
    int entry = count / 2;
    for (auto _ : state) {
        program.choose(entry);
        entry = entry + 1 < count ? entry + 1 : 0;
    }
}

// The first recall after start-up: the first row fetched by its key.
void FirstRecall(benchmark::State& state) {
    const auto folder = bench::chartFolder(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto program = std::make_unique<Started>(folder);
        const int last = listed() - 1;
        state.ResumeTiming();
        program->choose(last);
        state.PauseTiming();
        if (program->window().txtname().text() != bench::chartName(state.range(0) - 1))
            state.SkipWithError("the last chart was not recalled");
        program.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(EmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(Startup)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(Calculate)->Apply(bench::chartCounts)->Unit(benchmark::kMicrosecond);
BENCHMARK(Save)->Apply(bench::chartCounts)->Unit(benchmark::kMillisecond);
BENCHMARK(Recall)->Apply(bench::someChartCounts)->Unit(benchmark::kMicrosecond);
BENCHMARK(RecallNext)->Apply(bench::someChartCounts)->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstRecall)->Apply(bench::someChartCounts)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
