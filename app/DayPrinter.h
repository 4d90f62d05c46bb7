// The Day tab on paper: the day's panchanga as a table, or the month as a grid of its days, each on one
// page with the place, its coordinates and zone at the head, in the margins and the one face of the
// chart's page, as real text on a printer or into a PDF.
#pragma once

#include "form/DayForm.h"

#include <QColor>
#include <QString>

#include <optional>

class QPagedPaintDevice;

void printDay(QPagedPaintDevice& device, const form::DaySheet& day);
void printMonth(QPagedPaintDevice& device, const form::MonthSheet& month);

// The shade of a marked day in the grid, on the screen and on paper, after its first mark; none for a
// day without one. The marks themselves are in words in the cell.
QColor dayTint(const form::MonthDay& day);

// Writes the page as a PDF at `path`; returns what went wrong, or nothing.
std::optional<QString> exportDayPdf(const form::DaySheet& day, const QString& path);
std::optional<QString> exportMonthPdf(const form::MonthSheet& month, const QString& path);

// The name offered for the PDF: "Panchanga 2026-12-08 Ujjain.pdf", "Panchanga December 2026 Ujjain.pdf".
QString dayPdfFileName(const form::DaySheet& day);
QString monthPdfFileName(const form::MonthSheet& month);
