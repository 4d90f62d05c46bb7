// Where the parts of the charts go: the South Indian cells, the North Indian houses, entries stacked in a
// cell or house, and labels stacked round the wheel.
#include "form/ChartLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int kAries = 0, kTaurus = 1, kGemini = 2, kCancer = 3, kLeo = 4, kVirgo = 5, kLibra = 6,
              kScorpio = 7, kSagittarius = 8, kCapricorn = 9, kAquarius = 10, kPisces = 11;

TEST(ChartLayout, EachSignHasItsFixedSouthIndianCell) {
    // Pisces at the top left, then clockwise round the edge of the square.
    const struct {
        int sign;
        form::Cell cell;
    } cases[] = {
        {kPisces, {0, 0}},  {kAries, {1, 0}},       {kTaurus, {2, 0}},    {kGemini, {3, 0}},
        {kCancer, {3, 1}},  {kLeo, {3, 2}},         {kVirgo, {3, 3}},     {kLibra, {2, 3}},
        {kScorpio, {1, 3}}, {kSagittarius, {0, 3}}, {kCapricorn, {0, 2}}, {kAquarius, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sign);
        EXPECT_EQ(form::southIndianCell(c.sign), c.cell);
        const form::Box box = form::southIndianBox(c.sign);
        EXPECT_DOUBLE_EQ(box.left, c.cell.column * 0.25);
        EXPECT_DOUBLE_EQ(box.top, c.cell.row * 0.25);
        // Never in the middle two by two, which is the chart's own.
        const form::Point middle{box.left + box.width / 2, box.top + box.height / 2};
        EXPECT_FALSE(form::contains(form::rectangle(form::kSouthIndianMiddle), middle));
    }
}

TEST(ChartLayout, TheLagnasSignIsInTheFirstHouseAndTheOthersFollow) {
    for (int lagna = 0; lagna < form::kSigns; ++lagna) {
        SCOPED_TRACE(lagna);
        EXPECT_EQ(form::houseOfSign(lagna, lagna), 1);
        for (int house = 1; house <= form::kSigns; ++house) {
            EXPECT_EQ(form::signOfHouse(house, lagna), (lagna + house - 1) % form::kSigns);
            EXPECT_EQ(form::houseOfSign(form::signOfHouse(house, lagna), lagna), house);
        }
    }
    EXPECT_EQ(form::houseOfSign(kAries, kLeo), 9);
    EXPECT_EQ(form::signOfHouse(12, kAries), kPisces);
}

// The angle of a point about the middle of the unit square, counter-clockwise as seen (y grows down).
double angleAboutMiddle(const form::Point& p) {
    const double degrees = std::atan2(0.5 - p.y, p.x - 0.5) * 180 / std::numbers::pi;
    return degrees < 0 ? degrees + 360 : degrees;
}

TEST(ChartLayout, TheHousesTileTheSquareCounterClockwiseFromTheTop) {
    // House 1 is the diamond at the top; then the upper-left triangle, ... the left diamond (4), the
    // bottom one (7) and the right one (10), each further round counter-clockwise than the one before.
    const struct {
        int house;
        form::Point near;
        double area;
    } cases[] = {
        {1, {0.5, 0.25}, 0.125},  {2, {0.25, 0.08}, 0.0625},  {3, {0.08, 0.25}, 0.0625},
        {4, {0.25, 0.5}, 0.125},  {5, {0.08, 0.75}, 0.0625},  {6, {0.25, 0.92}, 0.0625},
        {7, {0.5, 0.75}, 0.125},  {8, {0.75, 0.92}, 0.0625},  {9, {0.92, 0.75}, 0.0625},
        {10, {0.75, 0.5}, 0.125}, {11, {0.92, 0.25}, 0.0625}, {12, {0.75, 0.08}, 0.0625},
    };
    double previous = angleAboutMiddle(form::centroid(form::northIndianHouse(1).outline));
    EXPECT_DOUBLE_EQ(previous, 90.0) << "house 1 straight above the middle";
    double turned = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.house);
        const form::House house = form::northIndianHouse(c.house);
        EXPECT_TRUE(form::contains(house.outline, c.near));
        EXPECT_NEAR(form::area(house.outline), c.area, 1e-12);
        EXPECT_TRUE(std::find(house.outline.begin(), house.outline.end(), house.inner) !=
                    house.outline.end());
        const double angle = angleAboutMiddle(form::centroid(house.outline));
        const double step = std::fmod(angle - previous + 360, 360);
        if (c.house > 1) {
            EXPECT_GT(step, 0);
        }
        turned += step;
        previous = angle;
    }
    EXPECT_NEAR(turned + std::fmod(90 - previous + 360, 360), 360, 1e-9) << "once round";

    // Every point of the square off the lines is in exactly one house.
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 50; ++j) {
            const form::Point p{(i + 0.31) / 50, (j + 0.67) / 50};
            int in = 0;
            for (int house = 1; house <= form::kSigns; ++house)
                in += form::contains(form::northIndianHouse(house).outline, p) ? 1 : 0;
            ASSERT_EQ(in, 1) << p.x << ", " << p.y;
        }
}

