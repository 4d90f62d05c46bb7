#include "form/ChartLayout.h"

#include "almanac/Names.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <numeric>

namespace form {

namespace {

constexpr std::array<std::string_view, kNakshatras> kNakshatraAbbreviations{
    "Ashw", "Bhar", "Krit", "Rohi", "Mrig", "Ardr", "Puna", "Push", "Ashl",
    "Magh", "PPha", "UPha", "Hast", "Chit", "Swat", "Vish", "Anur", "Jyes",
    "Mula", "PAsh", "UAsh", "Shra", "Dhan", "Shat", "PBha", "UBha", "Reva"};

constexpr int kSecondsPerSign = 30 * 3600;
constexpr int kSecondsPerNakshatra = 13 * 3600 + 20 * 60;

// The cells of the signs from Aries, clockwise round the square from the second cell of the top row.
constexpr std::array<Cell, kSigns> kSouthIndianCells{
    {{1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}, {0, 0}}};

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(Point a, double k) {
    return {a.x * k, a.y * k};
}
double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}

// The x-extent of a convex polygon along the horizontal at `y`; none where the line misses it.
std::optional<std::pair<double, double>> slice(const Polygon& polygon, double y) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point p = polygon[i];
        const Point q = polygon[(i + 1) % polygon.size()];
        if ((p.y <= y && y <= q.y) || (q.y <= y && y <= p.y)) {
            if (p.y == q.y) {
                low = std::min({low, p.x, q.x});
                high = std::max({high, p.x, q.x});
            } else {
                const double x = p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y);
                low = std::min(low, x);
                high = std::max(high, x);
            }
        }
    }
    if (low > high)
        return std::nullopt;
    return std::pair{low, high};
}

// The entries' boxes at one size and number of columns, the block as near the room's middle as fits.
std::optional<std::vector<Box>> stackAt(const Polygon& room, std::size_t count, const EntryWidth& width,
                                        const LineHeight& lineHeight, int size, int columns) {
    const double line = lineHeight(size);
    const std::size_t rows =
        (count + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns);
    const double height = line * static_cast<double>(rows);
    const auto [top, bottom] =
        std::minmax_element(room.begin(), room.end(), [](Point a, Point b) { return a.y < b.y; });
    const double highest = top->y;
    const double lowest = bottom->y - height;
    if (lowest < highest)
        return std::nullopt;
    std::vector<double> widths(count);
    for (std::size_t entry = 0; entry < count; ++entry)
        widths[entry] = width(entry, size);

    // Tops to try, nearest the one that centres the block on the room's centroid first.
    const double wanted = std::clamp(centroid(room).y - height / 2, highest, lowest);
    std::vector<double> tops{wanted, highest, lowest};
    const double stride = line / 4;
    for (double t = highest + stride; t < lowest; t += stride)
        tops.push_back(t);
    std::stable_sort(tops.begin(), tops.end(),
                     [wanted](double a, double b) { return std::abs(a - wanted) < std::abs(b - wanted); });

    std::vector<Box> boxes(count);
    for (const double t : tops) {
        bool fits = true;
        for (std::size_t row = 0; fits && row < rows; ++row) {
            const double y = t + line * static_cast<double>(row);
            const auto upper = slice(room, y);
            const auto lower = slice(room, y + line);
            if (!upper || !lower) {
                fits = false;
                break;
            }
            const double left = std::max(upper->first, lower->first);
            const double right = std::min(upper->second, lower->second);
            const double slot = (right - left) / columns;
            for (int column = 0; fits && column < columns; ++column) {
                const std::size_t entry = static_cast<std::size_t>(column) * rows + row;
                if (entry >= count)
                    break;
                if (slot <= 0 || widths[entry] > slot) {
                    fits = false;
                    break;
                }
                boxes[entry] = {left + slot * column + (slot - widths[entry]) / 2, y, widths[entry], line};
            }
        }
        if (fits)
            return boxes;
    }
    return std::nullopt;
}

} // namespace

