// The printed chart: one page with the chart's name, its birth data, the four positions, both pairs'
// results and details, the wheel, the date printed and the program's name and version. Text is real
// text and the wheel is drawn as vectors, on a printer or into a PDF.
#pragma once

#include "form/Report.h"

#include <QPageSize>
#include <QString>

#include <optional>

class QPagedPaintDevice;

// A4, or Letter where the locale measures in inches.
QPageSize defaultPageSize();

// Lays the report out on one page of `device`.
void printReport(QPagedPaintDevice& device, const form::Report& report);

// Writes the report as a PDF at `path`, through a temporary file beside it that takes the name only once
// complete. Returns what went wrong, or nothing.
std::optional<QString> exportPdf(const form::Report& report, const QString& path);

// A file name for the chart's PDF: its name with what a file name may not hold replaced.
QString pdfFileName(const std::string& chartName);