// Entries are as wide as so many characters of a face whose characters are 0.55 of its size.
const form::EntryWidth kWidth = [](std::size_t entry, int size) {
    return size * 0.55 * static_cast<double>(8 + entry % 5);
};
const form::LineHeight kLine = [](int size) {
    return size * 1.15;
};

bool boxesOverlap(const form::Box& a, const form::Box& b) {
    return a.left < b.right() - 1e-9 && b.left < a.right() - 1e-9 && a.top < b.bottom() - 1e-9 &&
           b.top < a.bottom() - 1e-9;
}

TEST(ChartLayout, StackedEntriesStayInsideTheirRoomAndApart) {
    // A South Indian cell and each kind of North Indian house, 150 units across, with what a house keeps
    // for its sign's number cut away as the chart does.
    const form::Box cell{0, 0, 150, 150};
    const form::Box square{0, 0, 600, 600};
    const auto house = [&](int number) {
        const form::House h = form::northIndianHouse(number);
        const form::Polygon outline = form::scaled(h.outline, square);
        const form::Point corner{h.inner.x * 600, h.inner.y * 600};
        const form::Point middle = form::centroid(outline);
        const double length = std::hypot(middle.x - corner.x, middle.y - corner.y);
        return form::clipped(outline, corner,
                             {(middle.x - corner.x) / length, (middle.y - corner.y) / length}, 30);
    };
    const struct {
        const char* what;
        form::Polygon room;
    } rooms[] = {
        {"South Indian cell", form::rectangle(cell)},
        {"top diamond", house(1)},
        {"upper-left triangle", house(2)},
        {"left-upper triangle", house(3)},
        {"right diamond", house(10)},
    };
    for (const auto& r : rooms) {
        for (std::size_t count = 1; count <= 10; ++count) {
            SCOPED_TRACE(std::string(r.what) + ", " + std::to_string(count) + " entries");
            const form::Stack stack = form::stackEntries(r.room, count, kWidth, kLine, 16, 8);
            ASSERT_GT(stack.size, 0);
            ASSERT_EQ(stack.boxes.size(), count);
            for (std::size_t n = 0; n < count; ++n) {
                const form::Box& box = stack.boxes[n];
                EXPECT_DOUBLE_EQ(box.width, kWidth(n, stack.size));
                EXPECT_DOUBLE_EQ(box.height, kLine(stack.size));
                for (const form::Point corner : form::rectangle(box))
                    EXPECT_TRUE(form::contains(r.room, corner, 1e-6))
                        << n << ": " << corner.x << ", " << corner.y;
                for (std::size_t m = 0; m < n; ++m)
                    EXPECT_FALSE(boxesOverlap(box, stack.boxes[m])) << m << " and " << n;
            }
        }
    }
    // One entry in a roomy cell takes the largest size; ten take a smaller one.
    EXPECT_EQ(form::stackEntries(form::rectangle(cell), 1, kWidth, kLine, 16, 8).size, 16);
    EXPECT_LT(form::stackEntries(form::rectangle(cell), 10, kWidth, kLine, 16, 8).size, 16);
    // A room too small for anything takes nothing.
    EXPECT_EQ(form::stackEntries(form::rectangle({0, 0, 3, 3}), 4, kWidth, kLine, 16, 8).size, 0);
}