std::string_view nakshatraName(int nakshatra) {
    return almanac::kNakshatraNames.at(static_cast<std::size_t>(nakshatra));
}

std::string_view nakshatraAbbreviation(int nakshatra) {
    return kNakshatraAbbreviations.at(static_cast<std::size_t>(nakshatra));
}

int nakshatraOf(int seconds) {
    return std::clamp(seconds / kSecondsPerNakshatra, 0, kNakshatras - 1);
}

int signOf(int seconds) {
    return std::clamp(seconds / kSecondsPerSign, 0, kSigns - 1);
}

std::vector<ChartPoint> chartPoints(const ChartPicture& picture) {
    if (!picture.points.empty())
        return picture.points;
    constexpr const char* kNames[] = {"Sun", "Moon", "AK", "AmK"};
    std::vector<ChartPoint> rows;
    for (std::size_t row = 0; row < picture.wheel.bodies.size(); ++row) {
        const WheelMark& mark = picture.wheel.bodies[row];
        rows.push_back({mark.label, kNames[row], mark.minutes * 60, row == kAk, row == kAmk});
    }
    return rows;
}

std::string degreesInSign(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d°%02d′", seconds / 3600 % 30, seconds / 60 % 60);
    return text;
}

std::string pointLabel(const ChartPoint& point) {
    std::string label = point.abbreviation + " " + degreesInSign(point.seconds);
    if (point.ak && point.abbreviation != "AK")
        label += " AK";
    if (point.amk && point.abbreviation != "AmK")
        label += " AmK";
    return label;
}

Cell southIndianCell(int sign) {
    return kSouthIndianCells.at(static_cast<std::size_t>(sign));
}

Box southIndianBox(int sign) {
    const Cell cell = southIndianCell(sign);
    return {cell.column / 4.0, cell.row / 4.0, 0.25, 0.25};
}

int houseOfSign(int sign, int lagnaSign) {
    return (sign - lagnaSign + 2 * kSigns) % kSigns + 1;
}

int signOfHouse(int house, int lagnaSign) {
    return (lagnaSign + house - 1) % kSigns;
}

House northIndianHouse(int house) {
    // The square's corners, the middles of its sides, its centre, and where the diagonals cross the
    // inner diamond.
    const Point topLeft{0, 0}, topRight{1, 0}, bottomRight{1, 1}, bottomLeft{0, 1};
    const Point top{0.5, 0}, left{0, 0.5}, bottom{0.5, 1}, right{1, 0.5}, middle{0.5, 0.5};
    const Point upperLeft{0.25, 0.25}, lowerLeft{0.25, 0.75}, lowerRight{0.75, 0.75}, upperRight{0.75, 0.25};
    switch (house) {
    case 1:
        return {{top, upperLeft, middle, upperRight}, middle};
    case 2:
        return {{topLeft, top, upperLeft}, upperLeft};
    case 3:
        return {{topLeft, upperLeft, left}, upperLeft};
    case 4:
        return {{left, upperLeft, middle, lowerLeft}, middle};
    case 5:
        return {{left, lowerLeft, bottomLeft}, lowerLeft};
    case 6:
        return {{bottomLeft, lowerLeft, bottom}, lowerLeft};
    case 7:
        return {{bottom, lowerLeft, middle, lowerRight}, middle};
    case 8:
        return {{bottom, lowerRight, bottomRight}, lowerRight};
    case 9:
        return {{bottomRight, lowerRight, right}, lowerRight};
    case 10:
        return {{right, lowerRight, middle, upperRight}, middle};
    case 11:
        return {{right, upperRight, topRight}, upperRight};
    case 12:
        return {{topRight, upperRight, top}, upperRight};
    default:
        break;
    }
    return {};
}

