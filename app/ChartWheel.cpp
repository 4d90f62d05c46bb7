#include "app/ChartWheel.h"

#include "almanac/Entries.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

#include <cmath>
#include <numbers>

namespace {

constexpr int kSixteenths = 16;        // QPainter's arcs count sixteenths of a degree
const QColor kOuterColour(0, 90, 200); // the Sun–Moon pair
const QColor kInnerColour(200, 90, 0); // the AK–AmK pair
const QColor kSignShades[] = {QColor(255, 250, 225), QColor(245, 240, 210)};

QPointF onCircle(const QPointF& centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

double angleOf(int minutes) {
    return form::wheelAngle(minutes);
}

QPen pairPen(int pair, double width) {
    QPen pen(pair == form::kExternal ? kOuterColour : kInnerColour, width, Qt::SolidLine, Qt::FlatCap);
    // Told apart by pattern as well as colour: solid for the outer pair, dashed for the inner.
    if (pair == form::kInternal)
        pen.setDashPattern({1.2, 0.8});
    return pen;
}

// An arc of `sweep` degrees from `start`: whole for the outer pair, in dashes of a fixed length for the
// inner one. Drawn dash by dash, as short arcs, rather than through a dashed pen, which costs far more.
void drawPairArc(QPainter& painter, const QRectF& box, double start, double sweep, int pair, double width) {
    painter.setPen(
        QPen(pair == form::kExternal ? kOuterColour : kInnerColour, width, Qt::SolidLine, Qt::FlatCap));
    const auto arc = [&](double from, double span) {
        painter.drawArc(box, static_cast<int>(std::lround(from * kSixteenths)),
                        static_cast<int>(std::lround(span * kSixteenths)));
    };
    if (sweep <= 0)
        return;
    if (pair == form::kExternal)
        return arc(start, sweep);
    // Dashes 1.2 pen widths long with gaps of 0.8, as the legend's dashed pen draws them.
    const double degreesPerWidth = width / (box.width() / 2) * 180.0 / std::numbers::pi;
    const double dash = 1.2 * degreesPerWidth;
    const double period = 2.0 * degreesPerWidth;
    for (double done = 0; done < sweep; done += period)
        arc(start + done, std::min(dash, sweep - done));
}

void drawYogaPoint(QPainter& painter, const QPointF& at, double size, int pair) {
    QPainterPath diamond;
    diamond.moveTo(at + QPointF(0, -size));
    diamond.lineTo(at + QPointF(size, 0));
    diamond.lineTo(at + QPointF(0, size));
    diamond.lineTo(at + QPointF(-size, 0));
    diamond.closeSubpath();
    painter.setPen(QPen(pair == form::kExternal ? kOuterColour : kInnerColour, size / 3));
    painter.setBrush(Qt::white);
    painter.drawPath(diamond);
}

// Where the parts of the wheel go in an area: the largest square that leaves room for the legend under
// it, centred across the area.
struct Geometry {
    static constexpr double kLegendShare = 1.0 / 9; // the legend's height, in sides of the square

    explicit Geometry(const QRectF& area)
        : side(std::max(0.0, std::min(area.width(), area.height() / (1 + kLegendShare))))
        , legendHeight(side * kLegendShare)
        , left(area.left() + (area.width() - side) / 2)
        , radius(side / 2 * 0.97)
        , centre(left + side / 2, area.top() + side / 2)
        , signInner(radius * 0.80)
        , nakshatraInner(radius * 0.70) {}

    // The painter's face at a size in proportion to the wheel.
    void setFont(QPainter& painter, double share) const {
        QFont font = painter.font();
        font.setPixelSize(std::max(6, static_cast<int>(radius * share)));
        painter.setFont(font);
    }

    double side;
    double legendHeight;
    double left;
    double radius;
    QPointF centre;
    double signInner;
    double nakshatraInner;
};

// The signs, the nakshatra ring and the legend: the same for every chart.
void paintZodiac(QPainter& painter, const QRectF& area) {
    const Geometry g(area);
    const auto [side, legendHeight, left, radius, centre, signInner, nakshatraInner] = g;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // The twelve signs as sectors of the outer ring, with their names.
    g.setFont(painter, 0.065);
    for (int sign = 0; sign < 12; ++sign) {
        const double start = angleOf(sign * 1800);
        QPainterPath sector;
        sector.arcMoveTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), start);
        sector.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), start, 30);
        sector.arcTo(QRectF(centre.x() - signInner, centre.y() - signInner, 2 * signInner, 2 * signInner),
                     start + 30, -30);
        sector.closeSubpath();
        painter.setPen(QPen(Qt::darkGray, radius / 250));
        painter.setBrush(kSignShades[sign % 2]);
        painter.drawPath(sector);
        const QPointF middle = onCircle(centre, (radius + signInner) / 2, start + 15);
        const QString name =
            QString::fromUtf8(almanac::kSignEntries[static_cast<std::size_t>(sign + 1)].data());
        painter.setPen(Qt::black);
        painter.drawText(QRectF(middle.x() - radius / 4, middle.y() - radius / 12, radius / 2, radius / 6),
                         Qt::AlignCenter, name);
    }

    // The 27 nakshatras as a ring of divisions.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::gray, radius / 300));
    painter.drawEllipse(centre, nakshatraInner, nakshatraInner);
    for (int nakshatra = 0; nakshatra < 27; ++nakshatra) {
        const double at = angleOf(nakshatra * 800);
        painter.drawLine(onCircle(centre, nakshatraInner, at), onCircle(centre, signInner, at));
    }

    // The legend.
    const double top = area.top() + side + legendHeight * 0.05;
    const double line = legendHeight / 3;
    const char* const texts[] = {"Outer pair, Sun to Moon (solid), and its yoga point",
                                 "Inner pair, AK to AmK (dashed), and its yoga point"};
    g.setFont(painter, 0.055);
    for (const int pair : {form::kExternal, form::kInternal}) {
        const double y = top + line * pair + line / 2;
        painter.setPen(pairPen(pair, radius / 40));
        painter.drawLine(QPointF(left + radius * 0.1, y), QPointF(left + radius * 0.35, y));
        drawYogaPoint(painter, QPointF(left + radius * 0.45, y), radius / 30, pair);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(left + radius * 0.55, y - line / 2, side - radius * 0.55, line),
                         Qt::AlignVCenter | Qt::AlignLeft, texts[pair]);
    }
    painter.restore();
}

