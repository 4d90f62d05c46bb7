// A longitude as the almanac reads it: the sign, then degrees, minutes and seconds within the sign.
//
// Every split truncates: a body is in the sign, degree, minute and tenth of a second it has reached,
// never the next one. 29.999999999 degrees stays Aries 29°59'59.9", and no longitude short of a full
// circle becomes minute 21600.
#pragma once

#include <cstdint>
#include <string>

namespace sky {

inline constexpr int kSecondsPerSign = 30 * 3600;

struct SignPosition {
    int sign = 0;    // 0 Aries .. 11 Pisces
    int degrees = 0; // 0..29
    int minutes = 0; // 0..59
    int tenths = 0;  // tenths of an arc-second, 0..599

    // Whole arc-seconds within the sign, 0..107999.
    constexpr int secondsInSign() const { return (degrees * 60 + minutes) * 60 + tenths / 10; }

    friend constexpr bool operator==(const SignPosition&, const SignPosition&) = default;
};

// The longitude brought into [0, 360); a value a rounding error short of 360 stays just below it.
double normalizedDegrees(double degrees);

// Ketu stands opposite Rahu.
inline double ketuLongitude(double rahu) {
    return normalizedDegrees(rahu + 180.0);
}

// How many whole steps of 1/stepsPerDegree degree the (normalised) longitude has reached: the exact
// floor, even where multiplying out would round up onto the next step.
std::int64_t stepsReached(double degrees, std::int64_t stepsPerDegree);

// The same count rounded up, exactly: the whole steps it takes to reach or pass the longitude.
std::int64_t stepsRoundedUp(double degrees, std::int64_t stepsPerDegree);

SignPosition splitLongitude(double degrees);

// The nakshatra a longitude stands in, 0 Ashwini .. 26 Revati, and its pada, 1..4.
struct NakshatraPada {
    int nakshatra = 0;
    int pada = 1;
};
NakshatraPada nakshatraAt(double degrees);
// The same in words: "Rohini, pada 2".
std::string nakshatraText(double degrees);

// The whole arc-minute reached, 0..21599, as the almanac's pair arithmetic takes it.
int arcMinute(double degrees);

} // namespace sky
