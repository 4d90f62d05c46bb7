#include "app/ChartPrinter.h"

#include "app/ChartDrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

using page::kAccentColour;
using page::kGap;
using page::kQuietColour;

std::vector<std::vector<std::string>> planetTable(const form::Report& report) {
    std::vector<std::vector<std::string>> rows{{"Body", "Sidereal longitude", "Nakshatra", "Karaka"}};
    for (const form::PlanetRow& row : report.planets)
        rows.push_back({row.body, row.longitude, row.nakshatra, row.karakaName});
    return rows;
}

// Lays the whole page out at `scale`; returns where it ends.
double layOut(PageWriter& page, const QRectF& area, const form::Report& report, form::ChartStyle style) {
    page.useFont(22);
    page.paragraph({report.name});
    page.useFont(10.5);
    std::vector<std::string> header = report.birth;
    if (header.empty())
        header.push_back("Positions chosen by hand, without a birth moment");
    page.paragraph(header, kQuietColour);
    page.skip(2);
    page.rule();
    page.skip(6);

    // The chart on the left, the bodies beside it.
    const double chartSide = std::min(area.width() * 0.48, page.scaled(260));
    const double columnLeft = area.left() + chartSide + kGap;
    const double columnWidth = area.right() - columnLeft;
    const double chartTop = page.top();
    const double chartHeight = chartSide * chartAspect(style);
    if (page.drawing()) {
        page.painter().save();
        page.useFont(9); // the chart in the page's own face, so that no other font is embedded
        paintChart(page.painter(), QRectF(area.left(), chartTop, chartSide, chartHeight), report.chart,
                   style);
        page.painter().restore();
    }
    double y = chartTop;
    if (!report.planets.empty()) {
        y += page.table(columnLeft, y, columnWidth, {0.15, 0.31, 0.31, 0.23}, planetTable(report), true);
    } else {
        page.useFont(10.5);
        y += page.lines(columnLeft, y, columnWidth, {"Positions (sidereal)"}, kAccentColour);
        page.useFont(10);
        y += page.lines(columnLeft, y, columnWidth, report.positions);
    }
    if (!report.planets.empty()) {
        y += page.scaled(6);
        page.useFont(10.5);
        y += page.lines(columnLeft, y, columnWidth, report.karakas, kAccentColour);
    }
    if (!report.place.empty()) {
        y += page.scaled(6);
        page.useFont(9.5);
        y += page.lines(columnLeft, y, columnWidth, report.place);
    }
    page.moveTo(std::max(y, chartTop + chartHeight));

    page.heading("Results");
    const double half = (area.width() - kGap) / 2;
    const double resultsTop = page.top();
    double bottom = resultsTop;
    for (const int pair : {form::kExternal, form::kInternal}) {
        const double left = area.left() + pair * (half + kGap);
        double at = resultsTop;
        page.useFont(11);
        at += page.lines(left, at, half,
                         {pair == form::kExternal ? "Outer pair: Sun and Moon" : "Inner pair: AK and AmK"},
                         kAccentColour);
        for (const auto& [caption, value] : report.written) {
            if (caption.starts_with(pair == form::kExternal ? "Outer" : "Inner")) {
                page.useFont(9.5);
                at += page.lines(left, at, half, {caption.substr(caption.find(' ') + 1)}, kQuietColour);
                page.useFont(10);
                at += page.lines(left + page.scaled(10), at, half - page.scaled(10), {value});
            }
        }
        bottom = std::max(bottom, at);
    }
    page.moveTo(bottom);

    page.heading("Details");
    page.useFont(8.5);
    page.paragraph(report.details);
    return page.top();
}

} // namespace

void printReport(QPagedPaintDevice& device, const form::Report& report, form::ChartStyle style) {
    printPage(device, [&](QPainter& painter, const QRectF& area) {
        // As large as the page holds, up to a little above the usual size: the height at the usual size
        // tells about where that is, and a step or two down settles what wrapping changes.
        const auto heightAt = [&](double trial) {
            PageWriter measure(painter, area, trial, false);
            return layOut(measure, area, report, style) - area.top();
        };
        constexpr double kLargest = 1.2, kSmallest = 0.6, kStep = 0.05;
        const double usual = heightAt(1.0);
        double fontScale = usual <= area.height() ? 1.0 : kSmallest;
        const double estimate = std::floor(area.height() / usual / kStep) * kStep;
        if (estimate != 1.0)
            for (fontScale = std::clamp(estimate, kSmallest, kLargest);
                 fontScale > kSmallest && heightAt(fontScale) > area.height(); fontScale -= kStep) {
            }
        PageWriter page(painter, area, fontScale, true);
        layOut(page, area, report, style);
    });
}

std::optional<QString> exportPdf(const form::Report& report, const QString& path, form::ChartStyle style) {
    return writePdf(path, QString::fromStdString("Velmorant: " + report.name),
                    [&](QPagedPaintDevice& device) { printReport(device, report, style); });
}

QString pdfFileName(const std::string& chartName) {
    QString name = QString::fromStdString(chartName).trimmed();
    for (QChar& c : name)
        if (c == '/' || c == '\\' || c == ':' || c.category() == QChar::Other_Control)
            c = '_';
    return (name.isEmpty() || name.startsWith('.') ? "chart" + name : name) + ".pdf";
}
