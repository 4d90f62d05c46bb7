// What every page Velmorant prints shares: margins of 18 mm; one face throughout, set off by size, colour
// and rules, since each face a page uses is embedded in the PDF, which is most of the cost of writing
// one; real text, on a printer or into a PDF; the date printed and the program's name and version at the
// foot.
#pragma once

#include <QColor>
#include <QFont>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace page {

// No printer prints to the paper's edge, and few reach within a centimetre of it.
inline constexpr double kMarginMillimetres = 18;
inline constexpr double kGap = 14; // between columns and blocks, in points
inline const QColor kRuleColour(150, 150, 150);
inline const QColor kQuietColour(90, 90, 90);
inline const QColor kAccentColour(35, 45, 110); // headings and what a reader looks for first

} // namespace page

// A4, or Letter where the locale measures in inches.
QPageSize defaultPageSize();

// Writes the page from the top down, in points. With `draw` false it only measures, so that the page
// can be laid out again at a smaller size when it has more to say than one page holds at the usual one.
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
            const QRectF used = m_painter.boundingRect(room, flags, QString::fromStdString(line));
            if (m_draw)
                m_painter.drawText(room, flags, QString::fromStdString(line));
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
        paragraph({title}, page::kAccentColour);
        rule();
        skip(2);
    }

    void rule() {
        if (m_draw) {
            m_painter.setPen(QPen(page::kRuleColour, 0.5));
            m_painter.drawLine(QPointF(m_page.left(), m_top + 1), QPointF(m_page.right(), m_top + 1));
        }
        m_top += 2;
    }

    // Rows of cells in columns of the given shares of `width`, at `size` points; returns the height taken.
    double table(double left, double top, double width, const std::vector<double>& shares,
                 const std::vector<std::vector<std::string>>& rows, bool header, double size = 8.5) {
        double y = top;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            useFont(size);
            const QColor& colour = header && row == 0 ? page::kQuietColour : QColor(Qt::black);
            double x = left;
            double height = 0;
            for (std::size_t cell = 0; cell < rows[row].size() && cell < shares.size(); ++cell) {
                const double cellWidth = width * shares[cell];
                height = std::max(height, lines(x, y, cellWidth - scaled(4), {rows[row][cell]}, colour));
                x += cellWidth;
            }
            y += height + scaled(1.5);
            if (header && row == 0 && m_draw) {
                m_painter.setPen(QPen(page::kRuleColour, 0.5));
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

// One page on `device`: its margins set, the painter working in points, `layOut` drawing within the page
// less its foot, then the foot.
void printPage(QPagedPaintDevice& device,
               const std::function<void(QPainter& painter, const QRectF& area)>& layOut);

// A one-page PDF at `path`, written by `print` through a temporary file beside it that takes the name only
// once complete. Returns what went wrong, or nothing.
std::optional<QString> writePdf(const QString& path, const QString& title,
                                const std::function<void(QPagedPaintDevice& device)>& print);
