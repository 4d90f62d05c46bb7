#include "sky/Longitude.h"

#include "almanac/Names.h"
#include "almanac/Pair.h"

#include <algorithm>
#include <cmath>

namespace sky {

double normalizedDegrees(double degrees) {
    double circle = std::fmod(degrees, 360.0);
    if (circle < 0)
        circle += 360.0;
    // A tiny negative value plus 360 rounds to exactly 360: keep it in Pisces, where it was.
    return circle < 360.0 ? circle : std::nextafter(360.0, 0.0);
}

std::int64_t stepsReached(double degrees, std::int64_t stepsPerDegree) {
    const double x = normalizedDegrees(degrees);
    const double scale = static_cast<double>(stepsPerDegree);
    double steps = std::floor(x * scale);
    // The product is rounded, and may have rounded up onto a whole step the exact value falls short
    // of. fma computes x * scale - steps exactly before its single rounding, so its sign is the truth.
    if (std::fma(x, scale, -steps) < 0)
        steps -= 1;
    return static_cast<std::int64_t>(steps);
}

std::int64_t stepsRoundedUp(double degrees, std::int64_t stepsPerDegree) {
    const double x = normalizedDegrees(degrees);
    const std::int64_t reached = stepsReached(x, stepsPerDegree);
    return std::fma(x, static_cast<double>(stepsPerDegree), -static_cast<double>(reached)) > 0 ? reached + 1
                                                                                               : reached;
}

SignPosition splitLongitude(double degrees) {
    constexpr std::int64_t kTenthsPerDegree = 36'000;
    const std::int64_t tenths = stepsReached(degrees, kTenthsPerDegree);
    const auto inSign = static_cast<int>(tenths % (30 * kTenthsPerDegree));
    return {static_cast<int>(tenths / (30 * kTenthsPerDegree)), inSign / 36'000, inSign / 600 % 60,
            inSign % 600};
}

NakshatraPada nakshatraAt(double degrees) {
    // In whole arc-seconds reached: a nakshatra is 13°20' (48,000"), a pada a quarter of it.
    constexpr std::int64_t kNakshatra = 48'000;
    const std::int64_t seconds = stepsReached(degrees, 3600);
    const auto nakshatra = static_cast<int>(std::min<std::int64_t>(seconds / kNakshatra, 26));
    const auto pada =
        static_cast<int>(std::min<std::int64_t>((seconds - nakshatra * kNakshatra) / (kNakshatra / 4), 3));
    return {nakshatra, pada + 1};
}

std::string nakshatraText(double degrees) {
    const NakshatraPada at = nakshatraAt(degrees);
    return std::string(almanac::kNakshatraNames[static_cast<std::size_t>(at.nakshatra)]) + ", pada " +
           std::to_string(at.pada);
}

int arcMinute(double degrees) {
    return static_cast<int>(stepsReached(degrees, almanac::kMinutesPerDegree));
}

} // namespace sky
