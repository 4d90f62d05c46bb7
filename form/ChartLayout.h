// Where the parts of a chart go, whatever draws it: the South Indian square's cells, the North Indian
// diamond's houses, the entries stacked in a cell or a house so that none covers another, and the labels
// around the wheel stacked outward. Figures are in the units of whatever area the caller works in (a unit
// square for the houses and cells, which the caller scales); y grows downward, as on a page or a screen.
// Angles are degrees counter-clockwise from the right-hand horizontal, as form::wheelAngle gives them.
#pragma once

#include "form/Chart.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace form {

struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Box {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    friend bool operator==(const Box&, const Box&) = default;
};

// A convex polygon, its corners in order round it.
using Polygon = std::vector<Point>;

// A rectangle turned to any angle (a label along a ring): its four corners in order round it.
using Quad = std::array<Point, 4>;

inline constexpr int kSigns = 12;
inline constexpr int kNakshatras = 27;

// "Ashwini" .. "Revati", as the reference tables spell them, and four-letter forms for a ring too
// small for the names ("Ashw", "PBha").
std::string_view nakshatraName(int nakshatra);
std::string_view nakshatraAbbreviation(int nakshatra);
// The nakshatra a longitude in arc-seconds falls in: 0 Ashwini .. 26 Revati.
int nakshatraOf(int seconds);

// The entries a chart shows: the picture's points, or, for a picture that has none, the four rows of
// its wheel (Su, Mo, AK, AmK).
std::vector<ChartPoint> chartPoints(const ChartPicture& picture);
// A point as the charts label it: "Mo 27°05′", with " AK" or " AmK" after a graha that is one.
std::string pointLabel(const ChartPoint& point);
// "27°05′": the degrees and minutes of a longitude within its sign.
std::string degreesInSign(int seconds);
// The sign of a longitude in arc-seconds: 0 Aries .. 11 Pisces.
int signOf(int seconds);

// What the North Indian chart says in place of itself when it has no lagna.
inline constexpr std::string_view kNorthNeedsPlaceMessage =
    "The North Indian chart needs the birth place: enter the place in Birth data, press Fill positions "
    "and Calculate.";

// The South Indian square: four cells a side, the signs in fixed cells, Pisces at the top left and the
// signs running clockwise round the edge; the middle two by two is the chart's own.
struct Cell {
    int column = 0; // 0 .. 3, left to right
    int row = 0;    // 0 .. 3, top to bottom

    friend bool operator==(const Cell&, const Cell&) = default;
};
Cell southIndianCell(int sign);
// The cell of a sign within the unit square, and the middle two by two.
Box southIndianBox(int sign);
inline constexpr Box kSouthIndianMiddle{0.25, 0.25, 0.5, 0.5};

// The North Indian diamond: the square with both its diagonals and the diamond joining the middles of
// its sides. House 1 is the diamond at the top; the houses run counter-clockwise from it (2 the
// triangle at the upper left, 4 the diamond at the left, 7 at the foot, 10 at the right). House k holds
// the k-th sign from the lagna's.
int houseOfSign(int sign, int lagnaSign);  // 1 .. 12
int signOfHouse(int house, int lagnaSign); // 0 .. 11
struct House {
    Polygon outline; // within the unit square
    Point inner;     // the corner that points toward the middle of the chart, where the sign's number goes
};
House northIndianHouse(int house);

double area(const Polygon& polygon);
Point centroid(const Polygon& polygon);
bool contains(const Polygon& polygon, const Point& point, double tolerance = 1e-9);
Polygon scaled(const Polygon& polygon, const Box& into); // from the unit square into `into`
Polygon rectangle(const Box& box);
// What of a convex polygon lies at least `distance` from `origin` in the direction `toward` (a unit
// vector).
Polygon clipped(const Polygon& polygon, const Point& origin, const Point& toward, double distance);
// The place of a box of `width` by `height` in the polygon, as near to its corner `corner` as it goes
// while staying whole inside, along the line from the corner to the polygon's centroid; none if it
// fits nowhere on that line.
std::optional<Box> boxNearCorner(const Polygon& polygon, const Point& corner, double width, double height);

// Entries stacked in a room (a convex polygon), top to bottom, each line centred across the room
// where it stands; in two columns when one would need a size below `legible`. `width(entry, size)` is
// an entry's width and `lineHeight(size)` a line's height at a whole font size.
struct Stack {
    int size = 0;           // the largest size at which they all fit, or 0 if they fit at none
    int columns = 1;        // 2 where one column would need a size below the legible
    std::vector<Box> boxes; // each entry's box: its width, a line high, wholly inside the room
};
using EntryWidth = std::function<double(std::size_t entry, int size)>;
using LineHeight = std::function<double(int size)>;
Stack stackEntries(const Polygon& room, std::size_t count, const EntryWidth& width,
                   const LineHeight& lineHeight, int largest, int legible);

// Labels round a centre, each a line high and along the ring at its own angle: each on the innermost
// row from `inner` where it covers no label placed before it, rows stacking outward up to `outer`. A
// label with no room on any row over its point is turned aside by the fewest degrees, up to `maxTurn`,
// that find one. None if some label finds no place at all.
struct RingLabel {
    double angle = 0;  // where it belongs
    double width = 0;  // along the ring
    double offset = 0; // degrees turned aside from `angle`
    double radius = 0; // of its middle
};
std::optional<std::vector<RingLabel>> stackOnRing(std::vector<RingLabel> labels, double lineHeight,
                                                  double inner, double outer, double maxTurn = 180);
// The corners of a label `width` along the ring by `height` across it, its middle at `radius` and
// `angle` about `centre`.
Quad ringQuad(const Point& centre, double angle, double radius, double width, double height);
// Whether two quads share more than an edge or a corner.
bool overlap(const Quad& a, const Quad& b);
// Where a point stands at `radius` and `angle` about `centre`.
Point onRing(const Point& centre, double radius, double angle);

} // namespace form