// The chart's own marks: the arcs, the yoga points and the four bodies.
void paintMarks(QPainter& painter, const QRectF& area, const form::WheelPicture& picture) {
    const Geometry g(area);
    const double radius = g.radius;
    const QPointF centre = g.centre;
    const double nakshatraInner = g.nakshatraInner;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    g.setFont(painter, 0.065);

    // Each pair's elongation, from its first body to its second in the direction of the signs.
    const double arcRadius[] = {radius * 0.58, radius * 0.46};
    for (const int pair : {form::kExternal, form::kInternal}) {
        const form::WheelArc& arc = picture.arcs[static_cast<std::size_t>(pair)];
        const double r = arcRadius[pair];
        painter.setBrush(Qt::NoBrush);
        drawPairArc(painter, QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), angleOf(arc.from),
                    arc.sweep / 60.0, pair, radius / 40);
        drawYogaPoint(painter,
                      onCircle(centre, r, angleOf(picture.yogaPoints[static_cast<std::size_t>(pair)])),
                      radius / 30, pair);
    }

    // The four bodies: a tick at the nakshatra ring, and a labelled mark at each end of its pair's arc,
    // so that the outer and the inner pair stay apart even where bodies of both coincide.
    for (std::size_t row = 0; row < picture.bodies.size(); ++row) {
        const int pair = row < 2 ? form::kExternal : form::kInternal;
        const QColor colour = pair == form::kExternal ? kOuterColour : kInnerColour;
        const double at = angleOf(picture.bodies[row].minutes);
        const double r = arcRadius[pair];
        painter.setPen(QPen(colour, radius / 80));
        painter.drawLine(onCircle(centre, nakshatraInner, at), onCircle(centre, nakshatraInner * 0.93, at));
        painter.setBrush(colour);
        painter.drawEllipse(onCircle(centre, r, at), radius / 45, radius / 45);
        const QPointF label = onCircle(centre, r - radius * 0.085, at);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(label.x() - radius / 8, label.y() - radius / 20, radius / 4, radius / 10),
                         Qt::AlignCenter, QString::fromStdString(picture.bodies[row].label));
    }

    painter.restore();
}

} // namespace

void paintWheel(QPainter& painter, const QRectF& area, const form::WheelPicture& picture) {
    paintZodiac(painter, area);
    paintMarks(painter, area, picture);
}

ChartWheel::ChartWheel(QWidget* parent)
    : QWidget(parent) {
    setObjectName("wheel");
    setAccessibleName("Chart wheel");
    setAccessibleDescription("Empty until Calculate.");
    // Reached by Tab, so that a screen reader says what it shows.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 225);
}

void ChartWheel::showPicture(const form::WheelPicture& picture) {
    m_picture = picture;
    m_drawn = {};
    setAccessibleDescription(QString::fromStdString(form::wheelDescription(picture)));
    update();
}

void ChartWheel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, "The wheel is drawn by Calculate.");
    } else {
        const qreal ratio = devicePixelRatioF();
        if (m_drawn.size() != size() * ratio) {
            m_drawn = QPixmap(size() * ratio);
            m_drawn.setDevicePixelRatio(ratio);
            m_drawn.fill(palette().color(QPalette::Window)); // opaque: copied without blending
            QPainter drawn(&m_drawn);
            drawn.setFont(font());
            paintWheel(drawn, QRectF(rect()).adjusted(4, 4, -4, -4), *m_picture);
        }
        painter.drawPixmap(0, 0, m_drawn);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