TEST(ChartLayout, LabelsOfPointsCloseTogetherStackOutward) {
    // Five labels at nearly one angle, and one across the ring.
    std::vector<form::RingLabel> labels;
    for (const double angle : {181.0, 182.0, 183.0, 184.0, 185.0, 0.0})
        labels.push_back({angle, 60});
    const auto placed = form::stackOnRing(labels, 12, 100, 200, 0);
    ASSERT_TRUE(placed);
    std::vector<form::Quad> quads;
    for (std::size_t n = 0; n < placed->size(); ++n) {
        const form::RingLabel& label = (*placed)[n];
        EXPECT_EQ(label.offset, 0);
        EXPECT_GE(label.radius - 6, 100);
        if (n > 0 && n < 5) {
            EXPECT_GT(label.radius, (*placed)[n - 1].radius) << "further out than the one before";
        }
        quads.push_back(form::ringQuad({0, 0}, label.angle + label.offset, label.radius, label.width, 12));
        for (const form::Point corner : quads.back())
            EXPECT_LE(std::hypot(corner.x, corner.y), 200 + 1e-9);
    }
    EXPECT_EQ((*placed)[5].radius, (*placed)[0].radius) << "alone on its side, on the innermost row";
    for (std::size_t n = 0; n < quads.size(); ++n)
        for (std::size_t m = 0; m < n; ++m)
            EXPECT_FALSE(form::overlap(quads[n], quads[m])) << m << " and " << n;

    // More than the rows hold: turned aside only where that is allowed.
    labels.assign(12, {90, 60});
    EXPECT_FALSE(form::stackOnRing(labels, 12, 100, 150, 0));
    const auto turned = form::stackOnRing(labels, 12, 100, 150);
    ASSERT_TRUE(turned);
    EXPECT_TRUE(
        std::any_of(turned->begin(), turned->end(), [](const form::RingLabel& l) { return l.offset != 0; }));
}

TEST(ChartLayout, QuadsThatOnlyTouchDoNotOverlap) {
    const form::Quad square{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}};
    const struct {
        const char* what;
        form::Quad other;
        bool overlap;
    } cases[] = {
        {"beside, sharing an edge", {{{10, 0}, {20, 0}, {20, 10}, {10, 10}}}, false},
        {"across a corner", {{{9, 9}, {19, 9}, {19, 19}, {9, 19}}}, true},
        {"turned, clear of the corner", form::ringQuad({0, 0}, 315, 16.5, 10, 4), false},
        {"turned, over the corner", form::ringQuad({0, 0}, 315, 15, 10, 4), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(form::overlap(square, c.other), c.overlap);
        EXPECT_EQ(form::overlap(c.other, square), c.overlap);
    }
}

TEST(ChartLayout, PointsAreLabelledWithTheirDegreesInTheSignAndTheirKaraka) {
    const struct {
        form::ChartPoint point;
        const char* label;
        int nakshatra;
    } cases[] = {
        {{"Mo", "Moon", 27 * 3600 + 5 * 60, true}, "Mo 27°05′ AK", 2},
        {{"Ju", "Jupiter", 5 * 108000 + 8 * 3600 + 3 * 60, false, true}, "Ju 8°03′ AmK", 11},
        {{"La", "Lagna", 1295999}, "La 29°59′", 26},
        {{"AK", "AK", 48000, true}, "AK 13°20′", 1}, // a row, not marked twice
        {{"AmK", "AmK", 47999, false, true}, "AmK 13°19′", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(form::pointLabel(c.point), c.label);
        EXPECT_EQ(form::nakshatraOf(c.point.seconds), c.nakshatra) << c.label;
    }
}

TEST(ChartLayout, TheDescriptionGoesSignBySignAndHouseByHouse) {
    form::ChartPicture picture;
    picture.name = "Asha";
    picture.lagnaSign = kLeo;
    picture.points = {{"La", "Lagna", kLeo * 108000 + 12 * 3600}, {"Su", "Sun", 2 * 3600, true}};
    const std::string south = form::chartDescription(picture, form::ChartStyle::SouthIndian);
    EXPECT_NE(south.find("Lagna in Leo"), std::string::npos) << south;
    EXPECT_NE(south.find("Aries, house 9: Sun 2°00', Atmakaraka."), std::string::npos) << south;
    const std::string north = form::chartDescription(picture, form::ChartStyle::NorthIndian);
    EXPECT_NE(north.find("House 1, Leo: Lagna 12°00'. House 9, Aries: Sun"), std::string::npos) << north;

    picture.lagnaSign.reset();
    EXPECT_EQ(form::chartDescription(picture, form::ChartStyle::NorthIndian),
              "Asha. " + std::string(form::kNorthNeedsPlaceMessage));
}

} // namespace
