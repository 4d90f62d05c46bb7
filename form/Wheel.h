// The chart wheel as the window and the printed page draw it: the four bodies, the elongation of each
// pair as an arc from its first body to its second in the direction of the signs, and each pair's yoga
// point (the sum of its two longitudes). Longitudes are minutes of arc, 0..21599.
#pragma once

#include "form/Controls.h"

#include <array>
#include <string>

namespace form {

// Degrees counter-clockwise from the right-hand horizontal where a longitude stands: 0° Aries at the
// left, the signs following counter-clockwise.
constexpr double wheelAngle(int minutes) {
    const double angle = 180.0 + minutes / 60.0;
    return angle >= 360.0 ? angle - 360.0 : angle;
}

struct WheelMark {
    std::string label; // "Su", "Mo", "AK", "AmK"
    int minutes = 0;
};

// Counter-clockwise from `from` through `sweep` minutes; a sweep of 0 is no arc at all.
struct WheelArc {
    int from = 0;
    int sweep = 0;
};

struct WheelPicture {
    std::array<WheelMark, kBodyRows> bodies;
    std::array<WheelArc, 2> arcs;    // kExternal, kInternal
    std::array<int, 2> yogaPoints{}; // kExternal, kInternal
};

// From the four body rows' longitudes: Sun, Moon, AK, AmK.
WheelPicture wheelPicture(const std::array<int, kBodyRows>& longitudes);

// The picture in words, for a screen reader and for the printed page.
std::string wheelDescription(const WheelPicture& picture);
// Its arcs and yoga points in words: "The Sun to Moon arc (solid) is 54°30'. ... Yoga points: ...".
std::string wheelArcsDescription(const WheelPicture& picture);

// "Capricorn 27°05′": the sign as a person writes it, for the printed page.
std::string writtenSignPosition(int minutes);
// "54°30'".
std::string arcLength(int minutes);

} // namespace form
