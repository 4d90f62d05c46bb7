#include "app/ChartDrawing.h"

#include "almanac/Names.h"
#include "form/ChartLayout.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace {

constexpr int kSixteenths = 16;        // QPainter's arcs count sixteenths of a degree
const QColor kOuterColour(0, 90, 200); // the Sun–Moon pair
const QColor kInnerColour(200, 90, 0); // the AK–AmK pair
const QColor kLagnaColour(170, 0, 0);  // the lagna
const QColor kSignShades[] = {QColor(255, 250, 225), QColor(245, 240, 210)};
const QColor kLagnaShade(255, 236, 214); // the lagna's cell or house
const QColor kLineColour(90, 90, 90);
const QColor kQuietText(110, 110, 110); // sign names and numbers

// The smallest size text is drawn at while there is any other way to make room: in pixels on a screen,
// in points on paper, where small print stays sharp.
constexpr int kLegibleOnScreen = 8;
constexpr int kLegibleOnPaper = 5;

QPointF toQt(const form::Point& p) {
    return {p.x, p.y};
}

form::Box toBox(const QRectF& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

QRectF toQt(const form::Box& b) {
    return {b.left, b.top, b.width, b.height};
}

QPolygonF toQt(const form::Polygon& polygon) {
    QPolygonF out;
    for (const form::Point& p : polygon)
        out << toQt(p);
    return out;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

double normalised(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

// Where a longitude in arc-seconds stands on the wheel.
double angleOfSeconds(int seconds) {
    return normalised(180.0 + seconds / 3600.0);
}

// The colour a point is told apart by: the lagna's own, each pair's, or black.
QColor pointColour(const form::ChartPoint& point) {
    if (point.abbreviation == "La")
        return kLagnaColour;
    if (point.abbreviation == "Su" || point.abbreviation == "Mo")
        return kOuterColour;
    if (point.ak || point.amk)
        return kInnerColour;
    return Qt::black;
}

// The painter with the drawing's one font family, and where the texts drawn are noted.
class Ink {
public:
    Ink(QPainter& onto, std::vector<DrawnLabel>* labels)
        : painter(onto)
        , legible(dynamic_cast<QPagedPaintDevice*>(onto.device()) ? kLegibleOnPaper : kLegibleOnScreen)
        , m_face(onto.font())
        , m_labels(labels) {}

    QFont font(int pixels, bool bold = false) const {
        QFont font = m_face;
        font.setPixelSize(std::max(1, pixels));
        font.setBold(bold);
        return font;
    }

    // The metrics of a font at a whole size, kept once measured.
    const QFontMetricsF& metrics(int pixels, bool bold = false) {
        const int key = pixels * 2 + (bold ? 1 : 0);
        auto at = m_metrics.find(key);
        if (at == m_metrics.end())
            at = m_metrics.emplace(key, QFontMetricsF(font(pixels, bold), painter.device())).first;
        return at->second;
    }

    // One line of text in the middle of `box`.
    void line(const QRectF& box, const QString& text, int pixels, const QColor& colour, bool bold = false) {
        painter.setFont(font(pixels, bold));
        painter.setPen(colour);
        painter.drawText(box, Qt::AlignCenter, text);
        const QFontMetricsF& m = metrics(pixels, bold);
        const double width = m.horizontalAdvance(text);
        note(text,
             QRectF(box.center().x() - width / 2, box.center().y() - m.height() / 2, width, m.height()));
    }

    // Text wrapped at the width of `box`, from its top, centred across it; returns where it ends.
    double paragraph(const QRectF& box, const QString& text, int pixels, const QColor& colour, bool bold) {
        painter.setFont(font(pixels, bold));
        painter.setPen(colour);
        constexpr int kFlags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;
        const QRectF used = metrics(pixels, bold).boundingRect(box, kFlags, text);
        painter.drawText(box, kFlags, text);
        note(text, used);
        return used.bottom();
    }

    // One line along a ring: its middle at `radius` and `angle` about `centre`, its foot toward the
    // centre on the upper half and away from it on the lower, so that it never reads upside down.
    void alongRing(const QPointF& centre, double angle, double radius, const QString& text, int pixels,
                   const QColor& colour) {
        const form::Point middle = form::onRing({centre.x(), centre.y()}, radius, angle);
        const double a = normalised(angle);
        const double turn = a < 180 ? 90 - a : 270 - a;
        const QFontMetricsF& m = metrics(pixels);
        const double width = m.horizontalAdvance(text);
        const QRectF box(-width / 2 - m.height(), -m.height() / 2, width + 2 * m.height(), m.height());
        painter.save();
        painter.translate(toQt(middle));
        painter.rotate(turn);
        painter.setFont(font(pixels));
        painter.setPen(colour);
        painter.drawText(box, Qt::AlignCenter, text);
        painter.restore();
        QTransform placed;
        placed.translate(middle.x, middle.y);
        placed.rotate(turn);
        note(text, placed.map(QRectF(-width / 2, -m.height() / 2, width, m.height())));
    }

    QPainter& painter;
    const int legible;

private:
    void note(const QString& text, const QRectF& rect) { note(text, QPolygonF(rect)); }
    void note(const QString& text, const QPolygonF& outline) {
        if (m_labels)
            m_labels->push_back({text, outline});
    }

    QFont m_face;
    std::vector<DrawnLabel>* m_labels;
    std::map<int, QFontMetricsF> m_metrics;
};

// The largest whole size at most `largest` at which `text` fits `box` on one line; 0 if none does.
int oneLineSize(Ink& ink, const QString& text, const QRectF& box, int largest) {
    for (int size = largest; size > 0; --size) {
        const QFontMetricsF& m = ink.metrics(size);
        if (m.horizontalAdvance(text) <= box.width() && m.height() <= box.height())
            return size;
    }
    return 0;
}

struct Paragraph {
    QString text;
    bool bold = false;
    double scale = 1;       // of the block's size
    double spaceBefore = 0; // in the block's size
};

// Paragraphs one under another, each wrapped and centred, at the largest size up to `largest` at which
// they all fit `box`, and vertically centred in it.
void paintParagraphs(Ink& ink, const QRectF& box, const std::vector<Paragraph>& paragraphs, int largest) {
    constexpr int kFlags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;
    for (int size = largest; size > 0; --size) {
        double height = 0;
        bool fits = true;
        for (const Paragraph& p : paragraphs) {
            const int pixels = static_cast<int>(std::lround(size * p.scale));
            const QRectF used = ink.metrics(pixels, p.bold).boundingRect(box, kFlags, p.text);
            fits = fits && used.width() <= box.width();
            height += used.height() + size * (0.3 + p.spaceBefore);
        }
        if (!fits || height > box.height())
            continue;
        double top = box.top() + (box.height() - height) / 2;
        for (const Paragraph& p : paragraphs) {
            const int pixels = static_cast<int>(std::lround(size * p.scale));
            top += size * p.spaceBefore;
            top = ink.paragraph(QRectF(box.left(), top, box.width(), box.bottom() - top), p.text, pixels,
                                Qt::black, p.bold) +
                  size * 0.3;
        }
        return;
    }
}

// The points' entries stacked in a room, at the largest size up to `largest` at which they all fit.
void paintEntries(Ink& ink, const form::Polygon& room, const std::vector<const form::ChartPoint*>& points,
                  int largest) {
    if (points.empty())
        return;
    std::vector<QString> texts;
    for (const form::ChartPoint* point : points)
        texts.push_back(qs(form::pointLabel(*point)));
    const form::EntryWidth width = [&](std::size_t entry, int size) {
        return ink.metrics(size).horizontalAdvance(texts[entry]) + size * 0.2;
    };
    const form::LineHeight lineHeight = [&](int size) {
        return ink.metrics(size).height() * 1.05;
    };
    const form::Stack stack =
        form::stackEntries(room, points.size(), width, lineHeight, largest, std::min(largest, ink.legible));
    if (stack.size == 0)
        return;
    for (std::size_t entry = 0; entry < points.size(); ++entry)
        ink.line(toQt(stack.boxes[entry]), texts[entry], stack.size, pointColour(*points[entry]));
}

std::vector<const form::ChartPoint*> pointsIn(const std::vector<form::ChartPoint>& points, int sign) {
    std::vector<const form::ChartPoint*> here;
    for (const form::ChartPoint& point : points)
        if (form::signOf(point.seconds) == sign)
            here.push_back(&point);
    return here;
}

std::optional<int> lagnaOf(const form::ChartPicture& picture) {
    if (picture.lagnaSign && *picture.lagnaSign >= 0 && *picture.lagnaSign < form::kSigns)
        return picture.lagnaSign;
    return std::nullopt;
}

// What the square charts say in words beside the signs: the chart's name, its birth moment and place,
// and the pairs' notes, under one another or, where `joined`, the moment and place on one line and the
// notes on another.
std::vector<Paragraph> caption(const form::ChartPicture& picture, bool joined) {
    std::vector<Paragraph> paragraphs;
    if (!picture.name.empty())
        paragraphs.push_back({qs(picture.name), false, 1.35});
    const auto add = [&](const std::vector<std::string>& texts, double spaceBefore) {
        QStringList shown;
        for (const std::string& text : texts)
            if (!text.empty())
                shown.append(qs(text));
        if (joined && !shown.isEmpty())
            shown = QStringList{shown.join(QString::fromUtf8("  \u00b7  "))};
        for (const QString& text : shown) {
            paragraphs.push_back({text, false, 1, spaceBefore});
            spaceBefore = 0;
        }
    };
    add({picture.moment, picture.place}, 0);
    add({picture.pairNotes[0], picture.pairNotes[1]}, paragraphs.empty() ? 0 : 0.6);
    return paragraphs;
}

// --- South Indian ---------------------------------------------------------------------------------

void paintSouthIndian(Ink& ink, const QRectF& area, const form::ChartPicture& picture) {
    QPainter& painter = ink.painter;
    const double side = std::min(area.width(), area.height());
    const QRectF square(area.left() + (area.width() - side) / 2, area.top(), side, side);
    const auto unit = [&](const form::Box& b) {
        return QRectF(square.left() + b.left * side, square.top() + b.top * side, b.width * side,
                      b.height * side);
    };
    const std::optional<int> lagna = lagnaOf(picture);
    const std::vector<form::ChartPoint> points = form::chartPoints(picture);
    const double cell = side / 4;
    const double margin = cell * 0.05;
    const double band = cell * 0.18; // the sign's name, over its entries
    const int entrySize = std::max(1, static_cast<int>(side / 40));

    // The signs' names, all at one size: the largest at which the longest fits its band.
    int nameSize = std::max(1, static_cast<int>(side / 52));
    for (int sign = 0; sign < form::kSigns; ++sign) {
        const QString name = qs(std::string(almanac::kSignNames[static_cast<std::size_t>(sign)]));
        nameSize = std::min(nameSize, oneLineSize(ink, name, QRectF(0, 0, cell - 2 * band, band), nameSize));
    }

    painter.setPen(QPen(kLineColour, std::max(0.5, side / 400)));
    for (int sign = 0; sign < form::kSigns; ++sign) {
        const QRectF box = unit(form::southIndianBox(sign));
        painter.setBrush(lagna == sign ? kLagnaShade : kSignShades[0]);
        painter.drawRect(box);
        if (lagna == sign) // the lagna's cell, marked across its corner as is customary
            painter.drawLine(QPointF(box.left(), box.top() + band), QPointF(box.left() + band, box.top()));
    }
    painter.setBrush(Qt::white);
    painter.drawRect(unit(form::kSouthIndianMiddle));

    for (int sign = 0; sign < form::kSigns; ++sign) {
        const QRectF box = unit(form::southIndianBox(sign));
        if (nameSize > 0)
            ink.line(QRectF(box.left() + band, box.top(), box.width() - 2 * band, band),
                     qs(std::string(almanac::kSignNames[static_cast<std::size_t>(sign)])), nameSize,
                     kQuietText);
        const QRectF room(box.left() + margin, box.top() + band, box.width() - 2 * margin,
                          box.height() - band - margin);
        paintEntries(ink, form::rectangle(toBox(room)), pointsIn(points, sign), entrySize);
    }

    const std::vector<Paragraph> middle = caption(picture, false);
    const QRectF inside =
        unit(form::kSouthIndianMiddle).adjusted(cell * 0.12, cell * 0.12, -cell * 0.12, -cell * 0.12);
    paintParagraphs(ink, inside, middle, std::max(1, static_cast<int>(side / 34)));
}

// --- North Indian ---------------------------------------------------------------------------------

constexpr double kCaptionShare = 0.16; // the caption under the diamond, in sides of its square

// A convex polygon drawn in toward its centroid by `share` of the way.
form::Polygon inset(const form::Polygon& polygon, double share) {
    const form::Point middle = form::centroid(polygon);
    form::Polygon out;
    for (const form::Point& p : polygon)
        out.push_back({p.x + (middle.x - p.x) * share, p.y + (middle.y - p.y) * share});
    return out;
}

void paintNorthIndian(Ink& ink, const QRectF& area, const form::ChartPicture& picture) {
    QPainter& painter = ink.painter;
    const double side = std::max(0.0, std::min(area.width(), area.height() / (1 + kCaptionShare)));
    const std::optional<int> lagna = lagnaOf(picture);
    if (!lagna) {
        const double width = std::min(area.width(), std::max(side, 160.0));
        const QRectF box(area.left() + (area.width() - width) / 2, area.top(), width,
                         std::min(area.height(), width));
        paintParagraphs(ink, box.adjusted(width * 0.08, 0, -width * 0.08, 0),
                        {{qs(std::string(form::kNorthNeedsPlaceMessage))}},
                        std::max(9, static_cast<int>(side / 30)));
        return;
    }
    const form::Box square{area.left() + (area.width() - side) / 2, area.top(), side, side};
    const std::vector<form::ChartPoint> points = form::chartPoints(picture);
    const int entrySize = std::max(1, static_cast<int>(side / 40));
    const int numberSize = std::max(1, static_cast<int>(side / 36));

    painter.setPen(QPen(kLineColour, std::max(0.5, side / 400)));
    painter.setBrush(kSignShades[0]);
    painter.drawRect(toQt(square));
    painter.setBrush(kLagnaShade);
    painter.drawPolygon(toQt(form::scaled(form::northIndianHouse(1).outline, square)));
    painter.setBrush(Qt::NoBrush);
    const QPointF topLeft(square.left, square.top), topRight(square.right(), square.top),
        bottomLeft(square.left, square.bottom()), bottomRight(square.right(), square.bottom());
    painter.drawLine(topLeft, bottomRight);
    painter.drawLine(topRight, bottomLeft);
    painter.drawPolygon(QPolygonF{(topLeft + topRight) / 2, (topRight + bottomRight) / 2,
                                  (bottomRight + bottomLeft) / 2, (bottomLeft + topLeft) / 2});

    for (int house = 1; house <= form::kSigns; ++house) {
        const form::House shape = form::northIndianHouse(house);
        const form::Polygon outline = inset(form::scaled(shape.outline, square), 0.06);
        const form::Point corner{square.left + shape.inner.x * side, square.top + shape.inner.y * side};
        const int sign = form::signOfHouse(house, *lagna);
        const QString number = QString::number(sign + 1);
        const QFontMetricsF& m = ink.metrics(numberSize);
        const double width = m.horizontalAdvance(number) + numberSize * 0.2;
        form::Polygon room = outline;
        if (const auto spot = form::boxNearCorner(outline, corner, width, m.height())) {
            ink.line(toQt(*spot), number, numberSize, kQuietText);
            // The entries keep beyond the number, away from the corner.
            const form::Point middle = form::centroid(outline);
            const double length = std::hypot(middle.x - corner.x, middle.y - corner.y);
            const form::Point toward{(middle.x - corner.x) / length, (middle.y - corner.y) / length};
            const double beyond = (spot->left + spot->width / 2 - corner.x) * toward.x +
                                  (spot->top + spot->height / 2 - corner.y) * toward.y +
                                  std::abs(toward.x) * spot->width / 2 +
                                  std::abs(toward.y) * spot->height / 2;
            room = form::clipped(outline, corner, toward, beyond + numberSize * 0.15);
        }
        paintEntries(ink, room, pointsIn(points, sign), entrySize);
    }

    const QRectF under(square.left, square.bottom() + side * 0.01, side, side * (kCaptionShare - 0.01));
    paintParagraphs(ink, under, caption(picture, true), std::max(1, static_cast<int>(side / 40)));
}

// --- Wheel ----------------------------------------------------------------------------------------

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
        , nakshatraInner(radius * 0.70)
        , tickInner(radius * 0.665)
        , labelsOuter(radius * 0.655)
        , labelsInner(radius * 0.35)
        , arcRadius{radius * 0.30, radius * 0.23} {}

    int size(double share) const { return std::max(1, static_cast<int>(radius * share)); }

    double side;
    double legendHeight;
    double left;
    double radius;
    QPointF centre;
    double signInner;
    double nakshatraInner;
    double tickInner;   // the points' ticks run from here out to the nakshatra ring
    double labelsOuter; // the points' labels stack outward from labelsInner to here
    double labelsInner;
    double arcRadius[2];
};

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

QPointF onCircle(const QPointF& centre, double radius, double degrees) {
    return toQt(form::onRing({centre.x(), centre.y()}, radius, degrees));
}

QRectF circle(const QPointF& centre, double radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

// The largest size up to `largest` at which every text fits along its ring between `inner` and `outer`
// within `span` degrees; 0 if none does.
int ringTextSize(Ink& ink, const std::vector<QString>& texts, double inner, double outer, double span,
                 int largest) {
    for (int size = largest; size > 0; --size) {
        const QFontMetricsF& m = ink.metrics(size);
        const double lineHeight = m.height();
        const double middle = (inner + outer) / 2;
        if (lineHeight > (outer - inner) * 0.9)
            continue;
        // The chord at the line's inner edge, which the line may not be wider than, and the corners of
        // the line, which may not reach past the ring.
        const double chord = 2 * (middle - lineHeight / 2) * std::sin(span / 2 * std::numbers::pi / 180.0);
        const bool fits = std::all_of(texts.begin(), texts.end(), [&](const QString& text) {
            const double width = m.horizontalAdvance(text);
            return width <= chord * 0.9 && std::hypot(middle + lineHeight / 2, width / 2) <= outer;
        });
        if (fits)
            return size;
    }
    return 0;
}

void paintWheel(Ink& ink, const QRectF& area, const form::ChartPicture& picture) {
    QPainter& painter = ink.painter;
    const Geometry g(area);
    const double radius = g.radius;
    const QPointF centre = g.centre;

    // The twelve signs as sectors of the outer ring, with their names along it.
    std::vector<QString> signs;
    for (int sign = 0; sign < form::kSigns; ++sign)
        signs.push_back(qs(std::string(almanac::kSignNames[static_cast<std::size_t>(sign)])));
    const int signSize = ringTextSize(ink, signs, g.signInner, radius, 30, g.size(0.065));
    for (int sign = 0; sign < form::kSigns; ++sign) {
        const double start = angleOfSeconds(sign * 30 * 3600);
        QPainterPath sector;
        sector.arcMoveTo(circle(centre, radius), start);
        sector.arcTo(circle(centre, radius), start, 30);
        sector.arcTo(circle(centre, g.signInner), start + 30, -30);
        sector.closeSubpath();
        painter.setPen(QPen(Qt::darkGray, radius / 250));
        painter.setBrush(kSignShades[sign % 2]);
        painter.drawPath(sector);
        if (signSize > 0)
            ink.alongRing(centre, start + 15, (radius + g.signInner) / 2,
                          signs[static_cast<std::size_t>(sign)], signSize, Qt::black);
    }

    // The 27 nakshatras as a ring of divisions, named where the ring is large enough to name them.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::gray, radius / 300));
    painter.drawEllipse(centre, g.nakshatraInner, g.nakshatraInner);
    std::vector<QString> nakshatras;
    for (int n = 0; n < form::kNakshatras; ++n)
        nakshatras.push_back(qs(std::string(form::nakshatraAbbreviation(n))));
    const int nakshatraSize =
        ringTextSize(ink, nakshatras, g.nakshatraInner, g.signInner, 360.0 / form::kNakshatras, g.size(0.05));
    for (int n = 0; n < form::kNakshatras; ++n) {
        const double at = angleOfSeconds(n * 48000);
        painter.setPen(QPen(Qt::gray, radius / 300));
        painter.drawLine(onCircle(centre, g.nakshatraInner, at), onCircle(centre, g.signInner, at));
        if (nakshatraSize >= ink.legible)
            ink.alongRing(centre, at + 180.0 / form::kNakshatras, (g.nakshatraInner + g.signInner) / 2,
                          nakshatras[static_cast<std::size_t>(n)], nakshatraSize, QColor(60, 60, 60));
    }

    // Each pair's elongation, from its first body to its second in the direction of the signs, with
    // its yoga point and a dot at each body.
    const form::WheelPicture& wheel = picture.wheel;
    for (const int pair : {form::kExternal, form::kInternal}) {
        const auto p = static_cast<std::size_t>(pair);
        const double r = g.arcRadius[p];
        painter.setBrush(Qt::NoBrush);
        drawPairArc(painter, circle(centre, r), form::wheelAngle(wheel.arcs[p].from),
                    wheel.arcs[p].sweep / 60.0, pair, radius / 40);
        const QColor colour = pair == form::kExternal ? kOuterColour : kInnerColour;
        for (const std::size_t row : {2 * p, 2 * p + 1}) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(onCircle(centre, r, form::wheelAngle(wheel.bodies[row].minutes)), radius / 55,
                                radius / 55);
        }
        drawYogaPoint(painter, onCircle(centre, r, form::wheelAngle(wheel.yogaPoints[p])), radius / 30, pair);
    }

    // Every point: a tick at the nakshatra ring, and its label on the rows inside, stacked outward
    // where points stand close.
    const std::vector<form::ChartPoint> points = form::chartPoints(picture);
    for (const form::ChartPoint& point : points) {
        const double at = angleOfSeconds(point.seconds);
        painter.setPen(QPen(pointColour(point), point.abbreviation == "La" ? radius / 50 : radius / 90,
                            Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(onCircle(centre, g.nakshatraInner, at), onCircle(centre, g.tickInner, at));
    }
    std::vector<QString> texts;
    for (const form::ChartPoint& point : points)
        texts.push_back(qs(form::pointLabel(point)));
    // The largest size at which they stack with none turned aside by more than a few degrees, down to
    // the legible; failing that, the largest at which they stack at all, turned aside as they must.
    constexpr double kSmallTurn = 8;
    const auto place = [&](int size, double maxTurn) {
        const QFontMetricsF& m = ink.metrics(size);
        std::vector<form::RingLabel> labels;
        for (std::size_t n = 0; n < points.size(); ++n)
            labels.push_back({angleOfSeconds(points[n].seconds), m.horizontalAdvance(texts[n]) + size * 0.3});
        return form::stackOnRing(labels, m.height() * 1.05, g.labelsInner, g.labelsOuter, maxTurn);
    };
    const int largest = g.size(0.052);
    std::optional<std::vector<form::RingLabel>> placed;
    int size = largest + 1;
    while (!placed && --size >= std::min(largest, ink.legible))
        placed = place(size, kSmallTurn);
    if (!placed)
        for (size = largest + 1; !placed && --size > 0;)
            placed = place(size, 180);
    for (std::size_t n = 0; placed && n < points.size(); ++n) {
        const form::RingLabel& label = (*placed)[n];
        ink.alongRing(centre, label.angle + label.offset, label.radius, texts[n], size,
                      pointColour(points[n]));
    }

    // The legend.
    const double top = area.top() + g.side + g.legendHeight * 0.05;
    const double line = g.legendHeight / 3;
    const char* const legend[] = {"Outer pair, Sun to Moon (solid), and its yoga point",
                                  "Inner pair, AK to AmK (dashed), and its yoga point"};
    const QRectF room(g.left + radius * 0.55, 0, g.side - radius * 0.55, line);
    int legendSize = g.size(0.055);
    for (const char* text : legend)
        legendSize = std::min(legendSize, oneLineSize(ink, text, room, legendSize));
    for (const int pair : {form::kExternal, form::kInternal}) {
        const double y = top + line * pair + line / 2;
        painter.setPen(pairPen(pair, radius / 40));
        painter.drawLine(QPointF(g.left + radius * 0.1, y), QPointF(g.left + radius * 0.35, y));
        drawYogaPoint(painter, QPointF(g.left + radius * 0.45, y), radius / 30, pair);
        if (legendSize > 0) {
            const QString text = legend[pair];
            const double width = ink.metrics(legendSize).horizontalAdvance(text);
            ink.line(QRectF(room.left(), y - line / 2, width, line), text, legendSize, Qt::black);
        }
    }
}

} // namespace

double chartAspect(form::ChartStyle style) {
    switch (style) {
    case form::ChartStyle::SouthIndian:
        return 1.0;
    case form::ChartStyle::NorthIndian:
        return 1.0 + kCaptionShare;
    case form::ChartStyle::Wheel:
        break;
    }
    return 1.0 + Geometry::kLegendShare;
}

void paintChart(QPainter& painter, const QRectF& area, const form::ChartPicture& picture,
                form::ChartStyle style, std::vector<DrawnLabel>* labels) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Ink ink(painter, labels);
    switch (style) {
    case form::ChartStyle::SouthIndian:
        paintSouthIndian(ink, area, picture);
        break;
    case form::ChartStyle::NorthIndian:
        paintNorthIndian(ink, area, picture);
        break;
    case form::ChartStyle::Wheel:
        paintWheel(ink, area, picture);
        break;
    }
    painter.restore();
}

std::optional<int> wheelNakshatraAt(const QRectF& area, const QPointF& at) {
    const Geometry g(area);
    const QPointF from = at - g.centre;
    const double distance = std::hypot(from.x(), from.y());
    if (distance < g.nakshatraInner || distance > g.signInner)
        return std::nullopt;
    const double angle = std::atan2(-from.y(), from.x()) * 180.0 / std::numbers::pi;
    const double longitude = normalised(angle - 180.0);
    return std::min(form::kNakshatras - 1, static_cast<int>(longitude / (360.0 / form::kNakshatras)));
}

namespace {

void paintOnWhite(QPainter& painter, const QSizeF& size, const form::ChartPicture& picture,
                  form::ChartStyle style) {
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    QFont face("Liberation Sans");
    face.setStyleHint(QFont::SansSerif);
    painter.setFont(face);
    const double margin = size.width() / 60;
    paintChart(painter, QRectF(QPointF(0, 0), size).adjusted(margin, margin, -margin, -margin), picture,
               style);
}

QSize imageSize(form::ChartStyle style, int width) {
    // The margin round the drawing is the same on every side.
    const double margin = width / 60.0;
    return {width, static_cast<int>(std::ceil((width - 2 * margin) * chartAspect(style) + 2 * margin))};
}

} // namespace

QImage chartImage(const form::ChartPicture& picture, form::ChartStyle style, int width) {
    QImage image(imageSize(style, width), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    paintOnWhite(painter, image.size(), picture, style);
    return image;
}

namespace {

void writeSvg(QIODevice& device, const form::ChartPicture& picture, form::ChartStyle style) {
    const QSize size = imageSize(style, 600);
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96); // 600 units are 600 pixels of a usual screen
    // The generator writes these two as they are given, so they go in escaped: a name may hold "&" or "<".
    svg.setTitle(qs(picture.name).toHtmlEscaped());
    svg.setDescription(qs(form::chartDescription(picture, style)).toHtmlEscaped());
    QPainter painter(&svg);
    paintOnWhite(painter, size, picture, style);
}

} // namespace

QByteArray chartSvg(const form::ChartPicture& picture, form::ChartStyle style) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeSvg(buffer, picture, style);
    return bytes;
}

std::optional<QString> saveChartImage(const form::ChartPicture& picture, form::ChartStyle style,
                                      const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        writeSvg(file, picture, style);
    } else if (!chartImage(picture, style, 2000).save(&file, "PNG")) {
        file.cancelWriting();
        return file.errorString().isEmpty() ? QString("the image could not be encoded") : file.errorString();
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}
