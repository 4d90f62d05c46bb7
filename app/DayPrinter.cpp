#include "app/DayPrinter.h"

#include "app/ChartPrinter.h"
#include "app/PageWriter.h"

#include <QPainter>

#include <algorithm>
#include <cctype>

namespace {

// The title, the place and the zone, and a rule under them.
void writeHead(PageWriter& page, const std::string& title, const std::string& place,
               const std::string& zone) {
    page.useFont(22);
    page.paragraph({title});
    page.useFont(10.5);
    page.paragraph({place, zone}, page::kQuietColour);
    page.skip(2);
    page.rule();
    page.skip(8);
}

void layOutDay(PageWriter& page, const QRectF& area, const form::DaySheet& day) {
    writeHead(page, "Panchanga for " + day.heading, day.place, day.zone);
    std::vector<std::vector<std::string>> rows{{"What", "Name or time", "Ends"}};
    for (const form::DayRow& row : day.rows)
        rows.push_back({row.what, row.name, row.ends});
    page.moveTo(page.top() +
                page.table(area.left(), page.top(), area.width(), {0.2, 0.48, 0.32}, rows, true, 12));
}

void layOutMonth(PageWriter& page, const QRectF& area, const form::MonthSheet& month) {
    writeHead(page, "Panchanga for " + month.heading, month.place, month.zone);
    QPainter& painter = page.painter();
    const double width = area.width() / 7;
    page.useFont(9);
    for (std::size_t column = 0; column < 7; ++column)
        page.lines(area.left() + static_cast<double>(column) * width + 3, page.top(), width - 6,
                   {std::string(form::kWeekdayNames[column])}, page::kQuietColour);
    page.skip(14);

    const int leading = month.days.empty() ? 0 : month.days.front().weekday;
    const int weeks = (leading + static_cast<int>(month.days.size()) + 6) / 7;
    const double legendRoom = 40;
    const double height = std::min(110.0, (area.bottom() - page.top() - legendRoom) / std::max(weeks, 1));
    const double top = page.top();
    painter.setBrush(Qt::NoBrush);
    for (const form::MonthDay& day : month.days) {
        const int at = leading + day.day - 1;
        const QRectF cell(area.left() + (at % 7) * width, top + (at / 7) * height, width, height);
        if (const QColor shade = dayTint(day); shade.isValid())
            painter.fillRect(cell, shade);
        painter.setPen(QPen(page::kRuleColour, 0.5));
        painter.drawRect(cell);
        const QRectF inside = cell.adjusted(4, 3, -4, -3);
        double y = inside.top();
        // The day's number large, the tithi, then the marks it does not already say.
        const std::vector<std::string> lines = form::cellLines(day);
        page.useFont(14);
        y += page.lines(inside.left(), y, inside.width(), {lines.front()}, page::kAccentColour);
        page.useFont(9);
        if (!day.tithi.empty())
            y += page.lines(inside.left(), y, inside.width(), {day.tithi});
        page.useFont(8.5);
        const std::vector<std::string> marks(lines.begin() + (day.tithi.empty() ? 1 : 2), lines.end());
        page.lines(inside.left(), y + 2, inside.width(), marks, page::kAccentColour);
    }
    page.moveTo(top + weeks * height + 10);
    page.useFont(8.5);
    page.paragraph({month.legend}, page::kQuietColour);
}

} // namespace

QColor dayTint(const form::MonthDay& day) {
    if (day.marks.empty() || day.tithi.empty())
        return {};
    const std::string& mark = day.marks.front();
    if (mark == "Purnima")
        return {255, 244, 196};
    if (mark == "Amavasya")
        return {222, 224, 236};
    if (mark == "Ekadashi")
        return {218, 240, 218};
    return {250, 224, 222}; // a tithi skipped
}

void printDay(QPagedPaintDevice& device, const form::DaySheet& day) {
    printPage(device, [&](QPainter& painter, const QRectF& area) {
        PageWriter page(painter, area, 1, true);
        layOutDay(page, area, day);
    });
}

void printMonth(QPagedPaintDevice& device, const form::MonthSheet& month) {
    printPage(device, [&](QPainter& painter, const QRectF& area) {
        PageWriter page(painter, area, 1, true);
        layOutMonth(page, area, month);
    });
}

std::optional<QString> exportDayPdf(const form::DaySheet& day, const QString& path) {
    return writePdf(path, QString::fromStdString("Velmorant: panchanga for " + day.heading),
                    [&](QPagedPaintDevice& device) { printDay(device, day); });
}

std::optional<QString> exportMonthPdf(const form::MonthSheet& month, const QString& path) {
    return writePdf(path, QString::fromStdString("Velmorant: panchanga for " + month.heading),
                    [&](QPagedPaintDevice& device) { printMonth(device, month); });
}

namespace {

// The place's own name, up to its first comma: "Ujjain"; none for coordinates alone.
std::string shortPlace(const std::string& place) {
    const std::string name = place.substr(0, place.find(','));
    return name.empty() || std::isdigit(static_cast<unsigned char>(name.front())) ? std::string()
                                                                                  : " " + name;
}

} // namespace

QString dayPdfFileName(const form::DaySheet& day) {
    return pdfFileName("Panchanga " + day.date + shortPlace(day.place));
}

QString monthPdfFileName(const form::MonthSheet& month) {
    return pdfFileName("Panchanga " + month.heading + shortPlace(month.place));
}