double area(const Polygon& polygon) {
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point p = polygon[i];
        const Point q = polygon[(i + 1) % polygon.size()];
        twice += p.x * q.y - q.x * p.y;
    }
    return std::abs(twice) / 2;
}

Point centroid(const Polygon& polygon) {
    double twice = 0;
    Point sum;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point p = polygon[i];
        const Point q = polygon[(i + 1) % polygon.size()];
        const double cross = p.x * q.y - q.x * p.y;
        twice += cross;
        sum = sum + (p + q) * cross;
    }
    if (twice == 0) {
        // A degenerate polygon: the mean of its corners.
        Point mean;
        for (const Point p : polygon)
            mean = mean + p * (1.0 / static_cast<double>(polygon.size()));
        return mean;
    }
    return sum * (1.0 / (3 * twice));
}

bool contains(const Polygon& polygon, const Point& point, double tolerance) {
    // Inside a convex polygon: on the same side of every edge.
    int sign = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point p = polygon[i];
        const Point q = polygon[(i + 1) % polygon.size()];
        const Point edge = q - p;
        const double length = std::hypot(edge.x, edge.y);
        if (length == 0)
            continue;
        const double side = (edge.x * (point.y - p.y) - edge.y * (point.x - p.x)) / length;
        if (std::abs(side) <= tolerance)
            continue;
        const int s = side > 0 ? 1 : -1;
        if (sign != 0 && s != sign)
            return false;
        sign = s;
    }
    return true;
}

Polygon scaled(const Polygon& polygon, const Box& into) {
    Polygon out;
    out.reserve(polygon.size());
    for (const Point p : polygon)
        out.push_back({into.left + p.x * into.width, into.top + p.y * into.height});
    return out;
}

Polygon rectangle(const Box& box) {
    return {
        {box.left, box.top}, {box.right(), box.top}, {box.right(), box.bottom()}, {box.left, box.bottom()}};
}

Polygon clipped(const Polygon& polygon, const Point& origin, const Point& toward, double distance) {
    const auto beyond = [&](Point p) {
        return dot(p - origin, toward) - distance;
    };
    Polygon out;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point p = polygon[i];
        const Point q = polygon[(i + 1) % polygon.size()];
        const double fp = beyond(p);
        const double fq = beyond(q);
        if (fp >= 0)
            out.push_back(p);
        if ((fp >= 0) != (fq >= 0))
            out.push_back(p + (q - p) * (fp / (fp - fq)));
    }
    return out;
}

std::optional<Box> boxNearCorner(const Polygon& polygon, const Point& corner, double width, double height) {
    const Point toward = centroid(polygon) - corner;
    const double length = std::hypot(toward.x, toward.y);
    if (length == 0)
        return std::nullopt;
    constexpr int kStops = 400;
    for (int stop = 0; stop <= kStops; ++stop) {
        const Point middle = corner + toward * (2.0 * stop / kStops);
        const Box box{middle.x - width / 2, middle.y - height / 2, width, height};
        const Polygon corners = rectangle(box);
        if (std::all_of(corners.begin(), corners.end(), [&](Point p) { return contains(polygon, p); }))
            return box;
    }
    return std::nullopt;
}

Stack stackEntries(const Polygon& room, std::size_t count, const EntryWidth& width,
                   const LineHeight& lineHeight, int largest, int legible) {
    if (count == 0 || room.size() < 3)
        return {count == 0 ? largest : 0, 1, {}};
    // The largest whole size that fits in so many columns, found by halving (a smaller size needs no
    // more room than a larger one).
    const auto best = [&](int columns) {
        Stack found{0, columns, {}};
        if (auto boxes = stackAt(room, count, width, lineHeight, largest, columns))
            return Stack{largest, columns, std::move(*boxes)};
        int low = 1;
        int high = largest - 1;
        while (low <= high) {
            const int size = low + (high - low) / 2;
            if (auto boxes = stackAt(room, count, width, lineHeight, size, columns)) {
                found = {size, columns, std::move(*boxes)};
                low = size + 1;
            } else {
                high = size - 1;
            }
        }
        return found;
    };
    Stack one = best(1);
    if (one.size >= legible || count == 1)
        return one;
    Stack two = best(2);
    return two.size > one.size ? two : one;
}

