// "Fill positions", a repaint of the chart in each of its styles (and a drawing of it from nothing), and a
// PDF export, each beside a baseline measured in the same run.
#include "ChartFiles.h"
#include "app/ChartDrawing.h"
#include "app/ChartPrinter.h"
#include "app/ChartView.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "form/Details.h"
#include "form/Wheel.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::array<int, 4> kLongitudes{3 * 1800 + 2 * 60 + 28, 9 * 1800 + 27 * 60 + 5, 9 * 1800 + 27 * 60 + 5,
                                     10 * 1800 + 25 * 60 + 59};

// "Fill positions" on the real window: the eight bodies, their karakas, the four rows and the table.
void FillPositions(benchmark::State& state) {
    const auto folder = bench::chartFolder(0);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    Module1::Main();
    std::filesystem::current_path(previous);
    Tithi_Vel* window = Module1::mainWindow();
    window->birthPanel().setBirthData({"1990-05-17", "14:30", "Asia/Kolkata", "lahiri", 8, "mean",
                                       "Chennai, Tamil Nadu, India", "13.0878 N", "80.2785 E"});
    window->cmd_fill_Click(); // the ephemeris opens its files once, at the first need
    for (auto _ : state)
        window->cmd_fill_Click();
    if (window->lstsign(0).listIndex() <= 0)
        state.SkipWithError("the rows were not filled");
    delete window;
}

void renderLoop(benchmark::State& state, QWidget& widget) {
    widget.resize(600, 600);
    QImage image(600, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Baseline: a plain widget of the same size.
void PlainRepaint(benchmark::State& state) {
    QWidget plain;
    plain.setAutoFillBackground(true);
    renderLoop(state, plain);
}

// A chart with a lagna and the nine grahas, five of them in one sign.
form::ChartPicture fullPicture() {
    const auto at = [](int sign, int degrees, int minutes) {
        return sign * 108000 + degrees * 3600 + minutes * 60;
    };
    form::ChartPicture picture;
    picture.name = "Meera";
    picture.moment = "1990-05-17 14:30 Asia/Kolkata";
    picture.place = "Chennai, Tamil Nadu, India";
    picture.lagnaSign = 4;
    picture.points = {{"La", "Lagna", at(4, 12, 30)},     {"Su", "Sun", at(1, 2, 28)},
                      {"Mo", "Moon", at(1, 27, 5), true}, {"Ma", "Mars", at(1, 14, 10)},
                      {"Me", "Mercury", at(1, 20, 45)},   {"Ju", "Jupiter", at(1, 8, 3), false, true},
                      {"Ve", "Venus", at(0, 28, 40)},     {"Sa", "Saturn", at(9, 15, 0)},
                      {"Ra", "Rahu", at(2, 10, 20)},      {"Ke", "Ketu", at(8, 10, 20)}};
    picture.wheel = form::wheelPicture(kLongitudes);
    picture.pairNotes = {"Sun–Moon: Krishna Ashtami", "AK–AmK: Shukla Pratipada"};
    return picture;
}

// The chart in the window, repainted at the same size: its drawing is kept, so a repaint copies it.
void chartRepaint(benchmark::State& state, form::ChartStyle style) {
    ChartView view(nullptr);
    view.setChartStyle(style);
    view.showPicture(fullPicture());
    renderLoop(state, view);
}

void SouthIndianRepaint(benchmark::State& state) {
    chartRepaint(state, form::ChartStyle::SouthIndian);
}

void NorthIndianRepaint(benchmark::State& state) {
    chartRepaint(state, form::ChartStyle::NorthIndian);
}

void WheelRepaint(benchmark::State& state) {
    chartRepaint(state, form::ChartStyle::Wheel);
}

// The chart drawn from nothing, as after Calculate, a change of style or a resize.
void ChartDraw(benchmark::State& state) {
    const auto style = form::kChartStyles[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(form::chartStyleKey(style)));
    const form::ChartPicture picture = fullPicture();
    QImage image(600, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QFont("Liberation Sans"));
        paintChart(painter, QRectF(4, 4, 592, 592), picture, style);
        benchmark::DoNotOptimize(image.constBits());
    }
}

std::filesystem::path scratchPdf() {
    return bench::folder() / "chart.pdf";
}

// Baseline: a one-page PDF with only the chart's name.
void NamePdf(benchmark::State& state) {
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(scratchPdf().string()));
        writer.setPageSize(defaultPageSize());
        QPainter painter(&writer);
        painter.drawText(QPointF(100, 100), "Velmorant: Meera");
    }
}

// The page as a chart with birth data and a place prints it: the chart, the table of ten bodies, the
// place's lines, both pairs written out and the details.
void ExportPdf(benchmark::State& state) {
    form::Report report;
    report.name = "Meera";
    report.birth = {
        "Born 1990-05-17 14:30 Asia/Kolkata at Chennai, Tamil Nadu, India (UT 1990-05-17T09:00:00Z)",
        "Lahiri (Chitrapaksha) ayanamsa, 8 karakas, mean node"};
    for (const int minutes : kLongitudes)
        report.positions.push_back(form::writtenSignPosition(minutes));
    for (const form::ChartPoint& point : fullPicture().points)
        report.planets.push_back({point.name, form::writtenSignPosition(point.seconds / 60), "Rohini, pada 2",
                                  "2°28'39\"", "AK", "Atmakaraka", point.ak, false});
    report.karakas = {"AK: Moon, Taurus 27°05′", "AmK: Jupiter, Taurus 8°03′"};
    report.place = {
        "Place: Chennai, Tamil Nadu, India (13.0878 N, 80.2785 E)", "Lagna: Leo 12°30', Magha, pada 4",
        "Sunrise: 1990-05-17 05:47 +05:30; sunset: 1990-05-17 18:24 +05:30 (the centre of the Sun's "
        "disc, without refraction)",
        "Vara: Guru (Thursday)"};
    for (const char* pair : {"Outer ", "Inner "})
        for (const char* line : {"Tithi", "Nakshatra", "Yoga", "Karana"})
            report.written.emplace_back(std::string(pair) + line,
                                        "Krishna Ashtami: 8 signs 24°37′ of elongation, 24°37′ into Dhanu");
    report.details = form::detailsLines(kLongitudes, "Dhanishtha", std::nullopt);
    report.chart = fullPicture();
    for (auto _ : state)
        if (exportPdf(report, QString::fromStdString(scratchPdf().string())))
            state.SkipWithError("the export failed");
}

BENCHMARK(FillPositions)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(SouthIndianRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(NorthIndianRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(WheelRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChartDraw)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(NamePdf)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportPdf)->Unit(benchmark::kMillisecond);

} // namespace
