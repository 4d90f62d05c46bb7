// The printed chart, a page to hand a client: the chart's name, its birth moment and place; the chart
// drawing beside the table of the lagna and the grahas (or the four positions), the AK and AmK named as
// planets, the lagna, sunrise, sunset and vara; both pairs' results written out in words, and their
// details; the date printed and the program's name and version at the foot. Text is real text and the
// chart is drawn as vectors, on a printer or into a PDF.
#pragma once

#include "app/PageWriter.h"
#include "form/Chart.h"
#include "form/Report.h"

#include <QString>

#include <optional>

// Lays the report out on one page of `device`, within margins of 18 mm, with the chart drawn in `style`.
void printReport(QPagedPaintDevice& device, const form::Report& report,
                 form::ChartStyle style = form::ChartStyle::SouthIndian);

// Writes the report as a PDF at `path`, through a temporary file beside it that takes the name only once
// complete. Returns what went wrong, or nothing.
std::optional<QString> exportPdf(const form::Report& report, const QString& path,
                                 form::ChartStyle style = form::ChartStyle::SouthIndian);

// A file name for the chart's PDF: its name with what a file name may not hold replaced.
QString pdfFileName(const std::string& chartName);
