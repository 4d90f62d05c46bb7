#include "form/Wheel.h"

#include "almanac/Entries.h"
#include "almanac/Names.h"
#include "almanac/Pair.h"

#include <cstdio>

namespace form {

WheelPicture wheelPicture(const std::array<int, kBodyRows>& longitudes) {
    WheelPicture picture;
    constexpr const char* kLabels[] = {"Su", "Mo", "AK", "AmK"};
    for (std::size_t row = 0; row < longitudes.size(); ++row)
        picture.bodies[row] = {kLabels[row], longitudes[row]};
    for (const int pair : {kExternal, kInternal}) {
        const auto p = static_cast<std::size_t>(pair);
        const almanac::PairResult result = almanac::computePair(longitudes[2 * p], longitudes[2 * p + 1]);
        picture.arcs[p] = {longitudes[2 * p], result.elongation};
        picture.yogaPoints[p] = result.positionSum;
    }
    return picture;
}

std::string writtenSignPosition(int minutes) {
    const int sign = minutes / (almanac::kDegreesPerSign * almanac::kMinutesPerDegree);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d°%02d′",
                  std::string(almanac::kSignNames[static_cast<std::size_t>(sign)]).c_str(),
                  minutes / almanac::kMinutesPerDegree % almanac::kDegreesPerSign,
                  minutes % almanac::kMinutesPerDegree);
    return text;
}

std::string arcLength(int minutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%d°%02d'", minutes / almanac::kMinutesPerDegree,
                  minutes % almanac::kMinutesPerDegree);
    return text;
}

namespace {

// "Capricorn 27°05'": a position in the words a screen reader reads, the sign spelt in full.
std::string describedPosition(int minutes) {
    const int sign = minutes / (almanac::kDegreesPerSign * almanac::kMinutesPerDegree);
    return std::string(almanac::kSignNames[static_cast<std::size_t>(sign)]) + " " +
           arcLength(minutes % (almanac::kDegreesPerSign * almanac::kMinutesPerDegree));
}

} // namespace

std::string wheelDescription(const WheelPicture& picture) {
    constexpr const char* kBodies[] = {"Sun", "Moon", "AK", "AmK"};
    std::string text = "The sidereal zodiac from 0° Aries, counter-clockwise. ";
    for (std::size_t row = 0; row < picture.bodies.size(); ++row)
        text += std::string(kBodies[row]) + " at " + describedPosition(picture.bodies[row].minutes) +
                (row + 1 < picture.bodies.size() ? ", " : ". ");
    return text + wheelArcsDescription(picture);
}

std::string wheelArcsDescription(const WheelPicture& picture) {
    std::string text;
    constexpr const char* kArcs[] = {"The Sun to Moon arc (solid)", "The AK to AmK arc (dashed)"};
    constexpr const char* kYoga[] = {"outer", "inner"};
    for (std::size_t pair = 0; pair < 2; ++pair)
        text += std::string(kArcs[pair]) + " is " + arcLength(picture.arcs[pair].sweep) + ". ";
    text += "Yoga points: " + std::string(kYoga[0]) + " at " + describedPosition(picture.yogaPoints[0]) +
            ", " + kYoga[1] + " at " + describedPosition(picture.yogaPoints[1]) + ".";
    return text;
}

} // namespace form