Point onRing(const Point& centre, double radius, double angle) {
    const double radians = angle * std::numbers::pi / 180.0;
    return {centre.x + radius * std::cos(radians), centre.y - radius * std::sin(radians)};
}

Quad ringQuad(const Point& centre, double angle, double radius, double width, double height) {
    const double radians = angle * std::numbers::pi / 180.0;
    const Point outward{std::cos(radians), -std::sin(radians)};
    const Point along{-outward.y, outward.x};
    const Point middle = onRing(centre, radius, angle);
    const Point w = along * (width / 2);
    const Point h = outward * (height / 2);
    return {middle - w - h, middle + w - h, middle + w + h, middle - w + h};
}

bool overlap(const Quad& a, const Quad& b) {
    // Separated along some edge's normal, with a margin for rounding: apart or only touching.
    constexpr double kTouching = 1e-9;
    for (const Quad* quad : {&a, &b}) {
        for (std::size_t i = 0; i < 2; ++i) {
            const Point edge = (*quad)[i + 1] - (*quad)[i];
            const Point normal{-edge.y, edge.x};
            const double length = std::hypot(normal.x, normal.y);
            if (length == 0)
                continue;
            const auto extent = [&](const Quad& q) {
                double low = std::numeric_limits<double>::infinity();
                double high = -low;
                for (const Point p : q) {
                    const double at = dot(p, normal) / length;
                    low = std::min(low, at);
                    high = std::max(high, at);
                }
                return std::pair{low, high};
            };
            const auto [aLow, aHigh] = extent(a);
            const auto [bLow, bHigh] = extent(b);
            if (aHigh <= bLow + kTouching || bHigh <= aLow + kTouching)
                return false;
        }
    }
    return true;
}

std::optional<std::vector<RingLabel>> stackOnRing(std::vector<RingLabel> labels, double lineHeight,
                                                  double inner, double outer, double maxTurn) {
    std::vector<std::size_t> order(labels.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return labels[a].angle < labels[b].angle; });
    const Point centre{0, 0};
    std::vector<Quad> placed;
    // Whether a label fits at a radius and turn: within the rows' ring, and clear of those placed.
    const auto fits = [&](const RingLabel& label, double radius, double offset, Quad& quad) {
        quad = ringQuad(centre, label.angle + offset, radius, label.width, lineHeight);
        const double far = std::hypot(radius + lineHeight / 2, label.width / 2);
        if (radius - lineHeight / 2 < inner || far > outer)
            return false;
        return std::none_of(placed.begin(), placed.end(),
                            [&](const Quad& other) { return overlap(quad, other); });
    };
    constexpr double kTurns[] = {1, 2, 3, 5, 7, 10, 14, 19, 25, 32, 40, 50, 60, 75, 90, 120, 150, 180};
    for (const std::size_t index : order) {
        RingLabel& label = labels[index];
        bool found = false;
        Quad quad;
        for (int turn = -1; !found && turn < static_cast<int>(2 * std::size(kTurns)); ++turn) {
            const double offset = turn < 0 ? 0.0 : kTurns[turn / 2] * (turn % 2 == 0 ? 1 : -1);
            if (std::abs(offset) > maxTurn)
                break;
            for (double radius = inner + lineHeight / 2; !found && radius + lineHeight / 2 <= outer;
                 radius += lineHeight / 8) {
                if (fits(label, radius, offset, quad)) {
                    label.offset = offset;
                    label.radius = radius;
                    found = true;
                }
            }
        }
        if (!found)
            return std::nullopt;
        placed.push_back(quad);
    }
    return labels;
}

} // namespace form
