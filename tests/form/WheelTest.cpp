// The chart wheel's geometry and its description in words.
#include "form/Wheel.h"

#include <gtest/gtest.h>

namespace {

TEST(Wheel, LongitudesStandCounterClockwiseFromAriesAtTheLeft) {
    EXPECT_DOUBLE_EQ(form::wheelAngle(0), 180.0);                 // 0° Aries
    EXPECT_DOUBLE_EQ(form::wheelAngle(5400), 270.0);              // 0° Cancer, at the foot
    EXPECT_DOUBLE_EQ(form::wheelAngle(10800), 0.0);               // 0° Libra, at the right
    EXPECT_NEAR(form::wheelAngle(21599), 180.0 - 1 / 60.0, 1e-9); // Pisces 29°59', just short of Aries
}

TEST(Wheel, ArcsRunFromTheFirstBodyToTheSecondInTheDirectionOfTheSigns) {
    const struct {
        const char* what;
        std::array<int, form::kBodyRows> longitudes;
        form::WheelArc outer, inner;
        std::array<int, 2> yoga;
    } cases[] = {
        {"across 0° Aries", {21000, 600, 600, 21000}, {21000, 1200}, {600, 20400}, {0, 0}},
        {"both arcs zero", {3270, 3270, 0, 0}, {3270, 0}, {0, 0}, {6540, 0}},
        {"both arcs full", {1, 0, 21599, 21598}, {1, 21599}, {21599, 21599}, {1, 21597}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const form::WheelPicture picture = form::wheelPicture(c.longitudes);
        EXPECT_EQ(picture.arcs[form::kExternal].from, c.outer.from);
        EXPECT_EQ(picture.arcs[form::kExternal].sweep, c.outer.sweep);
        EXPECT_EQ(picture.arcs[form::kInternal].from, c.inner.from);
        EXPECT_EQ(picture.arcs[form::kInternal].sweep, c.inner.sweep);
        EXPECT_EQ(picture.yogaPoints, c.yoga);
    }
}

TEST(Wheel, DescribesEachBodyAndArcInWords) {
    EXPECT_EQ(
        form::wheelDescription(form::wheelPicture({0, 3270, 21599, 0})),
        "The sidereal zodiac from 0° Aries, counter-clockwise. Sun at Aries 0°00', Moon at Taurus 24°30', "
        "AK at Pisces 29°59', AmK at Aries 0°00'. The Sun to Moon arc (solid) is 54°30'. The AK to AmK arc "
        "(dashed) is 0°01'. Yoga points: outer at Taurus 24°30', inner at Pisces 29°59'.");
}

} // namespace
