#include "app/ChartPrinter.h"

#include "app/ChartWheel.h"
#include "velmorant/Version.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

// Draws lines of text from `top` down and returns where the next line goes. Units are points.
double drawLines(QPainter& painter, double left, double top, double width,
                 const std::vector<std::string>& lines, double size, bool bold = false) {
    QFont font("Liberation Serif");
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(static_cast<int>(size));
    font.setBold(bold);
    painter.setFont(font);
    for (const std::string& line : lines) {
        const QRectF room(left, top, width, 1000);
        const QRectF used = painter.boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                                                 QString::fromStdString(line));
        painter.drawText(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(line));
        top += used.height();
    }
    return top;
}

double heading(QPainter& painter, double left, double top, double width, const char* text) {
    return drawLines(painter, left, top + 6, width, {text}, 12, true) + 2;
}

} // namespace

QPageSize defaultPageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

void printReport(QPagedPaintDevice& device, const form::Report& report) {
    QPainter painter(&device);
    // Work in points, whatever the device's resolution.
    const double scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, scale);
    const QRectF page(QPointF(0, 0), device.pageLayout().paintRectPoints().size());
    const double gap = 18;
    const double column = (page.width() - gap) / 2;

    double top = drawLines(painter, 0, 0, page.width(), {"Velmorant: " + report.name}, 18, true);
    double left = 0;
    if (!report.birth.empty()) {
        top = heading(painter, 0, top, column, "Birth data");
        top = drawLines(painter, 0, top, column, report.birth, 10);
    }
    top = heading(painter, 0, top, column, "Positions (sidereal)");
    top = drawLines(painter, 0, top, column, report.positions, 10);

    // The wheel in the right-hand column, beside the positions.
    const double wheelTop = drawLines(painter, 0, 0, page.width(), {" "}, 18, true);
    drawLines(painter, 0, 0, 0, {}, 10); // the wheel in the page's own face, so no other font is embedded
    paintWheel(painter, QRectF(column + gap, wheelTop, column, column * 1.12), report.chart.wheel);
    top = std::max(top, wheelTop + column * 1.12);

    top = heading(painter, left, top, page.width(), "Results");
    std::vector<std::string> results;
    for (const auto& [caption, value] : report.results)
        results.push_back(caption + ": " + value);
    top = drawLines(painter, left, top, page.width(), results, 10);
    top = heading(painter, left, top, page.width(), "Details");
    drawLines(painter, left, top, page.width(), report.details, 9);

    const std::string footer =
        "Printed " +
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString() +
        " by " + velmorant::kProductName + " " + velmorant::kProductVersion;
    drawLines(painter, 0, page.height() - 14, page.width(), {footer}, 8);
}

std::optional<QString> exportPdf(const form::Report& report, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setPageSize(defaultPageSize());
        writer.setResolution(300);
        writer.setTitle(QString::fromStdString("Velmorant: " + report.name));
        writer.setCreator(QString("%1 %2").arg(velmorant::kProductName, velmorant::kProductVersion));
        printReport(writer, report);
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

QString pdfFileName(const std::string& chartName) {
    QString name = QString::fromStdString(chartName).trimmed();
    for (QChar& c : name)
        if (c == '/' || c == '\\' || c == ':' || c.category() == QChar::Other_Control)
            c = '_';
    return (name.isEmpty() || name.startsWith('.') ? "chart" + name : name) + ".pdf";
}
