#include "app/ChartPrinter.h"

#include "app/ChartDrawing.h"
#include "velmorant/Version.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

// No printer prints to the paper's edge, and few reach within a centimetre of it.
constexpr double kMarginMillimetres = 18;
constexpr double kGap = 14; // between columns and blocks, in points
const QColor kRuleColour(150, 150, 150);
const QColor kQuietColour(90, 90, 90);
const QColor kAccentColour(35, 45, 110); // headings and what a reader looks for first

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Writes the page from the top down, in points. With `draw` false it only measures, so that the page
// can be laid out again at a smaller size when the chart has more to say than one page holds at the
// usual one.
class PageWriter {
public:
    PageWriter(QPainter& painter, const QRectF& page, double scale, bool draw)
        : m_painter(painter)
        , m_page(page)
        , m_scale(scale)
        , m_draw(draw)
        , m_top(page.top()) {}

    double top() const { return m_top; }
    void moveTo(double top) { m_top = top; }
    void skip(double points) { m_top += points * m_scale; }
    double scaled(double points) const { return points * m_scale; }

    // One face throughout, set off by size, colour and rules: each face a page uses is embedded in the
    // PDF, which is most of the cost of writing one.
    void useFont(double size) {
        QFont font("Liberation Serif");
        font.setStyleHint(QFont::Serif);
        // Paper needs no hinting, which would be worked out again for every size the page tries.
        font.setHintingPreference(QFont::PreferNoHinting);
        // The painter already turns points into the device's pixels; the font must not do so again.
        font.setPointSizeF(size * m_scale * 72.0 / m_painter.device()->logicalDpiY());
        m_painter.setFont(font);
    }

    // Lines of text in `left`..`left + width`, wrapped; returns the height they took.
    double lines(double left, double top, double width, const std::vector<std::string>& lines,
                 const QColor& colour = Qt::black) {
        double y = top;
        m_painter.setPen(colour);
        for (const std::string& line : lines) {
            const QRectF room(left, y, width, 10000);
            const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
            const QRectF used = m_painter.boundingRect(room, flags, text(line));
            if (m_draw)
                m_painter.drawText(room, flags, text(line));
            y += used.height();
        }
        return y - top;
    }

    // Full-width lines at the current top, which moves down past them.
    void paragraph(const std::vector<std::string>& texts, const QColor& colour = Qt::black) {
        m_top += lines(m_page.left(), m_top, m_page.width(), texts, colour);
    }

    void heading(const std::string& title) {
        skip(6);
        useFont(13);
        paragraph({title}, kAccentColour);
        rule();
        skip(2);
    }

    void rule() {
        if (m_draw) {
            m_painter.setPen(QPen(kRuleColour, 0.5));
            m_painter.drawLine(QPointF(m_page.left(), m_top + 1), QPointF(m_page.right(), m_top + 1));
        }
        m_top += 2;
    }

    // Rows of cells in columns of the given shares of `width`; returns the height taken.
    double table(double left, double top, double width, const std::vector<double>& shares,
                 const std::vector<std::vector<std::string>>& rows, bool header) {
        double y = top;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            useFont(8.5);
            const QColor& colour = header && row == 0 ? kQuietColour : QColor(Qt::black);
            double x = left;
            double height = 0;
            for (std::size_t cell = 0; cell < rows[row].size() && cell < shares.size(); ++cell) {
                const double cellWidth = width * shares[cell];
                height = std::max(height, lines(x, y, cellWidth - scaled(4), {rows[row][cell]}, colour));
                x += cellWidth;
            }
            y += height + scaled(1.5);
            if (header && row == 0 && m_draw) {
                m_painter.setPen(QPen(kRuleColour, 0.5));
                m_painter.drawLine(QPointF(left, y - scaled(1)), QPointF(left + width, y - scaled(1)));
            }
        }
        return y - top;
    }

    QPainter& painter() { return m_painter; }
    bool drawing() const { return m_draw; }

private:
    QPainter& m_painter;
    QRectF m_page;
    double m_scale;
    bool m_draw;
    double m_top;
};

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

QPageSize defaultPageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

void printReport(QPagedPaintDevice& device, const form::Report& report, form::ChartStyle style) {
    device.setPageMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
    QPainter painter(&device);
    // Work in points, whatever the device's resolution.
    const double scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, scale);
    const QRectF full(QPointF(0, 0), device.pageLayout().paintRectPoints().size());
    // A printer that keeps wider margins of its own has already moved the origin inside them.
    const double footerHeight = 16;
    const QRectF area = full.adjusted(0, 0, 0, -footerHeight);

    // As large as the page holds, up to a little above the usual size: the height at the usual size tells
    // about where that is, and a step or two down settles what wrapping changes.
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

    const std::string footer =
        "Printed " +
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString() +
        " by " + velmorant::kProductName + " " + velmorant::kProductVersion;
    PageWriter foot(
        painter, QRectF(full.left(), full.bottom() - footerHeight + 4, full.width(), footerHeight), 1, true);
    foot.useFont(8);
    foot.paragraph({footer}, kQuietColour);
}

std::optional<QString> exportPdf(const form::Report& report, const QString& path, form::ChartStyle style) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setPageSize(defaultPageSize());
        writer.setResolution(300);
        writer.setTitle(QString::fromStdString("Velmorant: " + report.name));
        writer.setCreator(QString("%1 %2").arg(velmorant::kProductName, velmorant::kProductVersion));
        printReport(writer, report, style);
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
