// Splitting a longitude into sign, degrees, minutes and seconds: always the one the body has reached.
#include "sky/Longitude.h"

#include <gtest/gtest.h>

#include <cmath>

using sky::SignPosition;

namespace {

struct Case {
    double longitude;
    SignPosition expected;
    int arcMinute;
};

const Case kCases[] = {
    {0.0, {0, 0, 0, 0}, 0},
    {32.123456, {1, 2, 7, 244}, 1927},
    {29.999999999, {0, 29, 59, 599}, 1799}, // floating noise short of Taurus stays in Aries
    {30.0, {1, 0, 0, 0}, 1800},
    {359.99999999, {11, 29, 59, 599}, 21599},
    {360.0, {0, 0, 0, 0}, 0},
    {-0.5, {11, 29, 30, 0}, 21570},
    {-1e-300, {11, 29, 59, 599}, 21599}, // a whisker below 0 is Pisces, not 360
    {725.5, {0, 5, 30, 0}, 330},
};

TEST(Longitude, SplitsTruncating) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.longitude);
        EXPECT_EQ(sky::splitLongitude(c.longitude), c.expected);
        EXPECT_EQ(sky::arcMinute(c.longitude), c.arcMinute);
    }
}

// The double just below each boundary multiplies out to the boundary itself in some cases; the split
// must still leave it in the tenth of a second, minute and sign it had not yet left.
TEST(Longitude, TheLargestValueBelowEveryBoundaryStaysBelowIt) {
    for (int minute = 1; minute <= 21600; ++minute) {
        const double below = std::nextafter(minute / 60.0, 0.0);
        ASSERT_EQ(sky::arcMinute(below), minute - 1) << minute;
        const SignPosition split = sky::splitLongitude(below);
        ASSERT_EQ(split.sign * 1800 + split.degrees * 60 + split.minutes, minute - 1) << minute;
        ASSERT_EQ(split.tenths, 599) << minute;
    }
}

} // namespace
